// What a race does past the finish line and while paused: finishers keep their places, finished
// computer trucks clear the road, and a paused race holds its clocks and its world.
#include "raceFixture.h"

#include <cmath>

namespace {

// Truck 2 finishes first and stops just past the line; truck 4 finishes later but rolls on to
// the next checkpoint, which outscores truck 2. Truck 0, still racing, scores above neither.
TEST(Ranking, FinishersKeepTheirFinishOrderAheadOfTheTrucksStillRacing) {
    Game game;
    setScore(game.trucks[0], 5, 8);
    setScore(game.trucks[2], game.lapsToRace, 0);
    game.updatePositions();
    setScore(game.trucks[4], game.lapsToRace, 0);
    game.updatePositions();
    setScore(game.trucks[4], game.lapsToRace, 1);
    setScore(game.trucks[0], 5, 9);
    game.updatePositions();
    const int expected[] = {2, 4, 0, 1, 3};
    for (int k = 0; k < Game::maxTrucks; k++) EXPECT_EQ(game.positionOrder[k], expected[k]) << "place " << k;
    EXPECT_EQ(game.trucks[2].getRacePosition(), 1);
    EXPECT_EQ(game.trucks[4].getRacePosition(), 2);
    EXPECT_EQ(game.trucks[0].getRacePosition(), 3) << "the HUD's position follows the same rule";
}

class FinishAndPauseTest : public LoadedGameTest {
protected:
    // One undrawn frame of the loop.
    void step(int64_t microseconds = 16667) {
        platformScript.counter += microseconds;
        game->update();
        keys.endFrame();
    }
    void press(int key) {
        keys.keyDown(key);
        step();
        keys.keyUp(key);
    }
};

// Truck 3 finishes on the grid, right in front of truck 1: the finished truck stays where it
// stopped, but out of the world, so truck 1 drives through it without a touch.
TEST_F(FinishAndPauseTest, AFinishedTruckLetsTheTrucksStillRacingThrough) {
    for (int course = 0; course < game->trackCount; course++) {
        game->currentTrack = course;
        game->resetRace();
        game->waitingForStart = true;
        game->trucks[3].lapCount = game->lapsToRace;
        press(VK_SPACE);
        ASSERT_TRUE(game->players[3]->isFinished());
        const float x = game->trucks[3].getX(), y = game->trucks[3].getY();
        int sameRow = 0;
        for (int f = 0; f < 60 * 3; f++) {
            step();
            const Truck& behind = game->trucks[1];
            if (std::fabs(behind.getY() - y) < 40.0f && std::fabs(behind.getX() - x) < 60.0f) sameRow++;
        }
        printf("course %d: truck 1 at x %.0f after 3 s, %d frames across the finished truck at x %.0f\n", course,
               game->trucks[1].getX(), sameRow, x);
        EXPECT_GT(sameRow, 0) << "truck 1 came through where truck 3 stands";
        EXPECT_GT(game->trucks[1].getX(), x + 300.0f) << "and went on past it";
        EXPECT_EQ(game->trucks[3].getX(), x) << "nothing pushed the finished truck";
        EXPECT_EQ(game->trucks[3].getY(), y);
        EXPECT_EQ(game->physics.movingCount, Game::maxTrucks - 1);
    }
    // A new race puts every truck back into the world.
    game->resetRace();
    EXPECT_EQ(game->physics.movingCount, Game::maxTrucks);
    EXPECT_FALSE(game->retired[3]);
}

TEST_F(FinishAndPauseTest, PauseHoldsTheRaceClockLapTimersAndWorldUntilPressedAgain) {
    press(VK_SPACE);
    for (int f = 0; f < 120; f++) step();
    press('P');
    ASSERT_TRUE(game->paused);
    double clock = game->raceClock.elapsedSeconds();
    float lap = game->trucks[3].getLapTime();
    float x = game->trucks[3].getX(), y = game->trucks[3].getY();
    for (int f = 0; f < 300; f++) step();
    game->draw();
    printf("after 5 s paused: race clock %.4f -> %.4f s\n", clock, game->raceClock.elapsedSeconds());
    EXPECT_EQ(game->raceClock.elapsedSeconds(), clock);
    EXPECT_EQ(game->trucks[3].getLapTime(), lap);
    EXPECT_EQ(game->trucks[3].getX(), x);
    EXPECT_EQ(game->trucks[3].getY(), y);

    press('P');
    EXPECT_FALSE(game->paused);
    for (int f = 0; f < 10; f++) step();
    EXPECT_NEAR(game->raceClock.elapsedSeconds(), clock + 11 * 0.016667, 1e-3) << "resumes where it stopped";
    EXPECT_NE(game->trucks[3].getX(), x);

    // Escape still quits from a paused race.
    press('P');
    press(VK_ESCAPE);
    WindowMessage msg;
    bool quit = false;
    while (platformScript.peekMessage(msg)) quit = quit || msg.message == WM_QUIT;
    EXPECT_TRUE(quit);
}

// The user's truck arrives on the line with checkpoint 3 still to take: the lap does not count,
// the text shows for two seconds of race time and the arrow stays until checkpoint 3 is taken.
// A lap run in order shows nothing.
TEST_F(FinishAndPauseTest, CrossingTheLineWithACheckpointMissedCuesTheUserUntilItIsTaken) {
    press(VK_SPACE);
    Truck& t = game->trucks[0];
    const Track& track = *t.track;
    auto centreOf = [&](int k, float& x, float& y) {
        x = (float)(track.checkpoints[k].x * tileSizeUnits + tileSizeUnits / 2);
        y = (float)(track.checkpoints[k].y * tileSizeUnits + tileSizeUnits / 2);
    };
    auto moveTo = [&](int k) {
        float x, y;
        centreOf(k, x, y);
        t.setPosition(x, y);
        t.body.stop();
        step();
    };
    moveTo(1);
    moveTo(2);
    moveTo(0);
    EXPECT_EQ(t.getLapCount(), 0);
    EXPECT_EQ(game->views[0].cue.checkpoint, 3);
    double shownUntil = game->views[0].cue.until;
    EXPECT_NEAR(shownUntil - game->raceClock.elapsedSeconds(), 2.0, 1e-9);
    moveTo(3);
    EXPECT_EQ(game->views[0].cue.checkpoint, -1) << "the arrow goes once the missed checkpoint is taken";

    for (int k = 4; k < track.checkpointCount(); k++) moveTo(k);
    moveTo(0);
    EXPECT_EQ(t.getLapCount(), 1);
    EXPECT_EQ(game->views[0].cue.checkpoint, -1);
    EXPECT_EQ(game->views[0].cue.until, shownUntil) << "a counted lap shows no text";
}

}  // namespace
