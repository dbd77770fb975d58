#include "physics/physics.h"

#include <cmath>

#include "core/errorBox.h"
#include "physics/collisionPass.h"

bool BoxPairList::add(int first, int second) {
    if (count >= maxBoxPairs) return false;
    pairs[count][0] = first;
    pairs[count][1] = second;
    count++;
    return true;
}

Physics::Physics()
    : movingCount(0), staticCount(0), fullListReported(false), staticCells(std::make_unique<StaticCells>()) {
    for (int i = 0; i < maxPhysicsObjects; i++) {
        movingObjects[i] = nullptr;
        staticObjects[i] = nullptr;
    }
}

Physics::~Physics() {}

bool Physics::addObject(PhysicsObject* body, bool isStatic) {
    if (!body) return false;
    PhysicsObject** list = isStatic ? staticObjects : movingObjects;
    int& count = isStatic ? staticCount : movingCount;
    if (count >= maxPhysicsObjects) {
        // The race set-up does not check the result, so the world says it: a refused wall is a gap
        // in the course, a refused truck drives through everything.
        if (!fullListReported) {
            errorBox("Physics::addObject() Error \nThe world holds at most %d %s bodies; the rest are left out.\n",
                     maxPhysicsObjects, isStatic ? "static" : "moving");
            fullListReported = true;
        }
        return false;
    }
    list[count++] = body;
    return true;
}

void Physics::removeAll() {
    movingCount = 0;
    staticCount = 0;
}

void Physics::beginStep() {
    for (int i = 0; i < movingCount; i++) movingObjects[i]->integrate();
}

void Physics::endStep() {
    // Each pair is resolved at once, so later pairs see the positions earlier ones produced; the
    // pass keeps the order of the plain double loops over the moving and then the static pairs.
    BodyBounds movingBounds[maxPhysicsObjects], sortedBounds[maxPhysicsObjects], staticBounds[maxPhysicsObjects];
    int movingOrder[maxPhysicsObjects], staticOrder[maxPhysicsObjects], candidates[maxPhysicsObjects];
    long long pairs[maxSweepPairs];
    // One grid cell per body, and room for each body to cover eight cells on average.
    int cellStarts[maxPhysicsObjects + 1], entries[8 * maxPhysicsObjects];
    CollisionScratch scratch = {movingBounds,          movingOrder,      sortedBounds,      staticBounds,
                                staticOrder,           candidates,       maxPhysicsObjects, pairs,
                                maxSweepPairs,         cellStarts,       maxPhysicsObjects, entries,
                                8 * maxPhysicsObjects, staticCells.get()};
    int moving = movingCount < maxPhysicsObjects ? movingCount : maxPhysicsObjects;
    int statics = staticCount < maxPhysicsObjects ? staticCount : maxPhysicsObjects;
    collideAll(*this, movingObjects, moving, staticObjects, statics, scratch);
}

void Physics::collide(PhysicsObject& a, PhysicsObject& b) {
    BoxPairList list;
    if (a.findOverlappingBoxes(b, list)) resolve(a, b, list);
}

// Tests the four corners against one edge line: the depth of the corner deepest behind it,
// kept in c when it is the shallowest edge so far.
static void testEdge(Contact& c, const float* line, const float (*corners)[2], int side) {
    float pen = 0.0f;
    for (int k = 0; k < 4; k++) {
        float behind = -(line[0] * corners[k][0] + line[1] * corners[k][1] + line[2]);
        if (behind > pen) pen = behind;
    }
    if (pen > 0.0f && pen < c.depth) {
        c.depth = pen;
        c.push[0] = pen * line[0];
        c.push[1] = pen * line[1];
        c.side = side;
    }
}

Contact Physics::findDeepestContact(const PhysicsObject& a, const PhysicsObject& b, const BoxPairList& list) const {
    // No depth means no push: a pair that somehow yields no contact moves nothing.
    Contact best = {0, 0.0f, {0.0f, 0.0f}};
    for (int p = 0; p < list.count; p++) {
        int i = list.pairs[p][0], j = list.pairs[p][1];
        if (i < 0 || i >= a.boxCount || j < 0 || j >= b.boxCount) continue;
        const PhysBox& boxA = a.box(i);
        const PhysBox& boxB = b.box(j);
        // The pair separates most easily along its least deep edge.
        Contact c = {0, 10000000.0f, {0.0f, 0.0f}};
        for (int e = 0; e < 4; e++) testEdge(c, boxA.edgeLines[e], boxB.corners, 0);
        for (int e = 0; e < 4; e++) testEdge(c, boxB.edgeLines[e], boxA.corners, 1);
        if (c.depth < 10000000.0f && c.depth > best.depth) best = c;
    }
    return best;
}

void Physics::resolve(PhysicsObject& a, PhysicsObject& b, const BoxPairList& list) {
    Contact contact = findDeepestContact(a, b, list);
    if (!(contact.depth > 0.0f) || !std::isfinite(contact.push[0]) || !std::isfinite(contact.push[1])) return;
    float shareA = 0.5f, shareB = 0.5f;
    if (a.isStaticObject()) {
        shareA = 0.0f;
        shareB = 1.0f;
    } else if (b.isStaticObject()) {
        shareA = 1.0f;
        shareB = 0.0f;
    }
    // On B's edge A's corner is inside B, so A moves along that edge's normal; on A's edge, against it.
    float s = contact.side == 1 ? 1.0f : -1.0f;
    float dA[2] = {s * shareA * contact.push[0], s * shareA * contact.push[1]};
    float dB[2] = {-s * shareB * contact.push[0], -s * shareB * contact.push[1]};
    a.position[0] += dA[0];
    a.position[1] += dA[1];
    b.position[0] += dB[0];
    b.position[1] += dB[1];
    a.addVelocity(collisionKick * dA[0], collisionKick * dA[1]);
    b.addVelocity(collisionKick * dB[0], collisionKick * dB[1]);
    a.collisionKickTotal += collisionKick * std::sqrt((double)dA[0] * dA[0] + (double)dA[1] * dA[1]);
    b.collisionKickTotal += collisionKick * std::sqrt((double)dB[0] * dB[0] + (double)dB[1] * dB[1]);
}
