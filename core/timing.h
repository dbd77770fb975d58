#pragma once
// Frame timing: one counter sample per frame, the game's time step, stopwatches that read that
// sample, the frame-rate counter and the race-time text.
#include <cstdint>

// Length of the current frame in game seconds; while the physics sub-steps run it holds the
// sub-step length instead.
extern double frameTime;
// Counter value sampled at the start of the current frame.
extern int64_t perfCounterNow;
// Counts per second of the counter; never 0 once the game exists.
extern int64_t perfFrequency;

// A start value of the frame counter. Reading it between two frames always gives the same time,
// so everything reset within one frame agrees for the rest of the run.
class Stopwatch {
public:
    Stopwatch() { reset(); }
    void reset() { start = perfCounterNow; }
    double elapsedSeconds() const { return (double)(perfCounterNow - start) / (double)perfFrequency; }
    int formatElapsed(char* buffer) const;

    int64_t start;
};

// Room for any text formatRaceTime writes.
const int raceTimeTextSize = 32;

int minutesOf(float seconds);
int secondsOf(float seconds);
int hundredthsOf(float seconds);
// Writes "mm:ss:hh" into buffer (at least raceTimeTextSize bytes); returns the length.
int formatRaceTime(float seconds, char* buffer);

// Counts frames and recomputes the rate every period seconds.
class FrameRateDisplay {
public:
    FrameRateDisplay();
    virtual ~FrameRateDisplay();
    void update(int64_t& counter, int64_t& frequency);
    // Prints "FPS: %d" at the top right of the screen.
    void draw();

    int64_t lastCounter;
    double period;
    int frames;
    double rate;
};
