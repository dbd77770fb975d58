#include "race/autopilot.h"

#include <cmath>

#include "math/vector.h"
#include "vehicle/truck.h"
#include "track/track.h"

// Waypoints the driver may find itself on ahead of the one it aims for, after cutting a corner.
static const int waypointLookAhead = 2;

Autopilot::Autopilot() { reset(); }

void Autopilot::reset() {
    nextWaypoint = 0;
    slowTime = 0;
    wrongWayTime = 0;
    reverseLeft = 0;
    reverseLeftLock = false;
    recoveries = 0;
}

// Standing on the aimed-for waypoint, or one just beyond it, moves the aim past it.
void Autopilot::passWaypoints(const Truck& truck, const Track& track) {
    int count = track.getWaypointCount();
    if (count <= 0) return;
    if (nextWaypoint >= count) nextWaypoint = 0;
    int here = track.waypointIndexAt(truck.getX(), truck.getY());
    if (here < 0) return;
    for (int ahead = 0; ahead <= waypointLookAhead; ahead++) {
        if (here == (nextWaypoint + ahead) % count) {
            nextWaypoint = (here + 1) % count;
            return;
        }
    }
}

DriveKeys Autopilot::decide(const Truck& truck, const Track& track, double frameSeconds) {
    DriveKeys keysOut = {false, false, false, false};
    passWaypoints(truck, track);
    float target[2];
    if (!track.waypointCentre(nextWaypoint, target[0], target[1])) return keysOut;
    float toTarget[2] = {target[0] - truck.getX(), target[1] - truck.getY()};
    // Positive: the waypoint lies to the left of where the cab points.
    float diff = angleDifference(headingOfVector(toTarget), truck.cabHeading);
    float turn = std::fabs(diff);
    float speed = truck.getSpeed();

    if (reverseLeft > 0) {
        // Backing up turns the cab the other way, so the lock is opposite to the way out.
        reverseLeft -= frameSeconds;
        keysOut.down = true;
        keysOut.left = reverseLeftLock;
        keysOut.right = !reverseLeftLock;
        return keysOut;
    }

    slowTime = speed < stuckSpeed ? slowTime + frameSeconds : 0;
    wrongWayTime = turn > wrongWayDegrees ? wrongWayTime + frameSeconds : 0;
    if (slowTime > stuckSeconds || wrongWayTime > wrongWaySeconds) {
        // Pinned against something or turned round: back off with the wheels locked away from
        // the waypoint, so that the nose swings towards it.
        slowTime = 0;
        wrongWayTime = 0;
        reverseLeft = reverseSeconds;
        reverseLeftLock = diff < 0;
        recoveries++;
        keysOut.down = true;
        keysOut.left = reverseLeftLock;
        keysOut.right = !reverseLeftLock;
        return keysOut;
    }

    if (diff > steerDeadZoneDegrees) keysOut.left = true;
    if (diff < -steerDeadZoneDegrees) keysOut.right = true;
    if (turn > brakeTurnDegrees && speed > brakeSpeed)
        keysOut.down = true;
    else if (!((turn > easeOffTurnDegrees && speed > easeOffTurnSpeed) || (turn > bendDegrees && speed > bendSpeed)))
        keysOut.up = true;
    return keysOut;
}
