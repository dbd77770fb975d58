#pragma once
// SIGINT and SIGTERM while a modal box blocks the program before SDL catches them itself (the
// full-screen question): they end the program as quitting the running game does, with code 0,
// instead of killing it by the signal.
#include <csignal>

class QuitOnSignal {
public:
    // Catches either signal only while its handling is the default, so that SDL's handler and a
    // signal the program was started ignoring stay as they are.
    QuitOnSignal();
    // Puts back what was there before.
    ~QuitOnSignal();

private:
    struct sigaction savedInterrupt, savedTerminate;
    bool caughtInterrupt, caughtTerminate;
};
