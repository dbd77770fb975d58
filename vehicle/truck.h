#pragma once
// An articulated lorry: a steered cab towing a trailer from a hitch. The cab and trailer turn
// kinematically from the distance travelled; the body (at the hitch) is pushed along a blend of
// the wheel and trailer directions, takes its drag from the ground, and carries the cab and
// trailer boxes placed exactly as they are drawn. Also counts checkpoints, laps and lap times.
#include <cstdint>

#include "core/timing.h"
#include "physics/physicsObject.h"

class Physics;
class PhysBox;
class Track;
struct Texture;

// Four local vertices (x, y), then their four texture coordinates (s, t), in the same order.
struct TexturedQuad {
    float vertices[4][2];
    float texCoords[4][2];
};

// Geometry, in local units with the front along +y.
const float cabOffset = 33.0f;           // cab centre ahead of the hitch
const float trailerOffset = -43.0f;      // trailer centre behind the hitch
const float frontWheelX = 21.0f;         // front wheels either side of the cab centre
const float frontWheelY = 20.0f;         // and this far ahead of it
const float cabTurnLength = 64.0f;       // distance over which the cab turns by its wheel angle
const float trailerTurnLength = 280.0f;  // distance over which the trailer follows by the difference
const float maxTrailerBend = 80.0f;      // degrees; bent further, the trailer stops following
const float maxCabBend = 90.0f;          // degrees; the coupling's stop, where the cab meets the trailer

const float enginePowerToForce = 17.0f;
const float forwardPower = 250.0f;
const float reversePower = -100.0f;
const float steerToWheelAngle = 7.0f;  // degrees of wheel angle per unit of steer
const float responseRate = 120.0f;     // per second, towards a nonzero target
const float returnRate = 200.0f;       // per second, back towards zero
// No lap yet (seconds).
const double noLapTime = 1e11;

class Truck {
public:
    Truck();
    ~Truck();

    // Stores the picture and lays out the cab, trailer and wheel quads on it.
    void setTexture(Texture* t);
    void setTrack(Track* t) { track = t; }
    void setPosition(float x, float y) { body.setPosition(x, y); }
    float getX() const { return body.getX(); }
    float getY() const { return body.getY(); }
    float getSpeed() const { return body.getSpeed(); }
    float getPower() const { return power; }

    // The players' controls, consumed by the next update: +3 steers left, -3 right.
    void steer(float amount);
    // Forward for any dir but -1; reverse only from standstill power.
    void selectGear(int dir);
    void setThrottle(int dir);

    // One physics sub-step of the vehicle, after the world's beginStep and the players' control.
    void update();
    // Wheels, cab and trailer, inside the world view; a ghost is drawn with alpha below 1.
    void draw(float alpha = 1.0f);

    int getLapCount() const { return lapCount; }
    int getLastCheckpoint() const { return lastCheckpoint; }
    void setRacePosition(int p) { racePosition = p; }
    int getRacePosition() const { return racePosition; }
    float getLapTime() const { return (float)lapTimer.elapsedSeconds(); }
    float getLastLapTime() const { return (float)lastLapTime; }
    float getBestLapTime() const { return (float)bestLapTime; }
    void resetLapTimer() { lapTimer.reset(); }
    // Back to the start state and into the world as a moving body (a null world only resets).
    void resetForRace(Physics& physics);
    void resetForRace(Physics* physics);
    // Midway between the cab and trailer headings.
    float averageHeading() const;
    // The cab and trailer boxes of the truck standing straight at (x, y) facing heading.
    void boxesAt(float x, float y, float heading, PhysBox out[2]) const;
    // Lifted to (x, y) and set down straight along heading, standing still with the wheels
    // straight and no power; its gear, laps, checkpoints and times are kept.
    void putBack(float x, float y, float heading);

    PhysicsObject body;
    TexturedQuad cabQuad, trailerQuad, wheelQuad;
    Texture* texture;
    float steerTarget;
    float powerTarget;
    float power;
    float cabHeading;
    float trailerHeading;
    float steerAngle;
    int gear;
    Track* track;
    int lapCount;
    int lastCheckpoint;
    int nextCheckpoint;
    int racePosition;
    double bestLapTime;
    double lastLapTime;
    Stopwatch lapTimer;
    float drawAlpha;  // opacity of the picture; below 1 for a truck out of the race

private:
    // The sine and cosine of the last angle (radians) one of the truck's turns was asked for: a
    // heading unchanged since the last sub-step (a truck at rest, a straight run) costs no new
    // sine. Keyed by the angle's bits, so 0 and -0 stay apart as sin tells them apart.
    struct SineMemo {
        bool known = false;
        uint64_t bits = 0;
        double sine = 0.0, cosine = 0.0;
        void of(double angle, double& s, double& c);
    };
    SineMemo wheelSine, trailerSine, cabSine;

    // Keeps the cab within maxCabBend of the trailer.
    void holdBendLimit();
    // cos and sin of the cab and trailer headings in radians, narrowed to float.
    void placeBoxes(float cabCos, float cabSin, float trailerCos, float trailerSin);
    void countCheckpoint();
};
