#include "tools/runner/stopSignals.h"

#include <csignal>

static volatile sig_atomic_t caughtSignal = 0;

static void noteSignal(int number) { caughtSignal = number; }

// Leaves a signal alone when the starting shell ignored it (a background job's SIGINT).
static void catchUnlessIgnored(int number) {
    struct sigaction previous;
    if (sigaction(number, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) return;
    struct sigaction action = {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    sigaction(number, &action, nullptr);
}

void catchStopSignals() {
    catchUnlessIgnored(SIGINT);
    catchUnlessIgnored(SIGTERM);
    signal(SIGXFSZ, SIG_IGN);
}

int stopSignal() { return caughtSignal; }
