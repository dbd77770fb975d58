// The steering assist: the keys' lock eases with speed, and on Easy the throttle gives way to
// the brake before a bend. Off, the user's truck drives as it always has.
#include <gtest/gtest.h>

#include <cmath>

#include "race/player.h"
#include "tests/race/raceFixture.h"

TEST(SteeringAssist, LockEasesWithSpeed) {
    struct Case {
        bool assist;
        float speed, share;
    } cases[] = {
        {false, 0, 1}, {false, 900, 1}, {true, 0, 1}, {true, 240, 0.725f}, {true, 480, 0.45f}, {true, 2000, 0.45f},
        {true, -50, 1}, {true, NAN, 1},
    };
    for (const Case& c : cases) {
        PlayerUser user;
        user.assist = c.assist;
        EXPECT_NEAR(user.steerShare(c.speed), c.share, 1e-4f) << c.assist << " at " << c.speed;
    }
}

class BrakeBeforeBendsTest : public LoadedGameTest {
protected:
    // Up held from the start, no steering, towards the first right-angle bend (the second
    // waypoint on this course); the speed when the truck first comes within 300 units of it.
    float speedNearTheBend(bool brake) {
        static_cast<PlayerUser*>(game->players[0])->brakeBeforeBends = brake;
        game->resetRace();
        keys.keyDown(VK_SPACE);
        frame();
        keys.keyUp(VK_SPACE);
        keys.keyDown(VK_UP);
        float bend[2] = {0, 0};
        EXPECT_TRUE(game->tracks[game->currentTrack].waypointCentre(1, bend[0], bend[1]));
        float speed = -1;
        for (int i = 0; i < 120 && speed < 0; i++) {
            frame(50000);
            const Truck& t = game->trucks[0];
            if (std::hypot(t.getX() - bend[0], t.getY() - bend[1]) < 300) speed = t.getSpeed();
        }
        keys.keyUp(VK_UP);
        return speed;
    }
};

TEST_F(BrakeBeforeBendsTest, ComesToTheFirstBendSlower) {
    if (HasFatalFailure() || IsSkipped()) return;
    float free = speedNearTheBend(false);
    float braked = speedNearTheBend(true);
    printf("speed 300 units before the first bend: %.0f free, %.0f with the brake\n", free, braked);
    EXPECT_GT(braked, 0.0f);
    EXPECT_LT(braked, free * 0.85f);
}
