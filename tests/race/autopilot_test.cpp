// The autopilot's driving decisions, on a hand-made course with no pictures.
#include <gtest/gtest.h>

#include "vehicle/truck.h"
#include "race/autopilot.h"
#include "track/track.h"

namespace {
const double frame = 1.0 / 60.0;

// Waypoints along the bottom row and up the right side: (1,0) (2,0) (3,0) (3,1).
struct AutopilotCourse : ::testing::Test {
    Track track;
    Truck truck;
    Autopilot pilot;
    void SetUp() override {
        const TileCoord cells[4] = {{1, 0}, {2, 0}, {3, 0}, {3, 1}};
        for (int i = 0; i < 4; i++) track.waypoints[i] = cells[i];
        track.numWaypoints = 4;
    }
    // The truck at (x, y) facing heading, moving at speed.
    void place(float x, float y, float heading, float speed) {
        truck.setPosition(x, y);
        truck.cabHeading = heading;
        truck.trailerHeading = heading;
        truck.body.speed = speed;
    }
};
}  // namespace

TEST_F(AutopilotCourse, SteersTowardsTheWaypointAndHoldsTheThrottle) {
    // In cell (0,0), facing right (-90): waypoint 0's centre (384,128) is straight ahead.
    place(100, 128, -90, 200);
    DriveKeys k = pilot.decide(truck, track, frame);
    EXPECT_TRUE(k.up);
    EXPECT_FALSE(k.left || k.right || k.down);
    // The same waypoint seen from below it: it lies to the left of a truck facing right.
    place(100, 10, -90, 200);
    k = pilot.decide(truck, track, frame);
    EXPECT_TRUE(k.left);
    EXPECT_FALSE(k.right);
    place(100, 250, -90, 200);
    k = pilot.decide(truck, track, frame);
    EXPECT_TRUE(k.right);
    EXPECT_FALSE(k.left);
}

TEST_F(AutopilotCourse, EasesOffAndBrakesForSharpTurnsOnly) {
    // Waypoint 0 lies straight right (-90); the cab points 60 degrees to the right of it.
    place(100, 128, -150, 0);
    float cases[][3] = {
        // speed, expect up, expect down
        {200, 1, 0},
        {easeOffTurnSpeed + 10, 0, 0},
        {brakeSpeed + 100, 0, 0},  // 60 degrees is not sharp enough to brake
    };
    for (auto& c : cases) {
        truck.body.speed = c[0];
        pilot.slowTime = 0;
        DriveKeys k = pilot.decide(truck, track, frame);
        EXPECT_EQ(c[1] != 0, k.up) << "speed " << c[0];
        EXPECT_EQ(c[2] != 0, k.down) << "speed " << c[0];
        EXPECT_TRUE(k.left);
    }
    // 90 degrees off at speed: brake.
    place(100, 128, -180, brakeSpeed + 50);
    DriveKeys k = pilot.decide(truck, track, frame);
    EXPECT_TRUE(k.down);
    EXPECT_FALSE(k.up);
}

TEST_F(AutopilotCourse, PassesWaypointsInOrderAndForgivesACutCorner) {
    // A longer course: (1,0) to (7,0) along the bottom, then (7,1); waypoint i of the row is cell i + 1.
    for (int i = 0; i < 7; i++) track.waypoints[i] = TileCoord{i + 1, 0};
    track.waypoints[7] = TileCoord{7, 1};
    track.numWaypoints = 8;
    auto onCell = [&](int cx, int cy) {
        place(cx * 256 + 50.0f, cy * 256 + 50.0f, -90, 300);
        pilot.decide(truck, track, frame);
        return pilot.nextWaypoint;
    };
    EXPECT_EQ(1, onCell(1, 0)) << "waypoint 0 reached";
    EXPECT_EQ(1, onCell(0, 0)) << "off the list: no change";
    EXPECT_EQ(3, onCell(3, 0)) << "waypoint 2, skipping 1 by a cut corner";
    EXPECT_EQ(3, onCell(2, 0)) << "waypoint 1, now behind: no going back";
    EXPECT_EQ(3, onCell(7, 0)) << "waypoint 6 is too far ahead to count";
    pilot.nextWaypoint = 7;
    EXPECT_EQ(0, onCell(7, 1)) << "the last waypoint wraps to the first";
}

TEST_F(AutopilotCourse, BacksOutWhenStuckOrTurnedRound) {
    // Pinned, facing the waypoint but not moving.
    place(100, 100, -90, 0);
    int frames = 0;
    DriveKeys k = {};
    while (!k.down && frames < 600) {
        k = pilot.decide(truck, track, frame);
        frames++;
    }
    printf("stuck: reverses after %d frames\n", frames);
    EXPECT_NEAR(stuckSeconds / frame, frames, 2);
    EXPECT_TRUE(k.down);
    EXPECT_FALSE(k.up);
    EXPECT_NE(k.left, k.right);
    // It reverses for its set time, then drives on.
    int reversing = 1;
    while (pilot.decide(truck, track, frame).down && reversing < 600) reversing++;
    printf("reversed for %d frames\n", reversing);
    EXPECT_NEAR(reverseSeconds / frame, reversing, 2);
    EXPECT_EQ(1, pilot.recoveries);

    // Moving well but facing away from the waypoint: after a while it backs round too.
    pilot.reset();
    place(100, 128, 90, 300);
    frames = 0;
    k = {};
    while (!k.down && frames < 600) {
        k = pilot.decide(truck, track, frame);
        frames++;
    }
    printf("wrong way: reverses after %d frames\n", frames);
    EXPECT_NEAR(wrongWaySeconds / frame, frames, 2);
}

TEST_F(AutopilotCourse, NoWaypointsNoKeys) {
    track.numWaypoints = 0;
    place(100, 100, -90, 0);
    DriveKeys k = pilot.decide(truck, track, frame);
    EXPECT_FALSE(k.up || k.down || k.left || k.right);
}
