#include "core/frameCap.h"

#include "core/platform.h"

FrameCap::FrameCap() : period(0), due(0), started(false) {}

void FrameCap::setRate(double framesPerSecond, int64_t countsPerSecond) {
    period = framesPerSecond > 0.0 && countsPerSecond > 0 ? (int64_t)((double)countsPerSecond / framesPerSecond) : 0;
    started = false;
}

void FrameCap::wait(Platform& platform) {
    if (period <= 0) return;
    int64_t now = platform.queryPerformanceCounter();
    // A frame more than a whole period late starts the schedule afresh: catching up would run
    // the frames after a stall back to back.
    if (!started || now - due > period) {
        due = now;
        started = true;
    } else if (now < due) {
        platform.sleepUntil(due);
    }
    due += period;
}
