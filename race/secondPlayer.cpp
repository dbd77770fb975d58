// Player two's keys; the rules match player one's (player.cpp) so neither human is favoured.
#include "race/secondPlayer.h"

#include "core/input.h"
#include "vehicle/truck.h"

// Full lock, as player one's keys give it without the assist.
static const float fullSteerUnits = 3.0f;

PlayerSecondUser::PlayerSecondUser() {}

PlayerSecondUser::~PlayerSecondUser() {}

void PlayerSecondUser::control() {
    if (!truck || checkFinished()) return;
    const DrivingKeys& k = drivingKeys;
    if (keys.isDown(k.left)) truck->steer(fullSteerUnits);
    if (keys.isDown(k.right)) truck->steer(-fullSteerUnits);
    if (keys.isDown(k.up)) {
        if (keys.wasPressed(k.up)) truck->selectGear(1);
        truck->setThrottle(1);
    }
    if (keys.isDown(k.down)) {
        if (keys.wasPressed(k.down)) truck->selectGear(-1);
        truck->setThrottle(-1);
    }
}
