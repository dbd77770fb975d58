#pragma once
// The world's collision pass with a broad phase: the bounds of every body, a uniform grid (or, when
// the grid does not fit its scratch, a sort and sweep along x) for the moving pairs and a scan of
// the x-sorted static bodies for each moving one; for a race's few bodies, plain loops, the
// static ones by the cells kept between passes (StaticCells). Only pairs
// whose bounds meet reach the box tests, and they are resolved in the order of the plain double
// loop (moving pairs by (i, j), then each moving body against the static ones by j), so every
// position and velocity comes out as it would from testing all pairs.
class Physics;
class PhysicsObject;

// The axis-aligned bounds of all of a body's boxes; empty (min above max) for a body without any.
struct BodyBounds {
    float minX, maxX, minY, maxY;
};

// The static bodies near each cell of a fixed grid, kept from pass to pass while their bounds
// stay the same to the bit (a race's walls): a moving body within one cell's reach tests only
// those, in list order. Cells of 256 units over the first 2048 each way, where the courses lie;
// a cell reaches a whole cell beyond each of its sides, so a truck near its edge stays within it.
struct StaticCells {
    static constexpr int side = 8;
    static constexpr float cellUnits = 256.0f;
    static constexpr int capacity = 256;  // static bodies it can hold; more go the plain way
    int count = -1;                       // the static bodies it was built for; -1 before any
    BodyBounds bounds[capacity];
    int starts[side * side + 1];
    int entries[side * side * capacity];
};

// Working space for one pass, sized by its owner: bounds, order and bounds in that order for
// every moving body, bounds and order for every static body, room for pairCapacity moving pairs,
// and the grid: cellCapacity + 1 cell starts and entryCapacity (body, cell) entries.
struct CollisionScratch {
    BodyBounds* movingBounds;
    int* movingOrder;
    BodyBounds* sortedBounds;
    BodyBounds* staticBounds;
    int* staticOrder;
    int* candidates;
    int candidateCapacity;
    long long* pairs;
    int pairCapacity;
    int* cellStarts;
    int cellCapacity;
    int* entries;
    int entryCapacity;
    StaticCells* staticCells;  // kept by the world between passes; null for none
};

// A moving pair or a moving-static pair: world.collide on every pair of bodies whose bounds meet.
void collideAll(Physics& world, PhysicsObject* const* moving, int movingCount, PhysicsObject* const* statics,
                int staticCount, CollisionScratch& scratch);
