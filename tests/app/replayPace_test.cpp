// A replay keeps the pace it was driven at over a whole race, on a scripted desktop clock whose
// sleeps wake late, whatever each played frame costs to draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "app/replayPlayback.h"
#include "core/platform.h"
#include "records/replay.h"

namespace {

const int64_t recordedPerSecond = 1000000;     // the recording's counter
const int64_t desktopPerSecond = 1000000000;  // the player's

// A desktop whose sleeps end late by a fixed amount, as a real timer's do.
class LateWaker : public ScriptedPlatform {
public:
    explicit LateWaker(double lateSeconds) : late((int64_t)(lateSeconds * desktopPerSecond)) {
        frequency = desktopPerSecond;
    }
    void sleepUntil(int64_t target) override {
        sleepCalls++;
        if (target > counter) counter = target + late;
    }
    int64_t late;
};

struct PaceCase {
    const char* name;
    double recordedFrames[4];  // seconds, in turn
    double drawCosts[3];       // seconds each played frame takes, in turn
    double lateWake;           // seconds every sleep overshoots
};

}  // namespace

TEST(ReplayPaceTest, AWholeRacePlaysInItsRecordedTimeWithinOneFrame) {
    const PaceCase cases[] = {
        {"60 Hz, cheap frames, 1 ms late wakes", {1 / 60.0, 1 / 60.0, 1 / 60.0, 1 / 60.0}, {0.002, 0.002, 0.002}, 0.001},
        {"vsync jitter", {0.016, 0.017, 0.0167, 0.0166}, {0.004, 0.012, 0.008}, 0.0011},
        {"144 Hz", {1 / 144.0, 1 / 144.0, 1 / 144.0, 1 / 144.0}, {0.001, 0.003, 0.002}, 0.0005},
        {"30 Hz, costly frames", {1 / 30.0, 1 / 30.0, 1 / 30.0, 1 / 30.0}, {0.030, 0.020, 0.031}, 0.002},
        {"a slow frame now and then", {0.016, 0.016, 0.050, 0.016}, {0.010, 0.014, 0.010}, 0.001},
    };
    const double raceSeconds = 76.75;
    for (const PaceCase& c : cases) {
        auto replay = std::make_unique<Replay>();
        uint8_t held[256] = {};
        replay->begin(0, recordedPerSecond, held);
        double recorded = 0;
        double longest = 0;
        for (int i = 0; recorded < raceSeconds; i++) {
            double step = c.recordedFrames[i % 4];
            // A few key messages, so frames hand over messages as a race's do.
            if (i % 97 == 0) {
                ASSERT_TRUE(replay->addMessage(WM_KEYDOWN, 0x26, 0));
            }
            ASSERT_TRUE(replay->addFrame((int64_t)(step * recordedPerSecond), TruckPose{}));
            if (i > 0) recorded += (double)(int64_t)(step * recordedPerSecond) / recordedPerSecond;
            longest = std::max(longest, step);
        }
        LateWaker desktop(c.lateWake);
        desktop.counter = 12345;
        ReplayPlatform player(desktop, *replay);
        // The loop's order: every waiting message, then a frame that reads the clock and draws.
        int64_t firstFrame = -1, lastFrame = 0;
        int frames = 0;
        while (!player.finished()) {
            WindowMessage m;
            while (player.peekMessage(m)) {
            }
            player.queryPerformanceCounter();
            lastFrame = desktop.counter;
            if (firstFrame < 0) firstFrame = lastFrame;
            desktop.counter += (int64_t)(c.drawCosts[frames % 3] * desktopPerSecond);
            frames++;
        }
        double played = (double)(lastFrame - firstFrame) / desktopPerSecond;
        printf("%-38s %d frames: recorded %.4f s, played %.4f s, off by %.2f ms (a frame is %.1f ms)\n", c.name,
               frames, recorded, played, (played - recorded) * 1000, longest * 1000);
        EXPECT_EQ(frames, replay->frameCount) << c.name;
        EXPECT_NEAR(played, recorded, longest) << c.name;
    }
}
