// The one frame the loop, the headless runner and these tests share: an undrawn frame moves the
// game and the input exactly as a drawn one, and only a drawn one paints and shows the picture.
#include "raceFixture.h"

namespace {

int swaps = 0;
void countSwap() { swaps++; }

using SharedFrameTest = LoadedGameTest;

TEST_F(SharedFrameTest, UndrawnFrameMovesGameAndInputButLeavesThePicture) {
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    swaps = 0;
    keys.keyDown(VK_SPACE);
    mouse.leftButtonDown();
    platformScript.counter += 10000;
    runGameFrame(*game, countSwap, false);
    EXPECT_FALSE(game->waitingForStart) << "Space started the race";
    EXPECT_FALSE(keys.wasPressed(VK_SPACE)) << "the keys rolled over";
    EXPECT_FALSE(mouse.leftPressed) << "the mouse edges were cleared";
    Rgb c = readPixel(320, 240);
    printf("undrawn frame: centre %d,%d,%d, %d swaps\n", c.r, c.g, c.b, swaps);
    EXPECT_TRUE(c.r == 0 && c.g == 0 && c.b == 255);
    EXPECT_EQ(swaps, 0);

    platformScript.counter += 10000;
    runGameFrame(*game, countSwap, true);
    c = readPixel(320, 240);
    printf("drawn frame: centre %d,%d,%d, %d swaps\n", c.r, c.g, c.b, swaps);
    EXPECT_FALSE(c.r == 0 && c.g == 0 && c.b == 255);
    EXPECT_EQ(swaps, 1);
}

}  // namespace
