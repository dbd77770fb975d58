#pragma once
// The moving body of the simulation: a point mass with tyre grip and surface drag and an owned
// array of collision boxes. It has no rotation of its own; its owner turns it by setting the
// heading and writing the box corners.
#include "physics/physBox.h"

struct BoxPairList;

// Tyres hold while the sideways speed stays below this (units per second).
const double gripSlideSpeed = 40.0;
// Sideways force per unit of sideways speed while the tyres hold (per second).
const float gripGain = 8.0f;
// Drag force per unit of drag coefficient and of speed (per second).
const float dragGain = 9.0f;

class PhysicsObject {
public:
    explicit PhysicsObject(int boxCount = 2);
    // Copies own their own boxes.
    PhysicsObject(const PhysicsObject& other);
    PhysicsObject& operator=(const PhysicsObject& other);
    virtual ~PhysicsObject();

    // Replaces the box array with n default boxes (none for n <= 0).
    void allocateBoxes(int n);
    // Unchecked: callers keep i in 0 .. boxCount - 1.
    PhysBox& box(int i) { return boxes[i]; }
    const PhysBox& box(int i) const { return boxes[i]; }

    void setPosition(float x, float y);
    float getX() const { return position[0]; }
    float getY() const { return position[1]; }
    float getSpeed() const { return speed; }
    void setDrag(float d) { drag = d; }
    void setHeading(float x, float y);
    void setStatic(int flag) { isStatic = flag; }
    bool isStaticObject() const { return isStatic != 0; }
    void stop();
    // Velocity change of force (fx, fy) acting for the current time step.
    void applyForce(float fx, float fy);
    // An immediate velocity change, without time step or mass (collision response).
    void addVelocity(float dvx, float dvy);
    bool isMovingForward() const;
    // One sub-step of motion; the physics world calls it for each moving body.
    void integrate();
    // Fills list with every overlapping (own box, other's box) pair; true when there was one.
    bool findOverlappingBoxes(const PhysicsObject& other, BoxPairList& list) const;

    float speed;
    float drag;
    float mass;
    float velocity[2];
    float prevVelocity[2];
    float position[2];
    float prevPosition[2];
    float heading[2];
    int isStatic;
    // Speed changes from collisions summed over the body's life; the sounds read it, the motion never.
    double collisionKickTotal;
    PhysBox* boxes;
    int boxCount;
};
