// Getting unstuck: R (player two's E) sets a human's truck down on the road at its last
// checkpoint (before the first, on its own grid place) after a second, straight, still and facing the race, with its laps as they were; and the "Paused"
// panel stands clear of the truck however it is zoomed and turned.
#include "raceFixture.h"

#include <cmath>

#include "math/vector.h"
#include "physics/physBox.h"
#include "race/panelPlace.h"
#include "track/course.h"
#include "track/courseFile.h"
#include "track/roadPath.h"

namespace {

class RecoverTest : public LoadedGameTest {
protected:
    void step() {
        platformScript.counter += 16667;
        game->update();
        keys.endFrame();
    }
    void press(int key) {
        keys.keyDown(key);
        step();
        keys.keyUp(key);
    }
    // True when the user's truck overlaps any other body of the world.
    bool userTouchesAnything() {
        const Physics& w = game->physics;
        const PhysicsObject& mine = game->trucks[0].body;
        for (int i = 0; i < w.movingCount + w.staticCount; i++) {
            const PhysicsObject* o = i < w.movingCount ? w.movingObjects[i] : w.staticObjects[i - w.movingCount];
            BoxPairList pairs;
            if (o != &mine && mine.findOverlappingBoxes(*o, pairs)) return true;
        }
        return false;
    }
};

// Stuck on the grass or against a wall, at various points of a race on either course. Before
// the first checkpoint the truck goes back to its grid place; a truck of the computer standing
// on the recovery point makes the user's truck stand clear of it.
TEST_F(RecoverTest, SetsTheTruckDownOnTheRoadAtItsLastCheckpointFacingTheRace) {
    const struct {
        int course, laps, lastCheckpoint;
        float stuckX, stuckY;  // on the grass, or pushed against a wall
        float heading;         // the race's direction there
        bool blocked;          // a computer truck stands on the recovery point
    } cases[] = {
        {0, 0, 0, 1850, 1950, -90, false},  // the outer wall at the first bend
        {0, 1, 0, 1300, 1600, -90, false},  // the finish line's tile, after a lap
        {0, 2, 1, 1300, 1600, 180, false},  // checkpoint 1 runs down the right side
        {0, 1, 5, 800, 1000, 135, false},   // checkpoint 5 is a corner, from the right to the bottom
        {0, 3, 3, 1100, 100, 90, true},     // checkpoint 3 runs right to left
        {1, 0, 0, 1650, 1300, -90, true},   // the grid place taken
        {1, 1, 2, 650, 1200, 180, false},   // down the left side
        {1, 4, 3, 700, 900, -90, false},    // back to the right through the middle
        {1, 2, 7, 600, 1300, 0, false},     // up the left edge
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("course " + std::to_string(c.course) + ", checkpoint " + std::to_string(c.lastCheckpoint) +
                     ", lap " + std::to_string(c.laps));
        game->currentTrack = c.course;
        game->resetRace();
        game->waitingForStart = true;
        game->raceOver = false;
        press(VK_SPACE);
        Truck& t = game->trucks[0];
        const Track& track = *t.track;
        t.lapCount = c.laps;
        t.lastCheckpoint = c.lastCheckpoint;
        t.nextCheckpoint = (c.lastCheckpoint + 1) % track.checkpointCount();
        t.putBack(c.stuckX, c.stuckY, 30);
        step();

        press('R');
        double asked = game->raceClock.elapsedSeconds();
        ASSERT_GE(game->recovery[0].at, 0.0);
        float expectX = Game::gridStartX, expectY = Game::gridEvenY;
        RoadSpot spot;
        if (c.laps > 0 || c.lastCheckpoint > 0) {
            ASSERT_TRUE(roadSpotAt(track, c.lastCheckpoint, 0, 0, spot));
            expectX = spot.x;
            expectY = spot.y;
        }
        int frames = 0;
        while (game->recovery[0].at >= 0.0 && frames++ < 300) {
            // The computer truck parks on the point in the last frame before the truck comes down.
            if (c.blocked && game->raceClock.elapsedSeconds() + 0.02 >= game->recovery[0].at) {
                game->trucks[2].putBack(expectX, expectY, c.heading);
            }
            step();
        }
        double waited = game->raceClock.elapsedSeconds() - asked;
        printf("course %d checkpoint %d: set down at %.1f, %.1f heading %.1f after %.3f s of race\n", c.course,
               c.lastCheckpoint, t.getX(), t.getY(), t.cabHeading, waited);
        ASSERT_LT(game->recovery[0].at, 0.0) << "never set down";
        EXPECT_GE(waited, Game::recoverDelaySeconds - 1e-9) << "it costs its second";
        EXPECT_LT(waited, Game::recoverDelaySeconds + 0.05);

        if (c.laps == 0 && c.lastCheckpoint == 0) {
            EXPECT_LE(t.getX(), Game::gridStartX + 60.0f) << "never ahead of its grid place by more than a step";
        } else {
            EXPECT_EQ(track.checkpointAt(t.getX(), t.getY()), c.lastCheckpoint) << "on the checkpoint's tile";
        }
        // A computer truck passing may take the point itself: then a place close by.
        EXPECT_LE(std::hypot(t.getX() - expectX, t.getY() - expectY), 135.0f) << "by the point";
        if (c.blocked) {
            EXPECT_GT(std::hypot(t.getX() - expectX, t.getY() - expectY), 1.0f) << "moved off the taken point";
        }
        EXPECT_FALSE(userTouchesAnything()) << "set down clear of the walls and the other trucks";
        EXPECT_LE(track.frictionAt(t.getX(), t.getY()), 0.7f) << "on the asphalt";
        EXPECT_NEAR(angleDifference(t.cabHeading, c.heading), 0.0f, 0.5f) << "facing the race";
        EXPECT_EQ(t.cabHeading, t.trailerHeading) << "straight";
        EXPECT_EQ(t.getSpeed(), 0.0f);
        EXPECT_EQ(t.body.velocity[0], 0.0f);
        EXPECT_EQ(t.body.velocity[1], 0.0f);
        EXPECT_EQ(t.steerAngle, 0.0f);
        EXPECT_EQ(t.getLapCount(), c.laps);
        EXPECT_EQ(t.getLastCheckpoint(), c.lastCheckpoint);
        EXPECT_EQ(t.nextCheckpoint, (c.lastCheckpoint + 1) % track.checkpointCount());

        // The next sub-steps leave it standing where it was set down.
        float x = t.getX(), y = t.getY();
        step();
        EXPECT_NEAR(t.getX(), x, 0.5f);
        EXPECT_NEAR(t.getY(), y, 0.5f);
    }
}

// Before the first checkpoint each human's truck goes back to its own grid place, wherever the
// course's grid lies and whichever slot a handed grid gave it.
TEST_F(RecoverTest, BeforeTheFirstCheckpointATruckGoesBackToItsOwnGridPlace) {
    const int reversed[Game::maxTrucks] = {4, 3, 2, 1, 0};
    const struct {
        const char* course;  // a shipped course file, or null for built-in course 1
        int humans, human;
        bool handedGrid;  // truck 0 on the front slot, as a championship's leader may not be
        int slot;         // the grid slot the human's truck starts on
    } cases[] = {
        // Player one on the classic grid's first slot is the table above's.
        {nullptr, 2, 1, false, 1},
        {nullptr, 1, 0, true, 4},
        {"generated-377", 1, 0, false, 0},  // a grid at the bottom right, facing west
        {"doubleback", 2, 0, true, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.course ? c.course : "course 1") + ", human " + std::to_string(c.human) +
                     (c.handedGrid ? ", handed grid" : ""));
        game->waitingForStart = true;
        game->raceOver = false;
        game->currentTrack = 1;
        Course course;
        char why[256] = "";
        if (c.course) {
            std::string path = std::string(TD_SOURCE_DIR "/data/courses/") + c.course + ".course";
            ASSERT_TRUE(loadCourseFile(path.c_str(), course, why, sizeof why)) << why;
        } else {
            ASSERT_TRUE(builtInCourse(1, course));
        }
        ASSERT_TRUE(game->useCourse(1, course));
        ASSERT_TRUE(game->setHumans(c.humans));
        ASSERT_TRUE(game->setGridOrder(c.handedGrid ? reversed : nullptr));
        game->resetRace();
        press(VK_SPACE);
        Truck& t = game->trucks[c.human];
        float gridX, gridY, gridHeading;
        gridPlace(t.track->startGrid, c.slot, gridX, gridY, gridHeading);
        // Driven off its place, turned across the road, before any checkpoint.
        t.putBack(gridX + 90, gridY + 40, gridHeading + 60);
        step();

        press(c.human == 0 ? (int)'R' : (int)VK_PLAYER2_RECOVER);
        ASSERT_GE(game->recovery[c.human].at, 0.0);
        EXPECT_LT(game->recovery[1 - c.human].at, 0.0) << "the other human's truck is not asked for";
        for (int frames = 0; game->recovery[c.human].at >= 0.0 && frames < 300; frames++) step();
        float away = std::hypot(t.getX() - gridX, t.getY() - gridY);
        printf("%s, human %d, slot %d: set down %.1f from its grid place (%.0f, %.0f), heading %.1f\n",
               c.course ? c.course : "course 1", c.human, c.slot, away, gridX, gridY, t.cabHeading);
        ASSERT_LT(game->recovery[c.human].at, 0.0) << "never set down";
        // Trucks leaving the grid may still stand on the place itself: then one behind or aside,
        // the furthest 120 behind and a row across (144 units).
        EXPECT_LE(away, 145.0f) << "at its own grid place";
        EXPECT_NEAR(angleDifference(t.cabHeading, gridHeading), 0.0f, 0.5f) << "facing as the grid does";
        EXPECT_LE(t.track->frictionAt(t.getX(), t.getY()), 0.7f) << "on the asphalt";
    }
    game->setGridOrder(nullptr);
}

