#pragma once
// Requests from outside to stop a run: SIGINT and SIGTERM are caught and only noted, so that the
// runner ends after the frame it is in, with its trace whole and flushed.

// Installs the handlers; a signal the runner was started ignoring stays ignored. A file size
// limit is made an ordinary write error (checked and reported) rather than a kill.
void catchStopSignals();
// The signal that asked the run to stop, or 0.
int stopSignal();
