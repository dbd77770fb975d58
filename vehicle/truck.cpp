#include "vehicle/truck.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/assert.h"
#include "graphics/texture.h"
#include "math/vector.h"
#include "physics/physics.h"
#include "track/track.h"
#include "vehicle/boxPlacement.h"

// The picture is 128 texels square, but coordinates are texel / 127.
static const float texelScale = 1.0f / 127.0f;

// Builds a quad centred on its origin from the texel rectangle a..c across and d..b along, with
// b < d so that the outline runs clockwise from the front left.
static void buildQuad(TexturedQuad& q, uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    float w = (float)(c - a), h = (float)(b - d);
    float x0 = -w / 2, y0 = -h / 2;
    const float v[4][2] = {{x0, y0}, {x0 + w, y0}, {x0 + w, y0 + h}, {x0, y0 + h}};
    const float t[4][2] = {{(float)a, (float)d}, {(float)c, (float)d}, {(float)c, (float)b}, {(float)a, (float)b}};
    for (int i = 0; i < 4; i++) {
        q.vertices[i][0] = v[i][0];
        q.vertices[i][1] = v[i][1];
        q.texCoords[i][0] = t[i][0] * texelScale;
        q.texCoords[i][1] = t[i][1] * texelScale;
    }
}

static void drawQuad(const TexturedQuad& q) {
    glBegin(GL_POLYGON);
    for (int i = 0; i < 4; i++) {
        glTexCoord2fv(q.texCoords[i]);
        glVertex2fv(q.vertices[i]);
    }
    glEnd();
}

// Moves value towards target by at most step, never past it. The move is made in double and
// rounded once, as value + rate * dt is.
static float approach(float value, float target, double step) {
    if (value < target) return value + step < target ? (float)(value + step) : target;
    if (value > target) return value - step > target ? (float)(value - step) : target;
    return value;
}

Truck::Truck()
    : body(2), texture(nullptr), steerTarget(0), powerTarget(0), power(0), cabHeading(-90), trailerHeading(-90),
      steerAngle(0), gear(0), track(nullptr), lapCount(0), lastCheckpoint(0), nextCheckpoint(1), racePosition(1),
      bestLapTime(noLapTime), lastLapTime(0), drawAlpha(1.0f) {
    // The outlines do not depend on the picture; laying them out now gives a truck that never
    // got a texture real collision boxes instead of points.
    setTexture(nullptr);
}

Truck::~Truck() {}

void Truck::setTexture(Texture* t) {
    texture = t;
    buildQuad(cabQuad, 4, 52, 50, 119);
    buildQuad(trailerQuad, 65, 2, 114, 117);
    buildQuad(wheelQuad, 0, 11, 5, 0);
}

void Truck::steer(float amount) { steerTarget = amount * steerToWheelAngle; }

void Truck::selectGear(int dir) {
    if (dir != -1) {
        gear = 1;
    } else if (power == 0.0f) {
        gear = -1;
    }
}

void Truck::setThrottle(int dir) {
    if (gear == 0) return;
    powerTarget = dir > 0 ? forwardPower : reversePower;
}

void Truck::SineMemo::of(double angle, double& s, double& c) {
    uint64_t now;
    memcpy(&now, &angle, sizeof now);
    if (!known || now != bits) {
        sine = sin(angle);
        cosine = cos(angle);
        bits = now;
        known = true;
    }
    s = sine;
    c = cosine;
}

