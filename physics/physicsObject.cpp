#include "physics/physicsObject.h"

#include <cmath>

#include "core/assert.h"
#include "core/timing.h"
#include "math/vector.h"
#include "physics/physics.h"

// The sub-step length; the timer and the sub-step split keep it finite and never negative.
static double stepLength() {
    TD_ASSERT(std::isfinite(frameTime) && frameTime >= 0.0);
    return frameTime;
}

static bool finitePair(const float* v) { return std::isfinite(v[0]) && std::isfinite(v[1]); }

PhysicsObject::PhysicsObject(int n)
    : speed(0.0f), drag(0.2f), mass(1.0f), isStatic(0), collisionKickTotal(0.0), boxes(nullptr), boxCount(0) {
    velocity[0] = velocity[1] = 0.0f;
    prevVelocity[0] = prevVelocity[1] = 0.0f;
    position[0] = position[1] = 0.0f;
    prevPosition[0] = prevPosition[1] = 0.0f;
    heading[0] = 0.0f;
    heading[1] = 1.0f;
    allocateBoxes(n);
}

PhysicsObject::PhysicsObject(const PhysicsObject& other) : boxes(nullptr), boxCount(0) { *this = other; }

PhysicsObject& PhysicsObject::operator=(const PhysicsObject& other) {
    if (this == &other) return *this;
    speed = other.speed;
    drag = other.drag;
    mass = other.mass;
    for (int i = 0; i < 2; i++) {
        velocity[i] = other.velocity[i];
        prevVelocity[i] = other.prevVelocity[i];
        position[i] = other.position[i];
        prevPosition[i] = other.prevPosition[i];
        heading[i] = other.heading[i];
    }
    isStatic = other.isStatic;
    collisionKickTotal = other.collisionKickTotal;
    if (boxCount != other.boxCount) allocateBoxes(other.boxCount);
    for (int i = 0; i < boxCount; i++) boxes[i] = other.boxes[i];
    return *this;
}

PhysicsObject::~PhysicsObject() { delete[] boxes; }

void PhysicsObject::allocateBoxes(int n) {
    delete[] boxes;
    boxes = nullptr;
    boxCount = 0;
    if (n <= 0) return;
    boxes = new PhysBox[n];
    boxCount = n;
}

void PhysicsObject::setPosition(float x, float y) {
    position[0] = x;
    position[1] = y;
}

void PhysicsObject::setHeading(float x, float y) {
    heading[0] = x;
    heading[1] = y;
}

void PhysicsObject::stop() {
    velocity[0] = 0.0f;
    velocity[1] = 0.0f;
}

void PhysicsObject::applyForce(float fx, float fy) {
    // Nothing changes the mass from its initial 1.
    TD_ASSERT(mass > 0.0f);
    double dt = stepLength();
    float ax = fx / mass, ay = fy / mass;
    // The increment stays in double: the sum is rounded to float once.
    velocity[0] = (float)(velocity[0] + ax * dt);
    velocity[1] = (float)(velocity[1] + ay * dt);
}

void PhysicsObject::addVelocity(float dvx, float dvy) {
    velocity[0] += dvx;
    velocity[1] += dvy;
}

bool PhysicsObject::isMovingForward() const { return dotProduct(heading, velocity) >= 0.0f; }

void PhysicsObject::integrate() {
    double dt = stepLength();
    // Finite forces, drag and time steps keep the motion finite; NaN here is a bug upstream.
    TD_ASSERT(finitePair(velocity) && finitePair(prevVelocity) && finitePair(position));

    speed = (float)vectorLength(velocity);
    prevPosition[0] = position[0];
    prevPosition[1] = position[1];
    // Trapezoid over the velocity now and at the end of the last integrate: whatever changed the
    // velocity since (engine, collisions) enters at half weight.
    // The float sum of the velocities, then the step in double, rounded once with the position.
    position[0] = (float)(position[0] + (velocity[0] + prevVelocity[0]) * 0.5 * dt);
    position[1] = (float)(position[1] + (velocity[1] + prevVelocity[1]) * 0.5 * dt);

    if (speed != 0.0f) {
        float dir[2] = {velocity[0] / speed, velocity[1] / speed};
        // The heading turned 90 degrees clockwise: the right-hand side of the direction of travel.
        float side[2] = {heading[1], -heading[0]};
        float d = dotProduct(side, dir);
        float force[2] = {0.0f, 0.0f};
        if (fabs(d) * (double)speed < gripSlideSpeed) {
            force[0] = -side[0] * d * speed * gripGain;
            force[1] = -side[1] * d * speed * gripGain;
        }
        force[0] -= drag * velocity[0] * dragGain;
        force[1] -= drag * velocity[1] * dragGain;
        applyForce(force[0], force[1]);
        TD_ASSERT(finitePair(velocity));
    }

    speed = (float)vectorLength(velocity);
    prevVelocity[0] = velocity[0];
    prevVelocity[1] = velocity[1];
}

bool PhysicsObject::findOverlappingBoxes(const PhysicsObject& other, BoxPairList& list) const {
    bool found = false;
    for (int i = 0; i < boxCount; i++) {
        for (int j = 0; j < other.boxCount; j++) {
            if (boxes[i].overlaps(other.boxes[j])) {
                list.add(i, j);
                found = true;
            }
        }
    }
    return found;
}
