// The Game's frame: the sub-step split and the game's own keys.
#include "shellFixture.h"

#include "graphics/text.h"

TEST(SubSteps, CountAndLengthFollowTheSinglePrecisionHundredth) {
    struct Case {
        double frame;
        int steps;
    } cases[] = {{0.1, 6}, {0.05, 6}, {0.0099, 1}, {0.01, 2}, {0.0105, 2}, {0.015, 2}, {0.0, 1}, {0.03, 4}};
    for (const Case& c : cases) {
        double t = c.frame;
        int n = Game::chooseSubSteps(t);
        printf("frame %.4f s: %d sub-steps of %.6f s\n", c.frame, n, t);
        EXPECT_EQ(n, c.steps) << c.frame;
        EXPECT_NEAR(t * n, c.frame, 1e-15) << c.frame;
    }
    double t = 0.015;
    Game::chooseSubSteps(t);
    EXPECT_DOUBLE_EQ(t, 0.0075);
    t = 0.01;
    Game::chooseSubSteps(t);
    EXPECT_DOUBLE_EQ(t, 0.005);
    t = 0.0105;
    Game::chooseSubSteps(t);
    EXPECT_DOUBLE_EQ(t, 0.00525);
    // The boundary itself, in single precision, is one step.
    t = (double)0.01f;
    EXPECT_EQ(Game::chooseSubSteps(t), 1);
}

using GameFrameTest = ShellTest;

TEST_F(GameFrameTest, UpdateLeavesTheFullFrameInFrameTime) {
    platformScript.counter += 100000;
    game.update();
    EXPECT_DOUBLE_EQ(frameTime, 0.09);
    platformScript.counter += 16667;
    game.update();
    EXPECT_NEAR(frameTime, 0.0150003, 1e-9);
}

TEST_F(GameFrameTest, EscapeAsksTheLoopToQuit) {
    keys.keyDown(VK_ESCAPE);
    game.handleKeys();
    WindowMessage msg;
    ASSERT_TRUE(platformScript.peekMessage(msg));
    EXPECT_EQ(msg.message, (unsigned)WM_QUIT);
    EXPECT_EQ(msg.wParam, 0u);
}

TEST_F(GameFrameTest, ZoomKeysActEveryFrameWithinTheCameraLimits) {
    send(WM_KEYDOWN, 'A');
    frame(100000);  // 0.09 s of game time: the zoom grows by 1.09 a frame
    EXPECT_NEAR(game.views[0].camera.zoom, 0.5f * 1.09f, 1e-6);
    for (int i = 0; i < 40; i++) frame(100000);
    EXPECT_EQ(game.views[0].camera.zoom, 3.0f);
    send(WM_KEYUP, 'A');
    send(WM_KEYDOWN, 'Z');
    for (int i = 0; i < 60; i++) frame(100000);
    EXPECT_EQ(game.views[0].camera.zoom, 0.2f);
}

TEST_F(GameFrameTest, InfoTogglesOnPressAndTEmptiesTheConsole) {
    send(WM_KEYDOWN, 'I');
    frame();
    frame();
    EXPECT_EQ(game.showInfo, 1.0f);
    consoleAppend("some text");
    ASSERT_GT(consoleLength(), 0);
    send(WM_KEYDOWN, 'T');
    frame();
    EXPECT_EQ(consoleLength(), 0);
}

TEST_F(GameFrameTest, SpaceStartsOneRaceAndRestartsTheClock) {
    frame(2000000);
    EXPECT_GT(game.raceClock.elapsedSeconds(), 1.9);
    send(WM_KEYDOWN, VK_SPACE);
    frame();
    EXPECT_FALSE(game.waitingForStart);
    EXPECT_EQ(game.raceClock.elapsedSeconds(), 0.0);
    frame(250000);
    frame(250000);
    // Held on, Space has no further effect while racing: the clock keeps running.
    EXPECT_DOUBLE_EQ(game.raceClock.elapsedSeconds(), 0.5);
}