// Held on the grass at a standstill each human is told about their own recovery key once; after
// a recovery, stuck again, the hint does not come back in that race.
TEST_F(RecoverTest, AStuckTruckIsToldAboutItsKeyOnceARace) {
    const struct {
        int humans, human, key;
        const char* hint;
    } cases[] = {
        {1, 0, 'R', "Stuck? Press R to recover\n"},
        {2, 1, VK_PLAYER2_RECOVER, "Stuck? Press E to recover\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("human " + std::to_string(c.human));
        game->waitingForStart = true;
        game->raceOver = false;
        ASSERT_TRUE(game->setHumans(c.humans));
        press(VK_SPACE);
        Truck& t = game->trucks[c.human];
        const RecoverWatch& r = game->recovery[c.human];
        auto standStuck = [&](double seconds) {
            for (int f = 0; f < (int)(seconds / 0.015); f++) {
                t.putBack(1300, 1600, 30);
                step();
            }
        };
        standStuck(3.0);
        EXPECT_EQ(game->recoverCueText(c.human), nullptr) << "not after 3 s";
        standStuck(1.5);
        ASSERT_NE(game->recoverCueText(c.human), nullptr) << "told after 4 s";
        EXPECT_STREQ(game->recoverCueText(c.human), c.hint);
        EXPECT_EQ(game->recoverCueText(1 - c.human), nullptr) << "only the stuck human is told";
        press(c.key);
        EXPECT_LT(r.hintUntil, game->raceClock.elapsedSeconds()) << "the key answers it";
        EXPECT_STREQ(game->recoverCueText(c.human), "Recovering...\n");
        while (r.at >= 0.0) step();
        standStuck(6.0);
        EXPECT_LT(r.hintUntil, game->raceClock.elapsedSeconds()) << "once a race";
    }
}

// Every zoom the camera allows, every way the cab can point and every bend of the trailer: the
// panel's place never reaches the truck.
TEST(PausedPanel, NeverCoversTheUsersTruck) {
    const float zooms[] = {0.2f, 0.5f, 1.0f, 1.5f, 2.0f, 2.5f, 3.0f};
    int elsewhere = 0, poses = 0;
    Truck t;
    Camera2D camera;
    for (float zoom : zooms) {
        for (int cab = -180; cab < 180; cab += 5) {
            for (int bend = -90; bend <= 90; bend += 15) {
                PhysBox cabBoxes[2], trailerBoxes[2];
                t.boxesAt(1000, 1000, (float)cab, cabBoxes);
                t.boxesAt(1000, 1000, (float)(cab + bend), trailerBoxes);
                t.body.box(0) = cabBoxes[0];
                t.body.box(1) = trailerBoxes[1];
                t.setPosition(1000, 1000);
                camera.zoom = zoom;
                camera.setPosition(1000, 1000);
                ScreenRect r = pausedPanelPlace(t, camera);
                ASSERT_FALSE(truckCovers(t, camera, r, 0.0f))
                    << "zoom " << zoom << ", cab " << cab << ", bend " << bend << ": panel at " << r.x1 << ", " << r.y1;
                EXPECT_TRUE(r.x1 >= 0 && r.y1 >= 0 && r.x2 <= 640 && r.y2 <= 480);
                poses++;
                if (r.x1 != 220 || r.y1 != 300) elsewhere++;
            }
        }
    }
    printf("%d of %d poses moved the panel from its first place\n", elsewhere, poses);
    EXPECT_GT(elsewhere, 0);
    EXPECT_LT(elsewhere, poses) << "the first place serves whenever it can";
}

}  // namespace
