#include "race/player.h"

#include <cmath>
#include <cstring>

#include "core/input.h"
#include "math/vector.h"
#include "vehicle/truck.h"
#include "track/track.h"

// Steering amount of a full turn; +3 turns left (towards larger angles).
static const float fullSteer = 3.0f;

Player::Player() : finished(false), truck(nullptr), track(nullptr), lapsToRace(0), name{}, finishTime(0.0f) {}

Player::~Player() {}

void Player::control() {}

void Player::reset() { finished = false; }

void Player::setName(const char* text) {
    if (!text) return;
    size_t length = strlen(text);
    if (length >= (size_t)maxNameLength) return;
    memcpy(name, text, length + 1);
}

bool Player::checkFinished() {
    if (truck->getLapCount() == lapsToRace) finished = true;
    return finished;
}

PlayerUser::PlayerUser() {}

PlayerUser::~PlayerUser() {}

// Left then Right, so with both held Right wins; Down after Up, so Down's throttle wins.
void PlayerUser::control() {
    if (!truck || checkFinished()) return;
    if (keys.isDown(VK_LEFT)) truck->steer(fullSteer);
    if (keys.isDown(VK_RIGHT)) truck->steer(-fullSteer);
    if (keys.isDown(VK_UP)) {
        if (keys.wasPressed(VK_UP)) truck->selectGear(1);
        truck->setThrottle(1);
    }
    if (keys.isDown(VK_DOWN)) {
        if (keys.wasPressed(VK_DOWN)) truck->selectGear(-1);
        truck->setThrottle(-1);
    }
}

PlayerAI::PlayerAI() : skill(5), nextWaypoint(0), previousWaypoint(0) {
    PlayerAI::reset();
    skill = 5;
}

PlayerAI::~PlayerAI() {}

void PlayerAI::reset() {
    Player::reset();
    nextWaypoint = 0;
    previousWaypoint = 0;
}

// Only the exact cell counts: a truck that skips a waypoint keeps turning back to it.
void PlayerAI::updateWaypoint() {
    if (!truck || !track) return;
    int reached = track->waypointIndexAt(truck->getX(), truck->getY());
    if (reached != nextWaypoint) return;
    previousWaypoint = nextWaypoint;
    nextWaypoint++;
    if (nextWaypoint >= track->getWaypointCount()) nextWaypoint = 0;
}

void PlayerAI::control() {
    if (!truck || checkFinished()) return;
    updateWaypoint();
    float target[2];
    // No course or no waypoints: nothing to aim for, so the truck coasts.
    if (!track || !track->waypointCentre(nextWaypoint, target[0], target[1])) return;
    float d[2] = {target[0] - truck->getX(), target[1] - truck->getY()};
    float diff = angleDifference(headingOfVector(d), truck->averageHeading());
    float speed = truck->getSpeed();
    if ((std::fabs(diff) < liftOffAimDegrees || speed < liftOffSpeed) && speed < topSpeed()) {
        truck->selectGear(1);
        truck->setThrottle(1);
    }
    if (std::fabs(diff) > steerDeadbandDegrees) truck->steer(diff > 0 ? fullSteer : -fullSteer);
}
