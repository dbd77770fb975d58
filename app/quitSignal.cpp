#include "app/quitSignal.h"

#include <unistd.h>

// No window, texture or display mode exists yet that the system does not release at exit, and
// only _exit is safe here.
static void quitNow(int) { _exit(0); }

static bool catchUnlessIgnored(int number, struct sigaction& saved) {
    if (sigaction(number, nullptr, &saved) != 0 || saved.sa_handler == SIG_IGN) return false;
    struct sigaction action = {};
    action.sa_handler = quitNow;
    sigemptyset(&action.sa_mask);
    return sigaction(number, &action, nullptr) == 0;
}

QuitOnSignal::QuitOnSignal() {
    caughtInterrupt = catchUnlessIgnored(SIGINT, savedInterrupt);
    caughtTerminate = catchUnlessIgnored(SIGTERM, savedTerminate);
}

QuitOnSignal::~QuitOnSignal() {
    if (caughtInterrupt) sigaction(SIGINT, &savedInterrupt, nullptr);
    if (caughtTerminate) sigaction(SIGTERM, &savedTerminate, nullptr);
}
