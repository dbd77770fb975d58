#pragma once
// How the computer drivers drive at each difficulty: a small table of numbers, one row a level.
// Normal is the classic race's drivers exactly; Easy drives slower and more carefully; Hard
// brakes before bends and cuts to their inside. Every level drives the same truck on the same
// physics, and none looks at where the player is (no catching up, no waiting).

enum class Difficulty { easy, normal, hard };
const int difficultyCount = 3;

struct DriverStyle {
    float topSpeedBest;         // units per second at skill 5
    float topSpeedPerSkill;     // lost per skill level below 5
    float liftOffAimDegrees;    // off the heading this far...
    float liftOffSpeed;         // ...it accelerates only below this
    float steerDeadbandDegrees; // closer than this it lets the wheels straighten
    // Proportional steering: full lock from this far off the heading; 0 steers full lock or not at all.
    float fullSteerDegrees;
    // The line: how far (units) past the waypoint aimed for it looks along the waypoints' path for
    // a point it can drive to straight over the road, cutting the bend; 0 aims at waypoint centres.
    float sightUnits;
    // Braking before bends: the speed it takes a right-angle bend at, how much faster it may
    // go per unit still to travel to the bend, and a lookahead of 0 turns it all off.
    float bendSpeed;
    float bendSpeedPerUnit;
    float bendLookAheadUnits;
    // A later waypoint (up to this many ahead) reached after a cut corner counts; 0: only the one aimed for.
    int waypointSkipAhead;
};

// The row of a level; an out-of-range value reads as Normal.
const DriverStyle& driverStyleFor(Difficulty level);
// "easy", "normal" or "hard".
const char* difficultyName(Difficulty level);
// The level of one of those words; false for anything else.
bool difficultyFromName(const char* name, Difficulty& level);
