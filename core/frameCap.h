#pragma once
// Holds the loop to a frame rate when nothing else does: with no vsync to wait on, a frame that
// is drawn early sleeps until its time instead of starting the next one at once.
#include <cstdint>

class Platform;

// The rate when the display's own refresh cannot be read.
const double defaultFrameCapRate = 60.0;

class FrameCap {
public:
    FrameCap();
    // Frames a second; 0 or less lets frames run as fast as they come.
    void setRate(double framesPerSecond, int64_t countsPerSecond);
    bool active() const { return period > 0; }
    // Once a frame, after the swap: sleeps on the platform until the next frame is due. Frames
    // keep to a schedule, so the rate is exact on average, however late each sleep wakes.
    void wait(Platform& platform);

    int64_t period;  // counts per frame, 0 when off
    int64_t due;     // when the next frame may start
    bool started;
};
