// The racing line Hard's drivers follow, laid on the real surface maps of the built-in and
// shipped courses: closed without jumps, on the asphalt all the way, through every checkpoint in
// race order (or the laps would never count); no line without waypoints to lay it by; and Hard
// keeps Normal's top speed at every skill.
#include <cmath>
#include <string>

#include "raceFixture.h"
#include "track/courseFile.h"
#include "track/track.h"

namespace {

struct LineFigures {
    int points = 0;
    float longestStep = 0.0f;
    float worstDrag = 0.0f;
    int checkpointsInOrder = 0;
};

// Walks the line once round from a point in checkpoint 0's cell, counting the checkpoints met in
// the order a truck's laps count them.
LineFigures measure(const Track& track) {
    LineFigures f;
    const RacingLine& line = track.racingLine();
    f.points = line.count();
    int start = -1;
    for (int i = 0; i < f.points && start < 0; i++)
        if (track.checkpointAt(line.x(i), line.y(i)) == 0) start = i;
    int next = 1 % track.checkpointCount();
    for (int k = 0; k < f.points; k++) {
        int i = start + k;
        f.longestStep = std::fmax(f.longestStep, std::hypot(line.x(i + 1) - line.x(i), line.y(i + 1) - line.y(i)));
        f.worstDrag = std::fmax(f.worstDrag, track.frictionAt(line.x(i), line.y(i)));
        int tileX, tileY;
        worldToTile(line.x(i + 1), line.y(i + 1), tileX, tileY);
        const TileCoord& wanted = track.checkpoints[next];
        if (start >= 0 && wanted.x == tileX && wanted.y == tileY) {
            f.checkpointsInOrder++;
            next = (next + 1) % track.checkpointCount();
        }
    }
    return f;
}

class RacingLineTest : public LoadedGameTest {};

TEST_F(RacingLineTest, EveryCourseGetsAClosedLineOnTheRoadThroughItsCheckpointsInOrder) {
    const char* courses[] = {"", "", "clockwork", "doubleback", "generated-7", "generated-23",
                             "generated-58", "generated-144", "generated-377", "generated-610"};
    // Asphalt and kerbs drag at most 0.68; the line's steps are 32 units, a little more where
    // the easing has drawn them apart round a bend.
    const float roadDragMost = 0.7f, stepMost = 2.0f * RacingLine::stepUnits;
    for (int c = 0; c < (int)(sizeof courses / sizeof courses[0]); c++) {
        int slot = c < 2 ? c : 1;
        if (c >= 2) {
            std::string path = std::string(TD_SOURCE_DIR "/data/courses/") + courses[c] + ".course";
            Course course;
            char why[256];
            ASSERT_TRUE(loadCourseFile(path.c_str(), course, why, sizeof why)) << why;
            ASSERT_TRUE(game->useCourse(slot, course));
        }
        const Track& track = game->tracks[slot];
        LineFigures f = measure(track);
        printf("course %s: %d points, longest step %.1f, worst drag %.2f, %d of %d checkpoints in order\n",
               c < 2 ? (c ? "1" : "0") : courses[c], f.points, f.longestStep, f.worstDrag, f.checkpointsInOrder,
               track.checkpointCount());
        EXPECT_GT(f.points, 3 * track.getWaypointCount()) << courses[c];
        EXPECT_LE(f.longestStep, stepMost) << courses[c];
        EXPECT_LE(f.worstDrag, roadDragMost) << courses[c];
        EXPECT_EQ(f.checkpointsInOrder, track.checkpointCount()) << courses[c];
    }
}

TEST_F(RacingLineTest, TooFewWaypointsLayNoLineAndHardThenSteersForTheWaypoints) {
    Track& track = game->tracks[0];
    EXPECT_GT(track.racingLine().count(), 0);
    track.numWaypoints = 2;
    track.lineLaid = false;
    EXPECT_EQ(track.racingLine().count(), 0);
    PlayerAI ai;
    ai.setStyle(driverStyleFor(Difficulty::hard));
    ai.setTruck(&game->trucks[1]);
    ai.setTrack(&track);
    ai.setLapsToRace(6);
    ai.control();
    // On the grid, facing east along the top row, the first waypoint lies ahead: full throttle.
    EXPECT_EQ(game->trucks[1].powerTarget, forwardPower);
}

TEST(DriverStyle, HardGoesNoFasterThanNormalAtAnySkill) {
    for (int skill = 1; skill <= 5; skill++) {
        PlayerAI normal, hard;
        normal.setSkill(skill);
        hard.setSkill(skill);
        normal.setStyle(driverStyleFor(Difficulty::normal));
        hard.setStyle(driverStyleFor(Difficulty::hard));
        EXPECT_EQ(hard.topSpeed(), normal.topSpeed()) << "skill " << skill;
    }
}

}  // namespace
