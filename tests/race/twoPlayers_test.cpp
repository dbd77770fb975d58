// Two humans in one race: truck 1 goes to player two's keys and back to its computer driver,
// the two keyboard halves drive their own trucks only, and the race waits for both humans.
#include "raceFixture.h"

#include <cmath>

#include "race/secondPlayer.h"

namespace {

class TwoPlayersTest : public LoadedGameTest {
protected:
    void step(int64_t microseconds = 16667) {
        platformScript.counter += microseconds;
        game->update();
        keys.endFrame();
    }
    // From the grid, the race under way (Space held for one frame).
    void startRace() {
        game->resetRace();
        game->waitingForStart = true;
        keys.keyDown(VK_SPACE);
        step();
        keys.keyUp(VK_SPACE);
    }
    float moved(int truck, float x, float y) const {
        return std::hypot(game->trucks[truck].getX() - x, game->trucks[truck].getY() - y);
    }
};

TEST_F(TwoPlayersTest, TruckOneChangesDriversWithTheHumansHandedIn) {
    struct Case {
        int rivals, humans;
        bool accepted;
        int humansAfter;
        bool secondIsHuman;
        const char* firstName;
    } cases[] = {
        {4, 2, true, 2, true, "Player 1"},    {4, 1, true, 1, false, "UserPlayer"},
        {4, 2, true, 2, true, "Player 1"},    {4, 0, false, 2, true, "Player 1"},
        {4, 3, false, 2, true, "Player 1"},   {0, 2, false, 1, false, "UserPlayer"},
        {4, 1, true, 1, false, "UserPlayer"},
    };
    for (const Case& c : cases) {
        game->setRivals(c.rivals);
        bool accepted = game->setHumans(c.humans);
        bool secondHuman = dynamic_cast<PlayerSecondUser*>(game->players[1]) != nullptr;
        printf("rivals %d, humans %d: accepted %d, now %d humans, truck 1 human %d, player one \"%s\"\n", c.rivals,
               c.humans, accepted, game->humans(), secondHuman, game->players[0]->getName());
        EXPECT_EQ(accepted, c.accepted);
        EXPECT_EQ(game->humans(), c.humansAfter);
        EXPECT_EQ(secondHuman, c.secondIsHuman);
        EXPECT_STREQ(game->players[0]->getName(), c.firstName);
        if (!c.secondIsHuman) {
            EXPECT_NE(dynamic_cast<PlayerAI*>(game->players[1]), nullptr);
        }
        EXPECT_EQ(game->players[1]->truck, &game->trucks[1]);
    }
}

// Each row holds keys of both halves at once, for a few seconds from the grid: a truck moves
// only when its own human holds its own throttle key.
TEST_F(TwoPlayersTest, EachHalfOfTheKeyboardDrivesItsOwnTruck) {
    ASSERT_TRUE(game->setHumans(2));
    // Player two's codes, which the keys W A D become as the loop hands them on.
    const int W = VK_PLAYER2_UP, A = VK_PLAYER2_LEFT, D = VK_PLAYER2_RIGHT;
    struct Case {
        int keysHeld[4];
        bool truck0Moves, truck1Moves;
    } cases[] = {
        {{VK_UP, W, 0, 0}, true, true},
        {{VK_UP, VK_LEFT, 0, 0}, true, false},
        {{W, A, 0, 0}, false, true},
        {{VK_UP, VK_RIGHT, W, D}, true, true},
        {{VK_LEFT, A, D, VK_RIGHT}, false, false},
        {{'W', 'A', 'S', 'D'}, false, false},  // the letters themselves drive nobody
    };
    const float movedAtLeast = 50.0f;  // units in 3 s at full throttle from a standstill
    for (const Case& c : cases) {
        startRace();
        float x0 = game->trucks[0].getX(), y0 = game->trucks[0].getY();
        float x1 = game->trucks[1].getX(), y1 = game->trucks[1].getY();
        for (int key : c.keysHeld)
            if (key) keys.keyDown(key);
        for (int f = 0; f < 60 * 3; f++) step();
        for (int key : c.keysHeld)
            if (key) keys.keyUp(key);
        float d0 = moved(0, x0, y0), d1 = moved(1, x1, y1);
        printf("keys %d %d %d %d: truck 0 moved %.0f, truck 1 moved %.0f units (moving means over %.0f)\n",
               c.keysHeld[0], c.keysHeld[1], c.keysHeld[2], c.keysHeld[3], d0, d1, movedAtLeast);
        EXPECT_EQ(d0 > movedAtLeast, c.truck0Moves);
        EXPECT_EQ(d1 > movedAtLeast, c.truck1Moves);
    }
}

TEST_F(TwoPlayersTest, TheRaceEndsWhenBothHumansHaveFinished) {
    ASSERT_TRUE(game->setHumans(2));
    struct Case {
        int laps0, laps1;
        bool over;
    } cases[] = {{1, 0, false}, {0, 1, false}, {1, 1, true}};
    for (const Case& c : cases) {
        game->setLaps(1);
        game->trucks[0].lapCount = c.laps0;
        game->trucks[1].lapCount = c.laps1;
        printf("laps done %d and %d of 1: humans finished %d\n", c.laps0, c.laps1, game->humansFinished());
        EXPECT_EQ(game->humansFinished(), c.over);
    }
}

}  // namespace

