// Whatever a keyboard and a window manager throw at the loaded game, in every race state: it does
// not crash, the race goes on, and no key is left held once its release has come.
#include "tests/race/raceFixture.h"

#include <cmath>

#include "app/mainLoop.h"

class InputAbuseTest : public LoadedGameTest {
protected:
    void SetUp() override {
        LoadedGameTest::SetUp();
        windowActive = true;
    }
    // Hands every waiting message to the loop, then runs one 1/60 s frame.
    void pump(MainLoop& loop) {
        while (platformScript.pendingMessages() > 0 && !loop.done) loop.pass();
        platformScript.counter += 16667;
        loop.pass();
    }
    // Every code down and up between two frames, repeated and as menu keys, in batches the
    // queue holds; then every code held for two frames in groups of 32 and let go. Escape (held,
    // it quits) and Space (held, it starts the next race) only between frames.
    void everyKey(MainLoop& loop) {
        for (int code = 0; code < 256; code++) {
            platformScript.postMessage(WM_SYSKEYDOWN, code, 0);
            platformScript.postMessage(WM_KEYDOWN, code, 1);
            platformScript.postMessage(WM_KEYDOWN, code, 1 | (1ll << 30));
            platformScript.postMessage(WM_KEYUP, code, 0xC0000001ll);
            platformScript.postMessage(WM_SYSKEYUP, code, 0);
            // A code beyond one byte must not land on a real key.
            platformScript.postMessage(WM_KEYDOWN, ((uint64_t)1 << 32) | (uint64_t)code, 0);
            if (code % 64 == 63) pump(loop);
        }
        for (int first = 0; first < 256; first += 32) {
            for (int code = first; code < first + 32; code++)
                if (code != VK_ESCAPE && code != VK_SPACE) platformScript.postMessage(WM_KEYDOWN, code, 1);
            pump(loop);
            pump(loop);
            for (int code = first; code < first + 32; code++) platformScript.postMessage(WM_KEYUP, code, 0xC0000001ll);
            pump(loop);
            ASSERT_FALSE(loop.done) << "keys " << first << " to " << first + 31;
        }
    }
    void expectNothingHeld() {
        for (int code = 0; code < 256; code++) {
            EXPECT_EQ(keys.down[code], 0) << "key " << code << " stays held";
            EXPECT_EQ(keys.previous[code], 0) << "key " << code << " stays held";
        }
    }
};

TEST_F(InputAbuseTest, EveryKeyAndWindowMessageInEveryStateLeavesTheRaceRunning) {
    MainLoop loop(*game);
    pump(loop);

    ASSERT_TRUE(game->waitingForStart);
    everyKey(loop);
    if (HasFatalFailure()) return;
    EXPECT_TRUE(game->waitingForStart) << "only Space starts a race";
    expectNothingHeld();

    platformScript.postMessage(WM_KEYDOWN, VK_SPACE, 0);
    pump(loop);
    platformScript.postMessage(WM_KEYUP, VK_SPACE, 0);
    pump(loop);
    ASSERT_FALSE(game->waitingForStart);
    everyKey(loop);
    if (HasFatalFailure()) return;
    pump(loop);
    expectNothingHeld();
    // P is among the keys and pauses the race, as it should; the player resumes it.
    if (game->paused) {
        platformScript.postMessage(WM_KEYDOWN, 'P', 0);
        pump(loop);
        platformScript.postMessage(WM_KEYUP, 'P', 0);
        pump(loop);
    }
    EXPECT_FALSE(game->paused);

    // Messages no window procedure knows, with every kind of parameter.
    for (unsigned message :
         {0x0000u, 0x0001u, 0x0002u, 0x000Fu, 0x0014u, 0x0084u, 0x0113u, 0x0400u, 0xC000u, 0xFFFFu, 0xFFFFFFFFu}) {
        platformScript.postMessage(message, ~0ull, -1);
        platformScript.postMessage(message, 0, 0);
    }
    pump(loop);
    ASSERT_FALSE(loop.done);

    // Focus lost with Up held and regained: the desktop sends the release, the race goes on.
    platformScript.postMessage(WM_KEYDOWN, VK_UP, 0);
    pump(loop);
    platformScript.postMessage(WM_KEYUP, VK_UP, 0);
    platformScript.postMessage(WM_ACTIVATE, makeWParam(WA_INACTIVE, 0), 0);
    pump(loop);
    int framesBefore = loop.framesRun;
    platformScript.postMessage(WM_ACTIVATE, makeWParam(WA_ACTIVE, 0), 0);
    pump(loop);
    EXPECT_EQ(loop.framesRun, framesBefore + 1);

    // Minimised for 30 s and restored: no frame meanwhile, then the race runs on.
    platformScript.postMessage(WM_ACTIVATE, makeWParam(WA_INACTIVE, 1), 0);
    pump(loop);
    framesBefore = loop.framesRun;
    for (int i = 0; i < 1800; i++) pump(loop);
    EXPECT_EQ(loop.framesRun, framesBefore) << "frames ran while minimised";
    platformScript.postMessage(WM_SIZE, SIZE_MINIMIZED, 0);
    platformScript.postMessage(WM_ACTIVATE, makeWParam(WA_ACTIVE, 0), 0);
    platformScript.postMessage(WM_SIZE, SIZE_RESTORED, (480 << 16) | 640);
    pump(loop);
    double clockBefore = game->raceClock.elapsedSeconds();
    float xBefore = game->trucks[1].getX(), yBefore = game->trucks[1].getY();
    for (int i = 0; i < 120; i++) pump(loop);
    EXPECT_FALSE(game->waitingForStart);
    EXPECT_NEAR(game->raceClock.elapsedSeconds() - clockBefore, 2.0, 0.01);
    float moved = std::hypot(game->trucks[1].getX() - xBefore, game->trucks[1].getY() - yBefore);
    printf("a computer truck moved %.1f units in the 2 s after the restore\n", moved);
    EXPECT_GT(moved, 10.0f) << "the computer trucks drive on";
    expectNothingHeld();

    // The results: the race is over as the user's last lap ends it.
    game->raceOver = true;
    game->waitingForStart = true;
    everyKey(loop);
    if (HasFatalFailure()) return;
    pump(loop);
    expectNothingHeld();
    EXPECT_TRUE(game->raceOver) << "only Space leaves the results";
    platformScript.postMessage(WM_KEYDOWN, VK_SPACE, 0);
    pump(loop);
    EXPECT_FALSE(game->waitingForStart) << "Space still starts the next race";
    EXPECT_FALSE(loop.done);
}
