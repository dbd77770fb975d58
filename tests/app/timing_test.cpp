#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "core/platform.h"
#include "core/timing.h"
#include "globalsGuard.h"
#include "race/game.h"

// The frame step comes from the scripted counter through Game::updateTimer.
class TimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        script.echoToStderr = false;
        script.frequency = 1000000;
        script.counter = 5000000;
        setPlatform(&script);
        perfFrequency = script.frequency;
    }
    double frameOf(int64_t microseconds) {
        script.counter += microseconds;
        game.updateTimer();
        return frameTime;
    }

    GlobalsGuard globals;
    ScriptedPlatform script;
    Game game;
};

TEST_F(TimerTest, FrameStepIsNineTenthsOfRealTimeClampedToATenth) {
    game.updateTimer();
    printf("first frame (counter 5 s, last 0): %.6f\n", frameTime);
    EXPECT_DOUBLE_EQ(frameTime, 0.1);
    EXPECT_NEAR(frameOf(50000), 0.045, 1e-12);
    EXPECT_DOUBLE_EQ(frameOf(200000), 0.1);
    EXPECT_NEAR(frameOf(10000), 0.009, 1e-12);
    EXPECT_EQ(perfCounterNow, script.counter);
    EXPECT_EQ(game.lastCounter, script.counter);
}

TEST_F(TimerTest, CounterSteppingBackNeverRunsTheWorldBackwards) {
    game.updateTimer();
    EXPECT_EQ(frameOf(-30000), 0.0);
    EXPECT_NEAR(frameOf(20000), 0.018, 1e-12);
}

TEST_F(TimerTest, ConstructorKeepsTheFrequencyAboveZero) {
    perfFrequency = 0;
    Game another;
    EXPECT_EQ(perfFrequency, 1);
}

TEST_F(TimerTest, RateAtHundredFramesPerSecondChangesEveryHalfSecondAndReadsHundred) {
    game.updateTimer();
    EXPECT_LT(game.frameRate.rate, 1.0) << "the first update sees the whole counter as its interval";
    // A recomputation starts a new count: frames drops back to 0.
    int changes[4];
    int changeCount = 0;
    for (int f = 1; f <= 200 && changeCount < 4; f++) {
        frameOf(10000);
        if (game.frameRate.frames == 0) {
            changes[changeCount++] = f;
            printf("frame %d: rate %.9f\n", f, game.frameRate.rate);
            EXPECT_NEAR(game.frameRate.rate, 100.0, 1e-9);
        } else if (changeCount == 0) {
            EXPECT_LT(game.frameRate.rate, 1.0) << "frame " << f << ": no rate before the first half second";
        }
    }
    ASSERT_EQ(changeCount, 4);
    EXPECT_EQ(changes[0], 50);
    EXPECT_EQ(changes[1], 100);
    EXPECT_EQ(changes[2], 150);
    EXPECT_EQ(changes[3], 200);
}

TEST_F(TimerTest, StopwatchesResetInOneFrameAgreeForTheRestOfTheRun) {
    game.updateTimer();
    Stopwatch a;
    a.reset();
    // The real counter moves on inside the frame; the stopwatches read the frame's sample.
    script.counter += 12345;
    Stopwatch b;
    b.reset();
    EXPECT_EQ(a.start, b.start);
    EXPECT_EQ(a.elapsedSeconds(), 0.0);
    for (int i = 0; i < 7; i++) frameOf(33333);
    EXPECT_EQ(a.elapsedSeconds(), b.elapsedSeconds());
    EXPECT_NEAR(a.elapsedSeconds(), (12345 + 7 * 33333) / 1e6, 1e-12);
    char textA[raceTimeTextSize], textB[raceTimeTextSize];
    a.formatElapsed(textA);
    b.formatElapsed(textB);
    EXPECT_STREQ(textA, textB);
    EXPECT_STREQ(textA, "00:00:24");
}

TEST(RaceTimeText, MinutesSecondsAndTruncatedHundredths) {
    struct Case {
        float seconds;
        const char* text;
    } cases[] = {
        {0.0f, "00:00:00"},    {61.5f, "01:01:50"},  {75.456f, "01:15:45"},
        {59.999f, "00:59:99"}, {600.0f, "10:00:00"}, {6000.25f, "100:00:25"},
    };
    for (const Case& c : cases) {
        char text[raceTimeTextSize];
        int n = formatRaceTime(c.seconds, text);
        EXPECT_STREQ(text, c.text) << c.seconds;
        EXPECT_EQ(n, (int)strlen(c.text));
    }
    EXPECT_EQ(minutesOf(75.456f), 1);
    EXPECT_EQ(secondsOf(75.456f), 15);
    EXPECT_EQ(hundredthsOf(75.456f), 45);
}

TEST(RaceTimeText, HugeNegativeAndNonNumbersStaySafeAndShort) {
    const float inputs[] = {
        1e30f, std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(), std::nanf(""), -5.0f,
        3e9f};
    for (float t : inputs) {
        char text[raceTimeTextSize];
        memset(text, 'x', sizeof text);
        int n = formatRaceTime(t, text);
        printf("%g -> %s\n", t, text);
        EXPECT_GT(n, 0);
        EXPECT_LT(n, raceTimeTextSize);
        EXPECT_EQ(text[n], '\0');
        EXPECT_EQ(text[0] == '-', false) << "no negative fields";
    }
    char text[raceTimeTextSize];
    formatRaceTime(-5.0f, text);
    EXPECT_STREQ(text, "00:00:00");
}
