#pragma once
// SIGINT and SIGTERM while the full-screen question blocks the program: they end it as they end
// the running game, with code 0, instead of killing it by the signal or waiting for the answer.
#include <csignal>

class QuitOnSignal {
public:
    // Takes over both signals (from SDL too, whose handler only queues a quit that a blocked
    // program never reads); one the program was started ignoring stays ignored.
    QuitOnSignal();
    // Puts back what was there before.
    ~QuitOnSignal();

private:
    struct sigaction savedInterrupt, savedTerminate;
    bool caughtInterrupt, caughtTerminate;
};
