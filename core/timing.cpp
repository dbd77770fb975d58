#include "core/timing.h"

#include <cstdio>

double frameTime = 0.0;
int64_t perfCounterNow = 0;
int64_t perfFrequency = 1;

// Race times never come near this; it keeps the float-to-int conversions below defined for any
// input, NaN and infinities included.
static const float maxShownSeconds = 5999999.0f;

static float clampShown(float t) {
    if (!(t > 0.0f)) return 0.0f;
    return t > maxShownSeconds ? maxShownSeconds : t;
}

int minutesOf(float t) {
    t = clampShown(t);
    return (int)((int)t / 60.0);
}

int secondsOf(float t) {
    t = clampShown(t);
    return (int)(t - 60 * (int)(t / 60));
}

int hundredthsOf(float t) {
    t = clampShown(t);
    return (int)((t - (int)t) * 100);
}

int formatRaceTime(float t, char* buffer) {
    return snprintf(buffer, raceTimeTextSize, "%02d:%02d:%02d", minutesOf(t), secondsOf(t), hundredthsOf(t));
}

int Stopwatch::formatElapsed(char* buffer) const { return formatRaceTime((float)elapsedSeconds(), buffer); }

FrameRateDisplay::FrameRateDisplay() : lastCounter(0), period(0.5), frames(0), rate(0.0) {}
FrameRateDisplay::~FrameRateDisplay() {}

void FrameRateDisplay::update(int64_t& counter, int64_t& frequency) {
    frames++;
    double elapsed = (double)(counter - lastCounter) / (double)frequency;
    if (elapsed >= period) {
        rate = frames / elapsed;
        frames = 0;
        lastCounter = counter;
    }
}
