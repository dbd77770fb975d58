// Time attack: medal targets from the studio time, split arithmetic at the checkpoints, and a
// whole race driven through the mode's screen against the studio run it repeats exactly.
#include <gtest/gtest.h>

#include <memory>

#include "front/recordProof.h"
#include "front/timeAttack.h"
#include "records/replay.h"
#include "tests/race/raceFixture.h"

TEST(Medals, TargetsFollowTheStudioTime) {
    struct Case {
        float studio, seconds;
        Medal medal;
    } cases[] = {
        {100, 90, goldMedal},       {100, 102, goldMedal},   {100, 102.01f, silverMedal}, {100, 108, silverMedal},
        {100, 108.1f, bronzeMedal}, {100, 115, bronzeMedal}, {100, 115.1f, noMedal},      {100, 0, noMedal},
        {0, 50, noMedal},  // a course with no studio run has no medals
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.seconds << " s against " << c.studio);
        EXPECT_EQ(medalFor(c.seconds, medalTargetsFor(c.studio)), c.medal);
    }
}

TEST(Splits, EachCheckpointOnceInOrderAgainstTheSameOneOfTheBest) {
    SplitTimes best, now;
    best.begin(0);
    now.begin(0);
    // The best took checkpoints 1..4 at these times.
    const float bestAt[] = {3.0f, 7.5f, 12.0f, 15.25f};
    for (int k = 0; k < 4; k++) EXPECT_TRUE(best.note(k + 1, bestAt[k]));
    struct Step {
        int progress;
        float at;
        bool noted;
        float delta;  // against the best at this checkpoint, when noted
    } steps[] = {
        {0, 1.0f, false, 0},      // still before the first checkpoint
        {1, 2.5f, true, -0.5f},   // ahead
        {1, 2.9f, false, 0},      // the same checkpoint again (a recover puts the truck back on it)
        {2, 8.0f, true, 0.5f},    // behind
        {3, 12.0f, true, 0.0f},   // level
        {4, 16.0f, true, 0.75f},  //
        {5, 20.0f, true, 0},      // past the best's last checkpoint: no split
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "progress " << s.progress);
        EXPECT_EQ(now.note(s.progress, s.at), s.noted);
        float delta = 99;
        bool has = splitDelta(now, best, now.count - 1, delta);
        if (s.noted && s.progress <= 4) {
            ASSERT_TRUE(has);
            EXPECT_FLOAT_EQ(delta, s.delta);
        }
        if (s.progress == 5) {
            EXPECT_FALSE(has);
        }
    }
    float unused;
    EXPECT_FALSE(splitDelta(now, best, -1, unused));
}

class TimeAttackTest : public LoadedGameTest {};

// The studio run driven through the mode's screen: every split against the studio is level, the
// time is the studio's and earns gold, and Space from the results races the same course again.
TEST_F(TimeAttackTest, TheStudioRunDrivenAgainIsLevelAtEveryCheckpoint) {
    if (HasFatalFailure() || IsSkipped()) return;
    auto studio = std::make_unique<Replay>();
    char why[128];
    ASSERT_TRUE(studio->load(TD_SOURCE_DIR "/data/studio/course0.replay", why, sizeof why)) << why;
    RecordProver prover(nullptr);
    TimeAttack mode;
    mode.start(*game, &prover, TD_SOURCE_DIR "/data/studio");
    ASSERT_GT(mode.studioSeconds, 0.0f);
    EXPECT_EQ(game->rivals(), 0);
    EXPECT_FLOAT_EQ(mode.medals.gold, mode.studioSeconds * goldOverStudio);

    platformScript.counter = 0;
    platformScript.frequency = studio->frequency;
    ASSERT_TRUE(setUpForReplay(*game, *studio, nullptr));
    driveReplayFrames(*game, *studio, platformScript, 0, studio->frameCount, nullptr, &mode);
    // The last frame's checkpoint is seen by the screen's next turn.
    platformScript.counter += 16667;
    runGameFrame(*game, nullptr, false, &mode);
    const int checkpoints = game->tracks[game->currentTrack].checkpointCount();
    EXPECT_EQ(mode.now.count, Game::classicLaps * checkpoints);
    int level = 0;
    for (int k = 0; k < mode.now.count; k++) {
        float delta;
        if (splitDelta(mode.now, mode.best, k, delta) && delta == 0.0f) level++;
    }
    EXPECT_EQ(level, mode.now.count) << "the studio's own splits, checkpoint for checkpoint";
    EXPECT_EQ(mode.raceSeconds, mode.studioSeconds);
    EXPECT_EQ(mode.medal, goldMedal);
    EXPECT_TRUE(mode.newBest);

    ASSERT_TRUE(game->waitingForStart && game->raceOver);
    int track = game->currentTrack;
    keys.keyDown(VK_SPACE);
    platformScript.counter += 16667;
    runGameFrame(*game, nullptr, false, &mode);
    keys.keyUp(VK_SPACE);
    EXPECT_FALSE(game->waitingForStart);
    EXPECT_EQ(game->currentTrack, track) << "Space races the same course again";
    EXPECT_EQ(game->rivals(), 0);
}