void Truck::update() {
    double dt = frameTime;
    float x = body.getX(), y = body.getY();
    // The body integrates finite motion over a finite step, so only a bug puts the truck nowhere.
    TD_ASSERT(std::isfinite(dt) && dt >= 0.0);
    TD_ASSERT(std::isfinite(x) && std::isfinite(y) && std::isfinite(body.getSpeed()));

    // The ground under the hitch sets the drag of the next integrate.
    if (track) body.setDrag(track->frictionAt(x, y));

    // Turn by the distance travelled: at rest nothing turns, and reversing turns the other way.
    float dist = (float)(body.getSpeed() * dt);
    if (!body.isMovingForward()) dist = -dist;
    cabHeading += (dist / cabTurnLength) * steerAngle;
    wrapAngleInPlace(cabHeading);
    float follow = angleDifference(cabHeading + steerAngle, trailerHeading);
    float bend = angleDifference(cabHeading, trailerHeading);
    if (bend < -maxTrailerBend || bend > maxTrailerBend) follow = 0.0f;
    trailerHeading += (dist / trailerTurnLength) * follow;
    wrapAngleInPlace(trailerHeading);
    holdBendLimit();
    TD_ASSERT(std::isfinite(cabHeading) && std::isfinite(trailerHeading));

    // Engine force along 0.4 of the wheel direction plus 0.6 of the trailer's; the blend is also
    // the body's heading, so its grip follows the truck even at zero power.
    float wheelHeading = cabHeading + steerAngle;
    double wheel = wheelHeading * degToRad, trailer = trailerHeading * degToRad;
    double wheelSin, wheelCos, trailerSin, trailerCos;
    wheelSine.of(wheel, wheelSin, wheelCos);
    trailerSine.of(trailer, trailerSin, trailerCos);
    // u and w are the game's float vectors, so each is rounded to float before the blend.
    const float u[2] = {(float)-wheelSin, (float)wheelCos}, w[2] = {(float)-trailerSin, (float)trailerCos};
    float dir[2] = {(float)(0.4 * u[0] + 0.6 * w[0]), (float)(0.4 * u[1] + 0.6 * w[1])};
    float force = power * enginePowerToForce;
    body.setHeading(dir[0], dir[1]);
    body.applyForce(dir[0] * force, dir[1] * force);

    // The controls act from the next sub-step on, and only if they are given again.
    double step = (steerTarget != 0.0f ? responseRate : returnRate) * dt;
    steerAngle = approach(steerAngle, steerTarget, step);
    steerTarget = 0.0f;
    step = (powerTarget != 0.0f ? responseRate : returnRate) * dt;
    power = approach(power, powerTarget, step);
    powerTarget = 0.0f;

    // The cab and trailer have not turned since: the trailer's sine and cosine serve its box, and
    // with the wheels straight (the same angle to the bit, signed zero included) so do the wheels'.
    bool straight = wheelHeading == cabHeading && std::signbit(wheelHeading) == std::signbit(cabHeading);
    if (!straight) {
        cabSine.of(cabHeading * degToRad, wheelSin, wheelCos);
    }
    placeBoxes((float)wheelCos, (float)wheelSin, (float)trailerCos, (float)trailerSin);
    if (track) countCheckpoint();
}

// A trailer that stops following does not stop the cab: reversing, or a wall pushing the truck
// backwards, jackknifes it past maxTrailerBend, and the cab, still steering, would fold on right
// under its trailer. At the coupling's stop the cab carries the trailer round with it instead.
void Truck::holdBendLimit() {
    float bend = angleDifference(cabHeading, trailerHeading);
    if (bend > maxCabBend) {
        trailerHeading = cabHeading - maxCabBend;
    } else if (bend < -maxCabBend) {
        trailerHeading = cabHeading + maxCabBend;
    } else {
        return;
    }
    wrapAngleInPlace(trailerHeading);
}

// The boxes follow the same translate/rotate chain as draw, so they cover the picture exactly.
void Truck::placeBoxes(float cabCos, float cabSin, float trailerCos, float trailerSin) {
    BoxFrame frames[2] = {boxFrame(body.getX(), body.getY(), cabCos, cabSin, cabOffset),
                          boxFrame(body.getX(), body.getY(), trailerCos, trailerSin, trailerOffset)};
    const TexturedQuad* quads[2] = {&cabQuad, &trailerQuad};
    for (int b = 0; b < 2 && b < body.boxCount; b++) placeBox(body.box(b), frames[b], quads[b]->vertices);
}

