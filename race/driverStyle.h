#pragma once
// How the computer drivers drive at each difficulty: a small table of numbers, one row a level.
// Normal is the classic race's drivers exactly; Easy drives slower and more carefully; Hard
// follows the course's racing line and lifts off before the bends it cannot take flat out.
// Every level drives the same truck on the same physics; Hard has Normal's top speeds, so it wins
// only by its driving. None looks at where the player is (no catching up, no waiting).

enum class Difficulty { easy, normal, hard };
const int difficultyCount = 3;

struct DriverStyle {
    float topSpeedBest;         // units per second at skill 5
    float topSpeedPerSkill;     // lost per skill level below 5
    float liftOffAimDegrees;    // off the heading this far...
    float liftOffSpeed;         // ...it accelerates only below this
    float steerDeadbandDegrees; // closer than this it lets the wheels straighten
    // Following the course's racing line instead of the waypoints (0: the waypoints): it aims
    // this far along the line, plus lineSightSeconds of its speed, and steers for the arc there.
    float lineSightUnits;
    float lineSightSeconds;
    // How much harder than that arc it steers.
    float lineSteerGain;
    // Bends on the line: taken at sqrt(bendGrip * radius), with the speed it sheds per unit of
    // road before one (units/s per unit) and how far ahead it looks, in seconds of its speed.
    float bendGrip;
    float slowingPerUnit;
    float bendLookSeconds;
};

// The row of a level; an out-of-range value reads as Normal.
const DriverStyle& driverStyleFor(Difficulty level);
// "easy", "normal" or "hard".
const char* difficultyName(Difficulty level);
// The level of one of those words; false for anything else.
bool difficultyFromName(const char* name, Difficulty& level);
