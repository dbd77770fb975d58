// The race: ranking, set-up on the generated data, the race states and their keys, and the
// guards that keep a partly built game safe.
#include "raceFixture.h"

#include "track/courses.h"

namespace {

TEST(Ranking, HigherScoresLeadAndTiesKeepThePreviousOrder) {
    GlobalsGuard globals;
    Game game;
    setScore(game.trucks[0], 2, 5);
    setScore(game.trucks[1], 2, 7);
    setScore(game.trucks[2], 2, 3);
    game.updatePositions();
    const int expected[] = {1, 0, 2, 3, 4};
    for (int k = 0; k < Game::maxTrucks; k++) EXPECT_EQ(game.positionOrder[k], expected[k]) << "place " << k;
    EXPECT_EQ(game.trucks[1].getRacePosition(), 1);
    EXPECT_EQ(game.trucks[0].getRacePosition(), 2);
    EXPECT_EQ(game.trucks[2].getRacePosition(), 3);

    // All level: whatever order the last ranking left stands.
    for (Truck& t : game.trucks) setScore(t, 1, 0);
    const int previous[] = {4, 2, 0, 3, 1};
    for (int k = 0; k < Game::maxTrucks; k++) game.positionOrder[k] = previous[k];
    game.updatePositions();
    for (int k = 0; k < Game::maxTrucks; k++) EXPECT_EQ(game.positionOrder[k], previous[k]);
    EXPECT_EQ(game.trucks[4].getRacePosition(), 1);
    EXPECT_EQ(game.trucks[1].getRacePosition(), 5);

    // A finish-line crossing (checkpoint back to 0, one more lap) still outranks the last checkpoint.
    setScore(game.trucks[1], 2, 0);
    setScore(game.trucks[4], 1, 9);
    game.updatePositions();
    EXPECT_EQ(game.positionOrder[0], 1);
    EXPECT_EQ(game.positionOrder[1], 4);
}

TEST(UnloadedGame, RunsAndEndsWithoutPlayersOrTracks) {
    GlobalsGuard globals;
    ScriptedPlatform p;
    p.echoToStderr = false;
    setPlatform(&p);
    Game game;
    EXPECT_EQ(game.trackCount, 0);
    for (Player* pl : game.players) EXPECT_EQ(pl, nullptr);
    // Racing with no players and no built track: the sub-steps skip the missing players.
    game.waitingForStart = false;
    p.counter += 50000;
    game.update();
    // A results screen with no built track: Space must not move the race to an unbuilt one.
    game.raceOver = true;
    game.waitingForStart = true;
    keys = Keys();
    keys.keyDown(VK_SPACE);
    game.handleKeys();
    EXPECT_EQ(game.currentTrack, 0);
    EXPECT_FALSE(game.raceOver);
}

// The game moves the index only in buildTracks and on Space after the results, both keeping it on
// a track held.
TEST(UnloadedGameDeathTest, ATrackIndexPastTheArrayStopsADebugBuild) {
#ifdef NDEBUG
    GTEST_SKIP() << "assertions are compiled out of this build";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Game game;
    game.currentTrack = Game::maxTracks;
    EXPECT_DEATH(game.resetRace(), "assertion failed: .*currentTrack");
#endif
}

using RaceSetupTest = LoadedGameTest;

TEST_F(RaceSetupTest, LoadsTheGeneratedDataQuietly) {
    for (const std::string& text : platformScript.boxTexts) ADD_FAILURE() << "message box: " << text;
    EXPECT_EQ(game->trackCount, 2);
    EXPECT_EQ(game->currentTrack, 0);
    EXPECT_TRUE(game->waitingForStart);
    EXPECT_FALSE(game->raceOver);
    ASSERT_NE(dynamic_cast<PlayerUser*>(game->players[0]), nullptr);
    EXPECT_STREQ(game->players[0]->getName(), "UserPlayer");
    for (int i = 1; i < Game::maxTrucks; i++) {
        PlayerAI* ai = dynamic_cast<PlayerAI*>(game->players[i]);
        ASSERT_NE(ai, nullptr) << i;
        EXPECT_EQ(std::string(ai->getName()), "AIplayer" + std::to_string(i));
        EXPECT_EQ(ai->skill, i + 1);
        EXPECT_EQ(ai->truck, &game->trucks[i]);
        EXPECT_EQ(ai->track, &game->tracks[0]);
        EXPECT_EQ(ai->lapsToRace, 6);
    }
    for (int i = 0; i < Game::maxTrucks; i++) {
        ASSERT_NE(game->trucks[i].texture, nullptr) << i;
        EXPECT_TRUE(game->trucks[i].texture->loaded) << i;
    }
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
}

TEST_F(RaceSetupTest, GridAndWorldOrderOnBothTracks) {
    const float grid[Game::maxTrucks][2] = {{250, 1960}, {250, 1880}, {450, 1960}, {450, 1880}, {650, 1960}};
    for (int track = 0; track < 2; track++) {
        game->currentTrack = track;
        game->resetRace();
        for (int i = 0; i < Game::maxTrucks; i++) {
            EXPECT_EQ(game->trucks[i].getX(), grid[i][0]) << "track " << track << " truck " << i;
            EXPECT_EQ(game->trucks[i].getY(), grid[i][1]) << "track " << track << " truck " << i;
            EXPECT_EQ(game->trucks[i].track, &game->tracks[track]);
            EXPECT_EQ(game->players[i]->track, &game->tracks[track]);
            EXPECT_EQ(game->physics.movingObjects[i], &game->trucks[i].body) << "trucks first, in order";
        }
        EXPECT_EQ(game->physics.movingCount, Game::maxTrucks);
        EXPECT_EQ(game->physics.staticCount, game->tracks[track].wallCount);
        EXPECT_GT(game->tracks[track].wallCount, 0);
    }
}

TEST_F(RaceSetupTest, TitleSimulatesButNobodyDrivesAndTheUserShowsFirst) {
    keys.keyDown(VK_UP);
    for (int i = 0; i < 20; i++) frame(20000);
    for (int i = 0; i < Game::maxTrucks; i++) {
        EXPECT_EQ(game->trucks[i].getPower(), 0.0f) << i;
        EXPECT_EQ(game->trucks[i].getRacePosition(), i + 1) << "equal scores keep the order 0 to 4";
    }
    EXPECT_EQ(game->trucks[0].getX(), 250.0f);
}

TEST_F(RaceSetupTest, SpaceHeldStartsOneRaceAndUpHeldFromBeforeMovesNothing) {
    keys.keyDown(VK_UP);
    frame();
    keys.keyDown(VK_SPACE);
    frame();
    EXPECT_FALSE(game->waitingForStart);
    for (int i = 0; i < 30; i++) frame(20000);
    EXPECT_FALSE(game->waitingForStart);
    EXPECT_EQ(game->currentTrack, 0);
    EXPECT_NEAR(game->raceClock.elapsedSeconds(), 0.6, 1e-9) << "one start, not one per frame";
    printf("user truck after 0.6 s with Up held from before the start: speed %.3f, power %.3f\n",
           game->trucks[0].getSpeed(), game->trucks[0].getPower());
    EXPECT_EQ(game->trucks[0].getPower(), 0.0f);
    EXPECT_EQ(game->trucks[0].getX(), 250.0f);
    // The computer players drive off from the start.
    EXPECT_GT(game->trucks[4].getPower(), 0.0f);
    // A fresh press of Up works.
    keys.keyUp(VK_UP);
    frame();
    keys.keyDown(VK_UP);
    for (int i = 0; i < 10; i++) frame(20000);
    EXPECT_GT(game->trucks[0].getPower(), 0.0f);
}

TEST_F(RaceSetupTest, FinishShowsResultsOneFrameWithSpaceHeldThenTheNextTrack) {
    keys.keyDown(VK_SPACE);
    frame();
    ASSERT_FALSE(game->waitingForStart);
    for (int i = 0; i < 5; i++) frame(20000);
    // Truck 0 completes its last lap.
    game->trucks[0].lapCount = game->lapsToRace;
    frame(20000);
    EXPECT_TRUE(game->raceOver);
    EXPECT_TRUE(game->waitingForStart);
    EXPECT_TRUE(game->players[0]->isFinished());
    float finish = game->players[0]->getTime();
    EXPECT_NEAR(finish, 0.12f, 1e-6f) << "six 20 ms frames after the start";
    for (int i = 1; i < Game::maxTrucks; i++) EXPECT_FALSE(game->players[i]->isFinished());

    // Space still held: the very next frame starts the race on track 1, cleanly.
    frame(20000);
    EXPECT_FALSE(game->waitingForStart);
    EXPECT_FALSE(game->raceOver);
    EXPECT_EQ(game->currentTrack, 1);
    for (int i = 0; i < Game::maxTrucks; i++) {
        EXPECT_FALSE(game->players[i]->isFinished()) << i;
        EXPECT_EQ(game->trucks[i].getLapCount(), 0) << i;
        EXPECT_EQ(game->trucks[i].getLastCheckpoint(), 0) << i;
        EXPECT_EQ(game->trucks[i].nextCheckpoint, 1) << i;
        EXPECT_EQ(game->positionOrder[i], i);
    }
    EXPECT_LT(game->raceClock.elapsedSeconds(), 0.05);
    EXPECT_LT(game->trucks[0].getLapTime(), 0.05f);

    // After the race on track 1 the next one is on track 0.
    game->trucks[0].lapCount = game->lapsToRace;
    frame(20000);
    ASSERT_TRUE(game->raceOver);
    frame(20000);
    EXPECT_EQ(game->currentTrack, 0);
    EXPECT_FALSE(game->raceOver);
}

TEST_F(RaceSetupTest, ComputerPlayersRaceOnThroughTheResultsAndKeepTheirFinishTimes) {
    keys.keyDown(VK_SPACE);
    frame();
    keys.keyUp(VK_SPACE);
    frame(20000);
    game->trucks[3].lapCount = game->lapsToRace;  // truck 3 finishes first
    frame(20000);
    EXPECT_TRUE(game->players[3]->isFinished());
    float time3 = game->players[3]->getTime();
    EXPECT_FALSE(game->raceOver) << "only the user's truck ends the race";
    for (int i = 0; i < 10; i++) frame(20000);
    EXPECT_EQ(game->players[3]->getTime(), time3);
    game->trucks[0].lapCount = game->lapsToRace;
    frame(20000);
    ASSERT_TRUE(game->raceOver);
    float before = game->players[1]->getTime();
    for (int i = 0; i < 5; i++) frame(20000);
    EXPECT_GT(game->players[1]->getTime(), before) << "an unfinished player's time keeps running";
    EXPECT_TRUE(game->waitingForStart);
}

TEST_F(RaceSetupTest, PartlyBuiltGameStaysWithinItsArrays) {
    // Only one track built: from the results the next race stays on it.
    game->trackCount = 1;
    game->raceOver = true;
    game->waitingForStart = true;
    keys.keyDown(VK_SPACE);
    frame();
    EXPECT_EQ(game->currentTrack, 0);
    keys.keyUp(VK_SPACE);
    // A missing player is skipped by the race, the reset and the results.
    delete game->players[2];
    game->players[2] = nullptr;
    game->resetRace();
    for (int i = 0; i < 5; i++) frame(20000);
    game->trucks[0].lapCount = game->lapsToRace;
    frame(20000);
    ASSERT_TRUE(game->raceOver);
    // More players than the table has rows: only its five rows are drawn.
    game->playerCount = 9;
    for (int i = 0; i < 3; i++) frame(20000);
    EXPECT_TRUE(game->players[0]->isFinished());
}

}  // namespace