// Checkpoints count only in order; reaching checkpoint 0 again completes a lap.
void Truck::countCheckpoint() {
    // Only the next checkpoint counts, so a truck off its cell is done without the list's scan.
    if (nextCheckpoint < 0 || nextCheckpoint >= track->checkpointCount()) return;
    int tileX, tileY;
    worldToTile(body.getX(), body.getY(), tileX, tileY);
    const TileCoord& next = track->checkpoints[nextCheckpoint];
    if (next.x != tileX || next.y != tileY) return;
    // The list's first entry for the cell: an earlier checkpoint on the same cell takes it.
    int idx = track->checkpointAt(body.getX(), body.getY());
    if (idx < 0 || idx != nextCheckpoint) return;
    lastCheckpoint = nextCheckpoint;
    nextCheckpoint++;
    if (nextCheckpoint >= track->checkpointCount()) nextCheckpoint = 0;
    if (lastCheckpoint == 0) {
        lapCount++;
        lastLapTime = lapTimer.elapsedSeconds();
        if (lastLapTime < bestLapTime) bestLapTime = lastLapTime;
        lapTimer.reset();
    }
}

void Truck::draw(float alpha) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPushMatrix();
    if (texture) texture->bind();
    glColor4f(1, 1, 1, alpha * drawAlpha);

    glPushMatrix();
    glTranslatef(body.getX(), body.getY(), 0);

    glPushMatrix();
    glRotatef(cabHeading, 0, 0, 1);
    glTranslatef(0, cabOffset, 0);
    const float wheels[2][2] = {{frontWheelX, frontWheelY}, {-frontWheelX, frontWheelY}};
    for (int i = 0; i < 2; i++) {
        glPushMatrix();
        glTranslatef(wheels[i][0], wheels[i][1], 0);
        glRotatef(steerAngle, 0, 0, 1);
        drawQuad(wheelQuad);
        glPopMatrix();
    }
    drawQuad(cabQuad);
    glPopMatrix();

    // Drawn after the cab, so the trailer covers the cab's rear over the coupling.
    glRotatef(trailerHeading, 0, 0, 1);
    glTranslatef(0, trailerOffset, 0);
    drawQuad(trailerQuad);

    glPopMatrix();
    glPopMatrix();
    glDisable(GL_BLEND);
}

void Truck::resetForRace(Physics& physics) { resetForRace(&physics); }

void Truck::resetForRace(Physics* physics) {
    trailerHeading = -90;
    cabHeading = -90;
    body.setPosition(0, 55);
    gear = 0;
    racePosition = 1;
    lastLapTime = 0;
    power = 0;
    steerAngle = 0;
    steerTarget = 0;
    powerTarget = 0;
    bestLapTime = noLapTime;
    lapCount = 0;
    lastCheckpoint = 0;
    nextCheckpoint = 1;
    body.stop();
    // Without this the trapezoid would carry half of last race's speed into the first step,
    // and a truck on the grid would creep off its slot.
    body.prevVelocity[0] = body.prevVelocity[1] = 0.0f;
    if (physics) physics->addObject(&body, false);
}

void Truck::boxesAt(float x, float y, float heading, PhysBox out[2]) const {
    double radians = heading * degToRad;
    float c = (float)cos(radians), s = (float)sin(radians);
    placeBox(out[0], boxFrame(x, y, c, s, cabOffset), cabQuad.vertices);
    placeBox(out[1], boxFrame(x, y, c, s, trailerOffset), trailerQuad.vertices);
}

void Truck::putBack(float x, float y, float heading) {
    cabHeading = trailerHeading = heading;
    wrapAngleInPlace(cabHeading);
    wrapAngleInPlace(trailerHeading);
    steerAngle = steerTarget = 0;
    power = powerTarget = 0;
    body.setPosition(x, y);
    body.stop();
    // As at the race reset: no half of the old speed may carry into the next step.
    body.prevVelocity[0] = body.prevVelocity[1] = 0.0f;
    body.speed = 0.0f;
    body.prevPosition[0] = x;
    body.prevPosition[1] = y;
    double radians = cabHeading * degToRad;
    float c = (float)cos(radians), s = (float)sin(radians);
    // The blend of wheel and trailer directions, which both face the heading now.
    body.setHeading(-s, c);
    // Placed now, so the collisions of the very next step see the truck where it stands.
    placeBoxes(c, s, c, s);
}

float Truck::averageHeading() const { return angleMidpoint(trailerHeading, cabHeading); }
