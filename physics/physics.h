#pragma once
// The physics world: fixed lists of moving and static bodies, integrated at the start of each
// sub-step and pushed apart at its end, each overlapping pair by a position correction and a
// velocity kick proportional to the penetration.
#include <memory>

#include "physics/physicsObject.h"

struct StaticCells;

const int maxPhysicsObjects = 256;
const int maxBoxPairs = 128;
// Moving pairs whose bounds meet that one collision pass sorts; beyond, it tests every pair.
const int maxSweepPairs = 4096;
// Velocity gained per unit of position correction (per second).
const float collisionKick = 50.0f;

// The overlapping box pairs of two bodies: (box of the first, box of the second).
struct BoxPairList {
    int pairs[maxBoxPairs][2];
    int count;

    BoxPairList() : count(0) {}
    void clear() { count = 0; }
    // False, and nothing added, when the list is full.
    bool add(int first, int second);
};

struct Contact {
    // 0: the contact edge is the first body's; 1: the second body's.
    int side;
    float depth;
    // depth times the edge's outward unit normal.
    float push[2];
};

class Physics {
public:
    Physics();
    virtual ~Physics();

    // False, and nothing changed, when that list is full (or body is null). The first body
    // refused for a full list is reported.
    bool addObject(PhysicsObject* body, bool isStatic);
    void removeAll();
    void beginStep();
    void endStep();
    void collide(PhysicsObject& a, PhysicsObject& b);
    void resolve(PhysicsObject& a, PhysicsObject& b, const BoxPairList& list);
    Contact findDeepestContact(const PhysicsObject& a, const PhysicsObject& b, const BoxPairList& list) const;

    PhysicsObject* movingObjects[maxPhysicsObjects];
    PhysicsObject* staticObjects[maxPhysicsObjects];
    int movingCount;
    int staticCount;
    // A full list has been reported once; the world's later refusals stay quiet.
    bool fullListReported;
    // The static bodies near each place, kept between passes (collisionPass.h).
    std::unique_ptr<StaticCells> staticCells;
};
