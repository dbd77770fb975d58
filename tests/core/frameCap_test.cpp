// The frame cap on a scripted clock: frames drawn faster than the rate wait for it, slower ones
// are never held up, and a stall does not make the frames after it rush.
#include <gtest/gtest.h>

#include <cstdio>

#include "core/frameCap.h"
#include "core/platform.h"

namespace {

const int64_t countsPerSecond = 1000000000;

struct CapCase {
    const char* name;
    double rate;          // the cap, frames a second
    double frameCosts[3];  // seconds each frame takes to draw, in turn
    double expectedFps;    // over the run
};

}  // namespace

TEST(FrameCapTest, HoldsFramesToTheRateAndNeverBelowWhatTheyCost) {
    const CapCase cases[] = {
        {"fast frames wait for 60", 60, {0.002, 0.002, 0.002}, 60},
        {"uneven fast frames", 60, {0.001, 0.012, 0.006}, 60},
        {"a refresh of 75", 75, {0.004, 0.004, 0.004}, 75},
        {"frames slower than the cap", 60, {0.025, 0.025, 0.025}, 40},
        {"one slow frame in three is made up", 60, {0.020, 0.010, 0.010}, 60},
    };
    const int frames = 600;
    for (const CapCase& c : cases) {
        ScriptedPlatform clock;
        clock.frequency = countsPerSecond;
        FrameCap cap;
        cap.setRate(c.rate, countsPerSecond);
        int64_t start = clock.counter;
        int64_t shortest = countsPerSecond;
        int64_t last = start;
        for (int i = 0; i < frames; i++) {
            clock.counter += (int64_t)(c.frameCosts[i % 3] * countsPerSecond);
            cap.wait(clock);
            if (i > 0 && clock.counter - last < shortest) shortest = clock.counter - last;
            last = clock.counter;
        }
        double fps = frames / ((double)(clock.counter - start) / countsPerSecond);
        printf("%-36s %.2f fps, shortest frame %.2f ms, %d sleeps\n", c.name, fps, shortest / 1e6, clock.sleepCalls);
        EXPECT_NEAR(fps, c.expectedFps, 0.2) << c.name;
        // Making up a late frame never runs two frames in much less than one frame's cost.
        EXPECT_GE(shortest, (int64_t)(0.001 * countsPerSecond)) << c.name;
    }
}

TEST(FrameCapTest, AStallStartsTheScheduleAfresh) {
    ScriptedPlatform clock;
    FrameCap cap;
    cap.setRate(60, clock.frequency);
    for (int i = 0; i < 10; i++) {
        clock.counter += clock.frequency / 500;
        cap.wait(clock);
    }
    // Half a second in one frame (a window dragged, a disk stalled): the next frames still take
    // a whole period each, not zero while the schedule catches up.
    clock.counter += clock.frequency / 2;
    cap.wait(clock);
    int64_t before = clock.counter;
    for (int i = 0; i < 30; i++) {
        clock.counter += clock.frequency / 500;
        cap.wait(clock);
    }
    double seconds = (double)(clock.counter - before) / clock.frequency;
    printf("30 frames after the stall took %.3f s\n", seconds);
    EXPECT_NEAR(seconds, 0.5, 0.001);
}
