// The menu's two-player race: both players' throttle keys held through the countdown launch
// both trucks at the green light, each player's own truck only, and the title afterwards is
// the classic one player's again.
#include <gtest/gtest.h>

#include <cmath>

#include "front/frontScreens.h"
#include "tests/race/raceFixture.h"

class TwoPlayerRaceTest : public LoadedGameTest {
protected:
    void frame() {
        platformScript.counter += 16667;
        runGameFrame(*game, nullptr, false, &front);
    }
    float moved(int truck, float x, float y) const {
        return std::hypot(game->trucks[truck].getX() - x, game->trucks[truck].getY() - y);
    }
    FrontScreens front;
};

TEST_F(TwoPlayerRaceTest, KeysHeldThroughTheCountdownLaunchEachPlayersOwnTruck) {
    if (HasFatalFailure() || IsSkipped()) return;
    struct Case {
        int held[2];
        bool oneMoves, twoMoves;
    } cases[] = {{{VK_UP, VK_PLAYER2_UP}, true, true}, {{VK_UP, 0}, true, false}, {{VK_PLAYER2_UP, 0}, false, true}};
    const float movedAtLeast = 50.0f;  // units in 2 s at full throttle from a standstill
    for (const Case& c : cases) {
        front.startQuickRace(*game, 2);
        ASSERT_EQ(game->humans(), 2);
        float x0 = game->trucks[0].getX(), y0 = game->trucks[0].getY();
        float x1 = game->trucks[1].getX(), y1 = game->trucks[1].getY();
        for (int key : c.held)
            if (key) keys.keyDown(key);
        // The lights (about 3 s), then 2 s of racing.
        for (int f = 0; f < 60 * 5; f++) frame();
        for (int key : c.held)
            if (key) keys.keyUp(key);
        float d0 = moved(0, x0, y0), d1 = moved(1, x1, y1);
        printf("held %d and %d through the countdown: player one moved %.0f, player two %.0f units\n", c.held[0],
               c.held[1], d0, d1);
        EXPECT_EQ(d0 > movedAtLeast, c.oneMoves);
        EXPECT_EQ(d1 > movedAtLeast, c.twoMoves);
        front.quick.stop(*game);
        EXPECT_EQ(game->humans(), 1) << "the title's race is one player's";
    }
}
