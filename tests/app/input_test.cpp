// Keys and the mouse as the game sees them: messages between frames, polling inside them.
#include "shellFixture.h"

using InputTest = ShellTest;

TEST_F(InputTest, KeyHeldAcrossFramesIsPressedOnlyInItsFirstFrame) {
    send(WM_KEYDOWN, VK_UP);
    EXPECT_TRUE(keys.isDown(VK_UP));
    EXPECT_TRUE(keys.wasPressed(VK_UP));
    frame();
    for (int i = 0; i < 3; i++) {
        // Windows repeats the key-down while the key is held; it changes nothing.
        send(WM_KEYDOWN, VK_UP);
        EXPECT_TRUE(keys.isDown(VK_UP));
        EXPECT_FALSE(keys.wasPressed(VK_UP)) << "frame " << i;
        frame();
    }
    send(WM_KEYUP, VK_UP);
    EXPECT_FALSE(keys.isDown(VK_UP));
    frame();
    send(WM_KEYDOWN, VK_UP);
    EXPECT_TRUE(keys.wasPressed(VK_UP)) << "pressed again after a frame up";
}

TEST_F(InputTest, FTogglesTheFrameRateOncePerPressHoweverLongItIsHeld) {
    ASSERT_EQ(game.showFrameRate, 1.0f);
    send(WM_KEYDOWN, 'F');
    for (int i = 0; i < 6; i++) frame();
    EXPECT_EQ(game.showFrameRate, 0.0f);
    send(WM_KEYUP, 'F');
    frame();
    EXPECT_EQ(game.showFrameRate, 0.0f);
    send(WM_KEYDOWN, 'F');
    frame();
    EXPECT_EQ(game.showFrameRate, 1.0f);
}

TEST_F(InputTest, KeyPressedAndReleasedBetweenTwoFramesIsNeverSeen) {
    frame();
    send(WM_KEYDOWN, 'F');
    send(WM_KEYUP, 'F');
    send(WM_KEYDOWN, 'I');
    send(WM_KEYUP, 'I');
    frame();
    EXPECT_EQ(game.showFrameRate, 1.0f);
    EXPECT_EQ(game.showInfo, 0.0f);
    EXPECT_EQ(keys.previous['F'], 0);
}

TEST_F(InputTest, KeyCodesOutsideOneByteAreIgnoredNotWrapped) {
    send(WM_KEYDOWN, 256 + 'A');
    send(WM_KEYDOWN, (uint64_t)-1);
    send(WM_KEYDOWN, ((uint64_t)1 << 32) | VK_SPACE);
    for (int k = 0; k < 256; k++) ASSERT_EQ(keys.down[k], 0) << k;
    EXPECT_FALSE(keys.isDown(300));
    EXPECT_FALSE(keys.wasPressed(-1));
    frame();
    EXPECT_TRUE(game.waitingForStart) << "no Space reached the game";
}

TEST_F(InputTest, PointerYIsMeasuredUpwardFromTheBottomRow) {
    platformScript.cursorX = 10;
    platformScript.cursorY = 0;
    frame();
    EXPECT_EQ(mouse.x, 10);
    EXPECT_EQ(mouse.y, 479);
    platformScript.cursorY = 479;
    frame();
    EXPECT_EQ(mouse.y, 0);
}

TEST_F(InputTest, RightDragFiftyPixelsUpGivesDeltaMinusFiftyAndZoomsIn) {
    platformScript.cursorY = 300;
    frame();
    send(WM_RBUTTONDOWN);
    EXPECT_TRUE(mouse.rightDown);
    EXPECT_TRUE(mouse.rightPressed);
    platformScript.cursorY = 250;
    float zoomBefore = game.views[0].camera.zoom;
    frame();
    printf("deltaY %.1f, zoom %.4f -> %.4f\n", mouse.deltaY(), zoomBefore, game.views[0].camera.zoom);
    EXPECT_EQ(mouse.deltaY(), -50.0f);
    EXPECT_NEAR(game.views[0].camera.zoom, zoomBefore * 1.1f, 1e-6);
    EXPECT_FALSE(mouse.rightPressed) << "cleared by the frame's mouse update";
    send(WM_RBUTTONUP);
    EXPECT_FALSE(mouse.rightDown);
    EXPECT_TRUE(mouse.rightReleased);
    platformScript.cursorY = 400;
    frame();
    EXPECT_NEAR(game.views[0].camera.zoom, zoomBefore * 1.1f, 1e-6) << "no zoom without the button";
}

TEST_F(InputTest, ButtonsAndTheWheelSign) {
    send(WM_LBUTTONDOWN);
    send(WM_MBUTTONDOWN);
    EXPECT_TRUE(mouse.leftDown && mouse.leftPressed && mouse.middleDown && mouse.middlePressed);
    send(WM_LBUTTONUP);
    send(WM_MBUTTONUP);
    EXPECT_TRUE(!mouse.leftDown && mouse.leftReleased && !mouse.middleDown && mouse.middleReleased);
    send(WM_MOUSEWHEEL, makeWParam(0, (unsigned)(int16_t)120));
    EXPECT_EQ(mouse.wheel, 1);
    send(WM_MOUSEWHEEL, makeWParam(0, (unsigned)(int16_t)-240));
    EXPECT_EQ(mouse.wheel, -1);
    frame();
    EXPECT_EQ(mouse.wheel, 0);
    EXPECT_FALSE(mouse.leftReleased);
}
