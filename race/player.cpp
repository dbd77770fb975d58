#include "race/player.h"

#include <cmath>
#include <cstring>

#include "core/input.h"
#include "math/vector.h"
#include "vehicle/truck.h"
#include "track/track.h"

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

// The assist's lock falls linearly to its least share at assistFadeSpeed (60 on the HUD) and
// stays there: a fast truck cannot be flung round by a tap, a slow one still turns on the spot.
static const float assistFadeSpeed = 480.0f;  // units per second
static const float assistLeastShare = 0.45f;
// Easy's brake: a right-angle bend at 50 on the HUD, a truck and trailer a new player can turn;
// faster further off, looking a few tiles ahead.
static const float assistBendSpeed = 400.0f;         // units per second
static const float assistBendSpeedPerUnit = 0.5f;    // per unit still to go
static const float assistLookAheadUnits = 600.0f;

float PlayerUser::steerShare(float speed) const {
    if (!assist) return 1.0f;
    float f = speed / assistFadeSpeed;
    if (!(f > 0.0f)) return 1.0f;
    if (f > 1.0f) f = 1.0f;
    return 1.0f - f * (1.0f - assistLeastShare);
}

// Left then Right, so with both held Right wins; Down after Up, so Down's throttle wins.
void PlayerUser::control() {
    if (!truck || checkFinished()) return;
    float lock = fullSteer * steerShare(truck->getSpeed());
    if (keys.isDown(VK_LEFT)) truck->steer(lock);
    if (keys.isDown(VK_RIGHT)) truck->steer(-lock);
    if (keys.isDown(VK_UP)) {
        if (keys.wasPressed(VK_UP)) truck->selectGear(1);
        truck->setThrottle(1);
    }
    if (keys.isDown(VK_DOWN)) {
        if (keys.wasPressed(VK_DOWN)) truck->selectGear(-1);
        truck->setThrottle(-1);
    }
    float limit;
    if (brakeBeforeBends && keys.isDown(VK_UP) && !keys.isDown(VK_DOWN) && bendSpeedAhead(limit) &&
        truck->getSpeed() > limit)
        truck->setThrottle(-1);
}

void PlayerUser::reset() {
    Player::reset();
    nextWaypoint = 0;
}

bool PlayerUser::bendSpeedAhead(float& limit) {
    if (!track) return false;
    int count = track->getWaypointCount();
    if (count < 2) return false;
    // Any waypoint the truck stands on sets the next: a player may cut or skip them.
    int here = track->waypointIndexAt(truck->getX(), truck->getY());
    if (here >= 0) nextWaypoint = (here + 1) % count;
    float at[2], after[2];
    if (!track->waypointCentre(nextWaypoint, at[0], at[1]) ||
        !track->waypointCentre((nextWaypoint + 1) % count, after[0], after[1]))
        return false;
    float out[2] = {after[0] - at[0], after[1] - at[1]};
    float d[2] = {at[0] - truck->getX(), at[1] - truck->getY()};
    if (out[0] == 0.0f && out[1] == 0.0f) return false;
    float turn = std::fabs(angleDifference(headingOfVector(out), truck->averageHeading()));
    float distance = std::sqrt(d[0] * d[0] + d[1] * d[1]);
    if (turn <= 1.0f || distance > assistLookAheadUnits) return false;
    limit = assistBendSpeed * 90.0f / turn + assistBendSpeedPerUnit * distance;
    return true;
}

PlayerAI::PlayerAI()
    : skill(5), nextWaypoint(0), previousWaypoint(0), style(driverStyleFor(Difficulty::normal)) {
    PlayerAI::reset();
    skill = 5;
}

PlayerAI::~PlayerAI() {}

void PlayerAI::reset() {
    Player::reset();
    nextWaypoint = 0;
    previousWaypoint = 0;
    lineIndex = -1;
}

// Only the exact cell counts: a truck that skips a waypoint keeps turning back to it.
void PlayerAI::updateWaypoint() {
    if (!truck || !track) return;
    int count = track->getWaypointCount();
    if (count <= 0) return;
    // Only the waypoint wanted next counts, so a truck off its cell is done without the list's scan.
    int tileX, tileY;
    worldToTile(truck->getX(), truck->getY(), tileX, tileY);
    if (nextWaypoint < 0 || nextWaypoint >= count || track->waypoints[nextWaypoint].x != tileX ||
        track->waypoints[nextWaypoint].y != tileY)
        return;
    int reached = track->waypointIndexAt(truck->getX(), truck->getY());
    if (reached != nextWaypoint) return;
    previousWaypoint = reached;
    nextWaypoint = reached + 1;
    if (nextWaypoint >= count) nextWaypoint = 0;
}

void PlayerAI::control() {
    if (!truck || checkFinished()) return;
    if (style.lineSightUnits > 0.0f && track && track->racingLine().count() >= 3) {
        driveLine();
        return;
    }
    updateWaypoint();
    float target[2];
    // No course or no waypoints: nothing to aim for, so the truck coasts.
    if (!track || !track->waypointCentre(nextWaypoint, target[0], target[1])) return;
    float d[2] = {target[0] - truck->getX(), target[1] - truck->getY()};
    float diff = angleDifference(headingOfVector(d), truck->averageHeading());
    float speed = truck->getSpeed();
    if ((std::fabs(diff) < style.liftOffAimDegrees || speed < style.liftOffSpeed) && speed < topSpeed()) {
        truck->selectGear(1);
        truck->setThrottle(1);
    }
    if (std::fabs(diff) > style.steerDeadbandDegrees) truck->steer(diff > 0 ? fullSteer : -fullSteer);
}