namespace {
// A two-player frame drawn: each view's camera on its own truck (player two drove off, player one
// stayed on the grid), the picture split by a black seam, and the classic single picture back
// once the race is over.
// Each view zooms on its own player's keys only; A, player two's left, zooms neither.
TEST_F(TwoPlayersTest, EachViewZoomsOnItsOwnKeys) {
    ASSERT_TRUE(game->setHumans(2));
    struct Case {
        int key;
        int oneChange, twoChange;  // the sign of each view's zoom change
    } cases[] = {{VK_PRIOR, 1, 0}, {VK_NEXT, -1, 0}, {'Q', 0, 1}, {'Z', 0, -1}, {'A', 0, 0}};
    for (const Case& c : cases) {
        game->views[0].camera.zoom = game->views[1].camera.zoom = 0.5f;
        keys.keyDown(c.key);
        for (int f = 0; f < 30; f++) step();
        keys.keyUp(c.key);
        float one = game->views[0].camera.zoom - 0.5f, two = game->views[1].camera.zoom - 0.5f;
        printf("key %d held half a second: player one's zoom %+.3f, player two's %+.3f\n", c.key, one, two);
        EXPECT_EQ((one > 0) - (one < 0), c.oneChange);
        EXPECT_EQ((two > 0) - (two < 0), c.twoChange);
    }
}

// A missed checkpoint is cued to the player who missed it, in their own view only.
TEST_F(TwoPlayersTest, AMissedCheckpointIsCuedToItsOwnPlayer) {
    for (int who : {0, 1}) {
        ASSERT_TRUE(game->setHumans(2));
        startRace();
        Truck& t = game->trucks[who];
        const Track& track = *t.track;
        // Checkpoints 1 and 2, then the line with 3 still to take.
        for (int k : {1, 2, 0}) {
            t.setPosition((float)(track.checkpoints[k].x * tileSizeUnits + tileSizeUnits / 2),
                          (float)(track.checkpoints[k].y * tileSizeUnits + tileSizeUnits / 2));
            t.body.stop();
            step();
        }
        int mine = who == 0 ? game->views[0].cue.checkpoint : game->views[1].cue.checkpoint;
        int other = who == 0 ? game->views[1].cue.checkpoint : game->views[0].cue.checkpoint;
        printf("player %d crossed the line early: their cue points to %d, the other's to %d\n", who + 1, mine, other);
        EXPECT_EQ(mine, 3);
        EXPECT_EQ(other, -1);
    }
}

TEST_F(TwoPlayersTest, EachViewFollowsItsOwnTruck) {
    ASSERT_TRUE(game->setHumans(2));
    startRace();
    keys.keyDown(VK_PLAYER2_UP);
    for (int f = 0; f < 60 * 2; f++) step();
    keys.keyUp(VK_PLAYER2_UP);
    game->draw();
    const Truck& one = game->trucks[0];
    const Truck& two = game->trucks[1];
    printf("player one's camera %.1f,%.1f on truck %.1f,%.1f; player two's %.1f,%.1f on %.1f,%.1f\n", game->views[0].camera.x,
           game->views[0].camera.y, one.getX(), one.getY(), game->views[1].camera.x, game->views[1].camera.y, two.getX(), two.getY());
    EXPECT_EQ(game->views[0].camera.x, one.getX());
    EXPECT_EQ(game->views[0].camera.y, one.getY());
    EXPECT_EQ(game->views[1].camera.x, two.getX());
    EXPECT_EQ(game->views[1].camera.y, two.getY());
    EXPECT_GT(std::hypot(two.getX() - one.getX(), two.getY() - one.getY()), 100.0f);
    // The seam: rows 239 and 240 of the 640x480 picture stay black across its width.
    for (int x : {5, 320, 634}) {
        Rgb seam = readPixel(x, 239), below = readPixel(x, 238);
        EXPECT_EQ(seam.r + seam.g + seam.b, 0) << x;
        EXPECT_GT(below.r + below.g + below.b, 0) << x;
    }
}
}  // namespace
