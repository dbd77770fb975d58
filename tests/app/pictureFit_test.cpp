// The picture's place in drawables of every shape, and the pointer mapped back onto it.
#include <gtest/gtest.h>

#include "app/mainLoop.h"
#include "app/pictureFit.h"
#include "core/input.h"

static void expectFit(int drawableWidth, int drawableHeight, PictureFit want) {
    PictureFit got = fitPicture(drawableWidth, drawableHeight);
    printf("%dx%d: %dx%d at %d,%d\n", drawableWidth, drawableHeight, got.width, got.height, got.x, got.y);
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.width, want.width);
    EXPECT_EQ(got.height, want.height);
}

TEST(PictureFit, WholeScalesWhenOneFitsElseTheLargestFractionalFit) {
    expectFit(640, 480, {0, 0, 640, 480});
    expectFit(1280, 960, {0, 0, 1280, 960});
    // A 16:9 screen: doubled, centred between black bars on all four sides.
    expectFit(1920, 1080, {320, 60, 1280, 960});
    expectFit(3840, 2160, {640, 120, 2560, 1920});
    // Just short of 2x stays at 1x rather than blurring.
    expectFit(1279, 959, {319, 239, 640, 480});
    // Smaller than the picture: shrunk to fit the tighter side.
    expectFit(320, 400, {0, 80, 320, 240});
    expectFit(600, 240, {140, 0, 320, 240});
    // A degenerate drawable still gives a usable viewport.
    expectFit(0, 0, {0, 0, 1, 1});
}

TEST(PictureFit, PointerMapsBackToPicturePixels) {
    int x = 0, y = 0;
    // Unscaled, the window's pixels are the picture's.
    windowToPicture(fitPicture(640, 480), 640, 480, 640, 480, 17, 479, x, y);
    EXPECT_EQ(x, 17);
    EXPECT_EQ(y, 479);
    // Doubled between bars: the picture starts at (320, 60); each picture pixel is 2x2.
    PictureFit wide = fitPicture(1920, 1080);
    windowToPicture(wide, 1920, 1080, 1920, 1080, 320 + 2 * 100 + 1, 60 + 2 * 479 + 1, x, y);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 479);
    // Over the left bar the point lies left of the picture, never on its first column.
    windowToPicture(wide, 1920, 1080, 1920, 1080, 319, 60, x, y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, 0);
    // HiDPI: a 640x480 window with a 1280x960 drawable; window points are half-size pixels.
    windowToPicture(fitPicture(1280, 960), 640, 480, 1280, 960, 300, 200, x, y);
    EXPECT_EQ(x, 300);
    EXPECT_EQ(y, 200);
}

TEST(PictureFit, F11AndAltEnterToggleOncePerPress) {
    const int64_t repeated = (int64_t)1 << 30;
    EXPECT_TRUE(isFullScreenToggle(WM_KEYDOWN, VK_F1 + 10, 1));
    EXPECT_FALSE(isFullScreenToggle(WM_KEYDOWN, VK_F1 + 10, 1 | repeated));
    EXPECT_TRUE(isFullScreenToggle(WM_SYSKEYDOWN, VK_RETURN, 1));
    EXPECT_FALSE(isFullScreenToggle(WM_SYSKEYDOWN, VK_RETURN, 1 | repeated));
    // Enter without Alt and F11 as a release are the game's, untouched.
    EXPECT_FALSE(isFullScreenToggle(WM_KEYDOWN, VK_RETURN, 1));
    EXPECT_FALSE(isFullScreenToggle(WM_KEYUP, VK_F1 + 10, 1));
}
