#include "physics/collisionPass.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "physics/physics.h"

// A box overlaps nothing unless its bounds meet the other's, so the union of a body's box bounds
// is a safe first test. A box with a non-finite corner has a zero edge line and overlaps nothing,
// so the comparisons may skip its NaN bounds.
static BodyBounds boundsOf(const PhysicsObject& body) {
    const float big = std::numeric_limits<float>::infinity();
    BodyBounds b = {big, -big, big, -big};
    for (int i = 0; i < body.boxCount; i++) {
        const PhysBox& box = body.box(i);
        if (box.minX < b.minX) b.minX = box.minX;
        if (box.maxX > b.maxX) b.maxX = box.maxX;
        if (box.minY < b.minY) b.minY = box.minY;
        if (box.maxY > b.maxY) b.maxY = box.maxY;
    }
    return b;
}

// Up to this many pairs the plain loops are quicker than a sort and sweep (a race has 175).
static const long long fewPairs = 1024;

// The negation of PhysBox::boundsDisjoint: bounds that merely touch still meet.
static bool boundsMeet(const BodyBounds& a, const BodyBounds& b) {
    return !(a.minX > b.maxX || a.maxX < b.minX || a.maxY < b.minY || a.minY > b.maxY);
}

// Fills order with 0 .. count - 1 sorted by the left edge of the bounds.
static void sortByLeft(const BodyBounds* bounds, int* order, int count) {
    for (int i = 0; i < count; i++) order[i] = i;
    std::sort(order, order + count, [bounds](int a, int b) { return bounds[a].minX < bounds[b].minX; });
}

// Every moving pair (i < j) whose bounds meet, as i * count + j in ascending order; false when
// there are more than the scratch holds.
static bool sweepMovingPairs(const CollisionScratch& s, int count, int& pairCount) {
    // The bounds in sweep order, side by side, and the test without branches: the outcomes are
    // random, and mispredicted branches would cost more than the comparisons.
    for (int k = 0; k < count; k++) s.sortedBounds[k] = s.movingBounds[s.movingOrder[k]];
    pairCount = 0;
    for (int k = 0; k < count; k++) {
        const BodyBounds ba = s.sortedBounds[k];
        if (!(ba.minX <= ba.maxX)) continue;
        long long a = s.movingOrder[k];
        // Sorted by the left edge: from the first that starts after a ends, none meets it.
        for (int l = k + 1; l < count && !(s.sortedBounds[l].minX > ba.maxX); l++) {
            const BodyBounds& bb = s.sortedBounds[l];
            if (pairCount >= s.pairCapacity) return false;
            long long b = s.movingOrder[l];
            bool apart = (ba.minX > bb.maxX) | (ba.maxX < bb.minX) | (ba.maxY < bb.minY) | (ba.minY > bb.maxY);
            s.pairs[pairCount] = a < b ? a * count + b : b * count + a;
            pairCount += !apart;
        }
    }
    std::sort(s.pairs, s.pairs + pairCount);
    return true;
}

// The plain double loops, each pair behind the bounds test: for few bodies quicker than sorting,
// and the way out when the scratch is too small.
static void collideMovingPlain(Physics& world, PhysicsObject* const* moving, int movingCount,
                               const CollisionScratch& s) {
    for (int i = 0; i < movingCount; i++) {
        for (int j = i + 1; j < movingCount; j++) {
            if (boundsMeet(s.movingBounds[i], s.movingBounds[j])) world.collide(*moving[i], *moving[j]);
        }
    }
}

static void collideStaticPlain(Physics& world, PhysicsObject* const* moving, int movingCount,
                               PhysicsObject* const* statics, int staticCount, const CollisionScratch& s) {
    for (int i = 0; i < movingCount; i++) {
        for (int j = 0; j < staticCount; j++) {
            if (boundsMeet(s.movingBounds[i], s.staticBounds[j])) world.collide(*moving[i], *statics[j]);
        }
    }
}

void collideAll(Physics& world, PhysicsObject* const* moving, int movingCount, PhysicsObject* const* statics,
                int staticCount, CollisionScratch& s) {
    for (int i = 0; i < movingCount; i++) s.movingBounds[i] = boundsOf(*moving[i]);
    for (int j = 0; j < staticCount; j++) s.staticBounds[j] = boundsOf(*statics[j]);
    if ((long long)movingCount * (movingCount + staticCount) <= fewPairs) {
        collideMovingPlain(world, moving, movingCount, s);
        collideStaticPlain(world, moving, movingCount, statics, staticCount, s);
        return;
    }
    sortByLeft(s.movingBounds, s.movingOrder, movingCount);
    sortByLeft(s.staticBounds, s.staticOrder, staticCount);

    int pairCount = 0;
    if (sweepMovingPairs(s, movingCount, pairCount)) {
        for (int p = 0; p < pairCount; p++)
            world.collide(*moving[s.pairs[p] / movingCount], *moving[s.pairs[p] % movingCount]);
    } else {
        // More meeting pairs than the scratch holds.
        collideMovingPlain(world, moving, movingCount, s);
    }

    if (staticCount > s.candidateCapacity) {
        // No room to gather the static bodies one moving body meets.
        collideStaticPlain(world, moving, movingCount, statics, staticCount, s);
        return;
    }
    // No static body is wider than this, so none that starts further left of a moving body can
    // reach it. In double, and a hair wider, so that rounding never hides one.
    double widest = 0.0;
    for (int j = 0; j < staticCount; j++) {
        const BodyBounds& b = s.staticBounds[j];
        double w = (double)b.maxX - (double)b.minX;
        if (w > widest) widest = w;
    }
    for (int i = 0; i < movingCount; i++) {
        const BodyBounds& bi = s.movingBounds[i];
        if (!(bi.minX <= bi.maxX)) continue;
        double from = (double)bi.minX - widest;
        from -= 1e-9 * (std::fabs(from) + widest);
        const int* first = std::lower_bound(s.staticOrder, s.staticOrder + staticCount, from,
                                            [&s](int j, double x) { return s.staticBounds[j].minX < x; });
        int found = 0;
        for (int k = (int)(first - s.staticOrder); k < staticCount; k++) {
            int j = s.staticOrder[k];
            const BodyBounds& bj = s.staticBounds[j];
            if (bj.minX > bi.maxX) break;
            if (boundsMeet(bi, bj)) s.candidates[found++] = j;
        }
        // Back into list order, so that the walls push in the order the plain loop would.
        std::sort(s.candidates, s.candidates + found);
        for (int c = 0; c < found; c++) world.collide(*moving[i], *statics[s.candidates[c]]);
    }
}
