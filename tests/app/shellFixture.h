#pragma once
// A game and its main loop on a scripted platform and an offscreen GL context: messages are
// posted to the scripted queue and the loop is driven pass by pass.
#include "glTest.h"
#include "globalsGuard.h"

#include "core/input.h"
#include "app/mainLoop.h"
#include "core/platform.h"
#include "core/timing.h"
#include "race/game.h"

class ShellTest : public GLTest {
protected:
    ShellTest() : loop(game) {}

    void SetUp() override {
        GLTest::SetUp();
        platformScript.echoToStderr = false;
        setPlatform(&platformScript);
        keys = Keys();
        mouse = Mouse();
        windowActive = true;
        frameTime = 0.0;
        // Microsecond counts keep the frame lengths exact.
        platformScript.frequency = 1000000;
        platformScript.counter = 1000000;
        perfFrequency = platformScript.frequency;
        // As if a frame had just run: the next one is exactly as long as the test says.
        perfCounterNow = platformScript.counter;
        game.lastCounter = platformScript.counter;
        game.raceClock.reset();
    }

    // Posts a message and lets the loop handle it in one pass.
    void send(unsigned message, uint64_t wParam = 0, int64_t lParam = 0) {
        platformScript.postMessage(message, wParam, lParam);
        loop.pass();
    }
    // One pass with no message waiting: a frame of the given length, when the window is active.
    void frame(int64_t microseconds = 10000) {
        platformScript.counter += microseconds;
        loop.pass();
    }

    GlobalsGuard globals;
    ScriptedPlatform platformScript;
    Game game;
    MainLoop loop;
};
