#pragma once
// A loaded game on the generated data: the offscreen GL context, a scripted platform and clock,
// and the build folder (which holds "images") as the working directory while a test runs.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

#include "glTest.h"
#include "globalsGuard.h"

#include "core/input.h"
#include "core/platform.h"
#include "core/timing.h"
#include "graphics/texture.h"
#include "race/game.h"
#include "race/gameFrame.h"
#include "race/player.h"

// True when the asset generator has drawn the data into the build folder.
inline bool generatedDataPresent() {
    FILE* f = fopen(TD_BINARY_DIR "/images/trucks/metaltruck.bmp", "rb");
    if (!f) return false;
    fclose(f);
    f = fopen(TD_BINARY_DIR "/images/text/impactVerdana16.dat", "rb");
    if (!f) return false;
    fclose(f);
    return true;
}

class LoadedGameTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        if (HasFatalFailure()) return;
        if (!generatedDataPresent()) GTEST_SKIP() << "no generated images in " TD_BINARY_DIR "/images";
        char cwd[PATH_MAX];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        savedDirectory = cwd;
        ASSERT_EQ(chdir(TD_BINARY_DIR), 0);
        platformScript.echoToStderr = false;
        platformScript.frequency = 1000000;
        platformScript.counter = 1000000;
        setPlatform(&platformScript);
        keys = Keys();
        mouse = Mouse();
        initTextures();
        game = new Game();
        game->load();
        // As if a frame had just run, so the next is exactly as long as the test says.
        perfCounterNow = platformScript.counter;
        game->lastCounter = platformScript.counter;
        game->raceClock.reset();
    }
    void TearDown() override {
        delete game;
        game = nullptr;
        if (!savedDirectory.empty()) {
            releaseTextures();
            EXPECT_EQ(chdir(savedDirectory.c_str()), 0);
        }
        GLTest::TearDown();
    }

    // One frame as the main loop runs it, nothing shown.
    void frame(int64_t microseconds = 10000) {
        platformScript.counter += microseconds;
        runGameFrame(*game, nullptr);
    }

    GlobalsGuard globals;
    ScriptedPlatform platformScript;
    Game* game = nullptr;
    std::string savedDirectory;
};

// Sets a truck's ranking score: laps + 0.01 x last checkpoint.
inline void setScore(Truck& t, int laps, int checkpoint) {
    t.lapCount = laps;
    t.lastCheckpoint = checkpoint;
}
