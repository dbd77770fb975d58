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
}

// Only the exact cell counts, unless the style lets a cut corner skip ahead: a truck that skips
// a waypoint keeps turning back to it.
void PlayerAI::updateWaypoint() {
    if (!truck || !track) return;
    int count = track->getWaypointCount();
    if (count <= 0) return;
    // Only the waypoints wanted next count, so a truck on none of their cells is done without
    // the list's scan.
    int tileX, tileY;
    worldToTile(truck->getX(), truck->getY(), tileX, tileY);
    bool onWanted = false;
    for (int ahead = 0; ahead <= style.waypointSkipAhead && ahead < count && !onWanted; ahead++) {
        int wanted = ahead == 0 ? nextWaypoint : (nextWaypoint + ahead) % count;
        onWanted = wanted >= 0 && wanted < count && track->waypoints[wanted].x == tileX &&
                   track->waypoints[wanted].y == tileY;
    }
    if (!onWanted) return;
    int reached = track->waypointIndexAt(truck->getX(), truck->getY());
    if (reached < 0) return;
    for (int ahead = 0; ahead <= style.waypointSkipAhead && ahead < count; ahead++) {
        int wanted = ahead == 0 ? nextWaypoint : (nextWaypoint + ahead) % count;
        if (reached != wanted) continue;
        previousWaypoint = reached;
        nextWaypoint = reached + 1;
        if (nextWaypoint >= count) nextWaypoint = 0;
        return;
    }
}

// The ground's drag below which a point counts as road, and how far either side of its line
// the truck must find road too (about half its width).
static const float roadDragMost = 0.7f;
static const float lineMarginUnits = 24.0f;
static const float sightStepUnits = 32.0f;

// Road all along the straight line from a to b, and a margin's width either side of it.
static bool roadAllTheWay(const Track& track, const float a[2], const float b[2]) {
    float d[2] = {b[0] - a[0], b[1] - a[1]};
    float length = std::sqrt(d[0] * d[0] + d[1] * d[1]);
    if (length < 1.0f) return track.frictionAt(b[0], b[1]) <= roadDragMost;
    float side[2] = {-d[1] / length * lineMarginUnits, d[0] / length * lineMarginUnits};
    int steps = (int)(length / sightStepUnits) + 1;
    for (int i = 1; i <= steps; i++) {
        float f = (float)i / (float)steps;
        float p[2] = {a[0] + d[0] * f, a[1] + d[1] * f};
        if (track.frictionAt(p[0], p[1]) > roadDragMost || track.frictionAt(p[0] + side[0], p[1] + side[1]) > roadDragMost ||
            track.frictionAt(p[0] - side[0], p[1] - side[1]) > roadDragMost)
            return false;
    }
    return true;
}

float PlayerAI::aimAlongRoad(float target[2]) const {
    int count = track->getWaypointCount();
    float here[2] = {truck->getX(), truck->getY()};
    const float waypoint[2] = {target[0], target[1]};
    float from[2] = {target[0], target[1]};
    float after[2] = {target[0], target[1]};
    float seen = 0.0f;
    bool blocked = !roadAllTheWay(*track, here, target);
    // Along the waypoints' path past the one aimed for, as far as the road is in sight.
    for (int k = 1; k <= sightWaypoints && !blocked; k++) {
        float to[2];
        if (!track->waypointCentre((nextWaypoint + k) % count, to[0], to[1])) break;
        if (k == 1) after[0] = to[0], after[1] = to[1];
        float leg[2] = {to[0] - from[0], to[1] - from[1]};
        float legLength = std::sqrt(leg[0] * leg[0] + leg[1] * leg[1]);
        for (float along = sightStepUnits; along <= legLength && !blocked; along += sightStepUnits) {
            if (seen + along > style.sightUnits) {
                blocked = true;
                break;
            }
            float p[2] = {from[0] + leg[0] * along / legLength, from[1] + leg[1] * along / legLength};
            if (roadAllTheWay(*track, here, p)) {
                target[0] = p[0];
                target[1] = p[1];
            } else {
                blocked = true;
            }
        }
        seen += legLength;
        from[0] = to[0];
        from[1] = to[1];
    }
    // The bend at the waypoint: how far the truck must still turn to head on from it.
    float out[2] = {after[0] - waypoint[0], after[1] - waypoint[1]};
    if (out[0] == 0.0f && out[1] == 0.0f) return 0.0f;
    return std::fabs(angleDifference(headingOfVector(out), truck->averageHeading()));
}

float PlayerAI::bendLimit(float turnDegrees, float distance) const {
    if (style.bendLookAheadUnits <= 0.0f || distance > style.bendLookAheadUnits) return topSpeed();
    // A right-angle bend at bendSpeed; gentler ones faster, tighter ones slower.
    float atBend = turnDegrees > 1.0f ? style.bendSpeed * 90.0f / turnDegrees : topSpeed();
    return atBend + style.bendSpeedPerUnit * distance;
}

void PlayerAI::control() {
    if (!truck || checkFinished()) return;
    updateWaypoint();
    float target[2];
    // No course or no waypoints: nothing to aim for, so the truck coasts.
    if (!track || !track->waypointCentre(nextWaypoint, target[0], target[1])) return;
    float turnAhead = 0.0f;
    if (style.sightUnits > 0.0f || style.bendLookAheadUnits > 0.0f) turnAhead = aimAlongRoad(target);
    float d[2] = {target[0] - truck->getX(), target[1] - truck->getY()};
    float diff = angleDifference(headingOfVector(d), truck->averageHeading());
    float speed = truck->getSpeed();
    float limit = topSpeed();
    if (style.bendLookAheadUnits > 0.0f) {
        float bendLimitNow = bendLimit(turnAhead, std::sqrt(d[0] * d[0] + d[1] * d[1]));
        if (bendLimitNow < limit) limit = bendLimitNow;
    }
    if ((std::fabs(diff) < style.liftOffAimDegrees || speed < style.liftOffSpeed) && speed < limit) {
        truck->selectGear(1);
        truck->setThrottle(1);
    } else if (speed > limit && truck->getPower() <= 0.0f && style.bendLookAheadUnits > 0.0f) {
        // Off the power first (it falls faster to nothing than under the brake), then brake.
        truck->setThrottle(-1);
    }
    if (std::fabs(diff) > style.steerDeadbandDegrees) {
        float amount = fullSteer;
        if (style.fullSteerDegrees > 0.0f && std::fabs(diff) < style.fullSteerDegrees)
            amount = fullSteer * std::fabs(diff) / style.fullSteerDegrees;
        truck->steer(diff > 0 ? amount : -amount);
    }
}
