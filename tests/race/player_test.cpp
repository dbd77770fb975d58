// The drivers: the user's key rules, the computer's waypoint and throttle rules, names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/input.h"
#include "globalsGuard.h"
#include "vehicle/truck.h"
#include "race/player.h"
#include "track/track.h"

namespace {

// Full steering as the truck stores it: 3 units of 7 degrees.
const float fullLeft = 21.0f;

struct UserPlayerTest : ::testing::Test {
    void SetUp() override {
        keys = Keys();
        truck.resetForRace(nullptr);
        user.setTruck(&truck);
        user.setLapsToRace(6);
    }
    // The commands of the last control, then cleared as the truck's update would.
    void consume() {
        truck.steerTarget = 0;
        truck.powerTarget = 0;
    }
    GlobalsGuard globals;
    Truck truck;
    PlayerUser user;
};

TEST_F(UserPlayerTest, SteeringKeysWithRightWinningOverLeft) {
    user.control();
    EXPECT_EQ(truck.steerTarget, 0.0f);
    keys.keyDown(VK_LEFT);
    user.control();
    EXPECT_EQ(truck.steerTarget, fullLeft);
    consume();
    keys.keyDown(VK_RIGHT);
    user.control();
    EXPECT_EQ(truck.steerTarget, -fullLeft) << "Left and Right together steer right";
}

TEST_F(UserPlayerTest, UpHeldFromBeforeTheRaceMovesNothingUntilPressedAgain) {
    keys.keyDown(VK_UP);
    keys.endFrame();  // held through the frame that started the race: no longer a press
    for (int i = 0; i < 3; i++) user.control();
    EXPECT_EQ(truck.gear, 0);
    EXPECT_EQ(truck.powerTarget, 0.0f);
    keys.keyUp(VK_UP);
    keys.endFrame();
    keys.keyDown(VK_UP);
    user.control();
    EXPECT_EQ(truck.gear, 1);
    EXPECT_EQ(truck.powerTarget, forwardPower);
    // Still held in later frames: the gear stays and the throttle keeps acting.
    keys.endFrame();
    consume();
    user.control();
    EXPECT_EQ(truck.powerTarget, forwardPower);
}

TEST_F(UserPlayerTest, DownSelectsReverseOnlyFromStandstillPowerAndWinsOverUp) {
    keys.keyDown(VK_DOWN);
    user.control();
    EXPECT_EQ(truck.gear, -1) << "pressed at power 0: reverse";
    EXPECT_EQ(truck.powerTarget, reversePower);

    Truck moving;
    moving.resetForRace(nullptr);
    moving.gear = 1;
    moving.power = 50.0f;
    user.setTruck(&moving);
    keys = Keys();
    keys.keyDown(VK_DOWN);
    user.control();
    EXPECT_EQ(moving.gear, 1) << "pressed while driving forward: the gear stays";
    EXPECT_EQ(moving.powerTarget, reversePower) << "but the throttle brakes";

    keys.keyDown(VK_UP);
    user.control();
    EXPECT_EQ(moving.powerTarget, reversePower) << "Up and Down held: Down's throttle wins";
}

TEST_F(UserPlayerTest, FinishesOnTheLastLapAndStopsDriving) {
    truck.lapCount = 5;
    keys.keyDown(VK_LEFT);
    user.control();
    EXPECT_FALSE(user.isFinished());
    consume();
    truck.lapCount = 6;
    user.control();
    EXPECT_TRUE(user.isFinished());
    EXPECT_EQ(truck.steerTarget, 0.0f);
    user.reset();
    EXPECT_FALSE(user.isFinished());
}

// A truck on tile (0, 0) of a course whose waypoints run up column 0.
struct AIPlayerTest : ::testing::Test {
    void SetUp() override {
        for (int i = 0; i < 4; i++) track.waypoints[i] = TileCoord{0, i};
        track.numWaypoints = 4;
        truck.resetForRace(nullptr);
        truck.setPosition(128, 128);
        ai.setTruck(&truck);
        ai.setTrack(&track);
        ai.setLapsToRace(6);
        // Aim at waypoint 2, straight up the column (bearing 0).
        ai.nextWaypoint = 2;
    }
    void face(float heading) {
        truck.cabHeading = heading;
        truck.trailerHeading = heading;
    }
    void drive(float heading, float speed) {
        face(heading);
        truck.body.speed = speed;
        truck.gear = 0;
        truck.steerTarget = 0;
        truck.powerTarget = 0;
        ai.control();
    }
    bool accelerating() const { return truck.gear == 1 && truck.powerTarget == forwardPower; }
    Track track;
    Truck truck;
    PlayerAI ai;
};

TEST_F(AIPlayerTest, ConstructionAndReset) {
    PlayerAI fresh;
    EXPECT_EQ(fresh.skill, 5);
    EXPECT_EQ(fresh.nextWaypoint, 0);
    EXPECT_FALSE(fresh.isFinished());
    EXPECT_EQ(fresh.getTime(), 0.0f);
    EXPECT_STREQ(fresh.getName(), "");
    ai.finished = true;
    ai.previousWaypoint = 1;
    ai.setTime(12.5f);
    ai.reset();
    EXPECT_FALSE(ai.isFinished());
    EXPECT_EQ(ai.nextWaypoint, 0);
    EXPECT_EQ(ai.previousWaypoint, 0);
    EXPECT_EQ(ai.getTime(), 12.5f) << "the time is overwritten by the next race, not cleared";
}

TEST_F(AIPlayerTest, SteersOnlyBeyondFiveDegrees) {
    drive(-5.0f, 0);
    EXPECT_EQ(truck.steerTarget, 0.0f) << "exactly 5 degrees off: wheels straighten";
    drive(-5.01f, 0);
    EXPECT_EQ(truck.steerTarget, fullLeft) << "target to the left (positive difference)";
    drive(5.01f, 0);
    EXPECT_EQ(truck.steerTarget, -fullLeft);
    drive(170.0f, 0);
    EXPECT_EQ(truck.steerTarget, -fullLeft) << "behind and to the right";
}

TEST_F(AIPlayerTest, ThrottleUpToTheSkillTopSpeedAndCoastingInSharpTurns) {
    drive(0, 790);
    EXPECT_TRUE(accelerating()) << "straight at 790";
    drive(0, 800);
    EXPECT_FALSE(accelerating()) << "at the skill-5 top speed";
    drive(-36.0f, 650);
    EXPECT_FALSE(accelerating()) << "36 degrees off at 650 coasts";
    drive(-36.0f, 649);
    EXPECT_TRUE(accelerating()) << "but below 650 it still accelerates";
    drive(-34.0f, 700);
    EXPECT_TRUE(accelerating()) << "34 degrees is not a sharp turn";

    const float topSpeeds[] = {650, 700, 750, 800};
    for (int skill = 2; skill <= 5; skill++) {
        ai.setSkill(skill);
        float top = topSpeeds[skill - 2];
        EXPECT_EQ(ai.topSpeed(), top);
        drive(0, top - 1);
        EXPECT_TRUE(accelerating()) << "skill " << skill;
        drive(0, top);
        EXPECT_FALSE(accelerating()) << "skill " << skill;
    }
}

TEST_F(AIPlayerTest, WaypointCountsOnlyWhenItIsTheOneAimedFor) {
    // Standing on waypoint 2 while aiming for it: on to 3.
    truck.setPosition(128, 2 * 256 + 100);
    ai.updateWaypoint();
    EXPECT_EQ(ai.nextWaypoint, 3);
    EXPECT_EQ(ai.previousWaypoint, 2);
    // Still on 2 (now n) while aiming for 3 (n + 1): no going back.
    ai.updateWaypoint();
    EXPECT_EQ(ai.nextWaypoint, 3);
    // Reaching n + 1 while aiming for n is ignored.
    ai.nextWaypoint = 1;
    ai.updateWaypoint();
    EXPECT_EQ(ai.nextWaypoint, 1);
    // The last waypoint leads back to the first.
    ai.nextWaypoint = 3;
    truck.setPosition(128, 3 * 256 + 10);
    ai.updateWaypoint();
    EXPECT_EQ(ai.nextWaypoint, 0);
}

TEST_F(AIPlayerTest, WithoutWaypointsOrTrackItCoastsAndStillFinishes) {
    Track empty;
    ai.setTrack(&empty);
    ai.nextWaypoint = 0;
    drive(30.0f, 0);
    EXPECT_FALSE(accelerating());
    EXPECT_EQ(truck.steerTarget, 0.0f);
    ai.setTrack(nullptr);
    drive(30.0f, 0);
    EXPECT_FALSE(accelerating());
    truck.lapCount = 6;
    ai.control();
    EXPECT_TRUE(ai.isFinished());
    PlayerAI noTruck;
    noTruck.control();  // nothing to drive: must not touch a null truck
    EXPECT_FALSE(noTruck.isFinished());
}

TEST(PlayerName, StoredBelow128CharactersElseKept) {
    PlayerUser p;
    p.setName("UserPlayer");
    std::string longest(127, 'n');
    p.setName(longest.c_str());
    EXPECT_EQ(std::string(p.getName()), longest);
    std::string tooLong(128, 'x');
    p.setName(tooLong.c_str());
    EXPECT_EQ(std::string(p.getName()), longest) << "a 128-character name leaves the previous one";
    p.setName(nullptr);
    EXPECT_EQ(std::string(p.getName()), longest);
    p.setName("");
    EXPECT_STREQ(p.getName(), "");
}

}  // namespace
