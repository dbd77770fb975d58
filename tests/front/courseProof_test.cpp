// Proving a course by racing it: the four computer trucks finish a generated course's six laps,
// and a course they cannot get round (a checkpoint walled in) is refused at its time limit; the
// game on screen finds the shared clock, keys and platform as it left them, slice after slice.
#include <gtest/gtest.h>

#include <chrono>

#include "front/courseProof.h"
#include "tests/race/raceFixture.h"
#include "track/courseGenerator.h"

class CourseProofTest : public LoadedGameTest {};

// The cell of the course's second checkpoint boxed in by four walls along its edges.
static void wallInSecondCheckpoint(Course& c) {
    const float size = (float)tileSizeUnits;
    float x = c.checkpoints[1].x * size, y = c.checkpoints[1].y * size;
    const CourseWall box[4] = {
        {x, y, x + size, y}, {x + size, y, x + size, y + size}, {x + size, y + size, x, y + size}, {x, y + size, x, y}};
    for (const CourseWall& w : box) c.walls[c.wallCount++] = w;
}

TEST_F(CourseProofTest, AGeneratedCourseIsProvedAndAWalledInOneRefusedAtItsLimit) {
    if (HasFatalFailure() || IsSkipped()) return;
    Course open;
    ASSERT_TRUE(generateCourse(1, open));
    ASSERT_LE(open.wallCount + 4, Track::maxWalls);
    Course walled = open;
    wallInSecondCheckpoint(walled);
    struct Case {
        const char* what;
        const Course* course;
        ProofState verdict;
    } cases[] = {{"generated seed 1", &open, courseProved}, {"second checkpoint walled in", &walled, courseRefused}};
    RaceProver prover;
    keys.keyDown(VK_UP);
    const Keys keysAtStart = keys;
    const int64_t frequencyAtStart = perfFrequency, nowAtStart = perfCounterNow;
    for (const Case& c : cases) {
        auto started = std::chrono::steady_clock::now();
        prover.begin(*c.course);
        int slices = 0;
        while (prover.advance(1000) == courseProving) {
            slices++;
            ASSERT_EQ(&platform(), &platformScript) << c.what;
            ASSERT_EQ(perfFrequency, frequencyAtStart) << c.what;
            ASSERT_EQ(perfCounterNow, nowAtStart) << c.what;
            ASSERT_EQ(memcmp(&keys, &keysAtStart, sizeof keys), 0) << c.what;
        }
        double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
        printf("%s: %s after %lld frames (%.1f of %.1f s allowed) in %d slices, %.1f ms; %d laps, best %.2f s\n",
               c.what, prover.state == courseProved ? "proved" : "refused", prover.frames,
               prover.frames * proofFrameSeconds, prover.allowedSeconds, slices, ms, prover.laps, prover.bestLap);
        EXPECT_EQ(prover.state, c.verdict) << c.what;
        if (c.verdict == courseProved) {
            EXPECT_EQ(prover.laps, 4 * Game::classicLaps) << c.what;
        } else {
            // Refused only when the time ran out, to the frame.
            EXPECT_NEAR(prover.frames * proofFrameSeconds, prover.allowedSeconds, proofFrameSeconds) << c.what;
        }
    }
    // The game on screen is untouched: its course and title as they were.
    EXPECT_TRUE(game->waitingForStart);
    EXPECT_EQ(game->tracks[game->currentTrack].courseHash, 0u);
}
