#pragma once
// A stand-in for the person at the keyboard: it looks at the user's truck and the course's
// waypoints once a frame and decides which arrow keys to hold, as a driver would.
class Track;
class Truck;

struct DriveKeys {
    bool left, right, up, down;
};

// Below this speed (units per second) with the throttle held, the truck counts as stuck.
const float stuckSpeed = 40.0f;
const double stuckSeconds = 1.0;
// How long a recovery reverses, and the heading error that counts as facing the wrong way.
const double reverseSeconds = 1.2;
const float wrongWayDegrees = 120.0f;
const double wrongWaySeconds = 2.5;
// Inside this heading error the wheels stay straight.
const float steerDeadZoneDegrees = 4.0f;
// Easing off: above the speed the driver lifts off when the turn ahead is sharper than the angle.
const float easeOffTurnDegrees = 45.0f;
const float easeOffTurnSpeed = 380.0f;
const float bendDegrees = 25.0f;
const float bendSpeed = 560.0f;
// Far too fast for a very sharp turn: brake.
const float brakeTurnDegrees = 70.0f;
const float brakeSpeed = 520.0f;

class Autopilot {
public:
    Autopilot();
    // A new race: first waypoint, no recovery under way.
    void reset();
    // The keys for the next frame, frameSeconds long, from the truck's place, heading and speed.
    DriveKeys decide(const Truck& truck, const Track& track, double frameSeconds);

    int nextWaypoint;
    double slowTime;       // seconds spent stuck so far
    double wrongWayTime;   // seconds spent facing away from the waypoint
    double reverseLeft;    // seconds of recovery still to reverse
    bool reverseLeftLock;  // steering held while reversing: towards the left
    int recoveries;

private:
    void passWaypoints(const Truck& truck, const Track& track);
};
