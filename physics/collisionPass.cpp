#include "physics/collisionPass.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "physics/physics.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// A box overlaps nothing unless its bounds meet the other's, so the union of a body's box bounds
// is a safe first test. A box with a non-finite corner has a zero edge line and overlaps nothing,
// so the comparisons may skip its NaN bounds.
// Inlined: taken for every body every sub-step, most of them walls of one box.
static inline __attribute__((always_inline)) BodyBounds boundsOf(const PhysicsObject& body) {
    const float big = std::numeric_limits<float>::infinity();
#if defined(__SSE2__)
    // The four comparisons of a box side by side: minps gives box < b ? box : b and maxps
    // box > b ? box : b, lane by lane, which are the scalar tests below to the bit (a NaN keeps b).
    __m128 b = _mm_setr_ps(big, -big, big, -big);
    const __m128 minLanes = _mm_castsi128_ps(_mm_setr_epi32(-1, 0, -1, 0));
    for (int i = 0; i < body.boxCount; i++) {
        const PhysBox& box = body.box(i);
        const __m128 v = _mm_setr_ps(box.minX, box.maxX, box.minY, box.maxY);
        b = _mm_or_ps(_mm_and_ps(minLanes, _mm_min_ps(v, b)), _mm_andnot_ps(minLanes, _mm_max_ps(v, b)));
    }
    BodyBounds out;
    _mm_storeu_ps(&out.minX, b);
    return out;
#else
    BodyBounds b = {big, -big, big, -big};
    for (int i = 0; i < body.boxCount; i++) {
        const PhysBox& box = body.box(i);
        if (box.minX < b.minX) b.minX = box.minX;
        if (box.maxX > b.maxX) b.maxX = box.maxX;
        if (box.minY < b.minY) b.minY = box.minY;
        if (box.maxY > b.maxY) b.maxY = box.maxY;
    }
    return b;
#endif
}

// Asks for every cache line of a body's boxes, without waiting for them.
static void prefetchBoxes(const PhysicsObject& body) {
    const char* first = (const char*)body.boxes;
    const char* end = (const char*)(body.boxes + body.boxCount);
    for (const char* line = first; line < end; line += 64) __builtin_prefetch(line);
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

// The column (or row) of the grid cell that holds v: monotonic in v, so two bounds that meet
// share at least one cell. In double, where the offset and the division of floats cannot overflow.
static int cellOf(float v, double origin, double size, int side) {
    double c = ((double)v - origin) / size;
    if (!(c > 0.0)) return 0;
    if (c >= side) return side - 1;
    return (int)c;
}

// Every moving pair (i < j) whose bounds meet, as i * count + j in ascending order, through a
// uniform grid over the bodies' bounds: each body is listed in every cell its bounds cover, and a
// pair is taken only in the first cell both cover, so once. The sweep along x tests every pair
// that overlaps in x, which at a constant density grows as the count to the power 1.5; the grid
// tests only bodies that share a cell. False when the scene does not fit the scratch, or a body's
// bounds are infinite.
static bool gridMovingPairs(const CollisionScratch& s, int count, int& pairCount) {
    const double big = std::numeric_limits<double>::infinity();
    double minX = big, maxX = -big, minY = big, maxY = -big, sizes = 0.0;
    int listed = 0;
    for (int k = 0; k < count; k++) {
        const BodyBounds& b = s.movingBounds[k];
        if (!(b.minX <= b.maxX && b.minY <= b.maxY)) continue;
        if (!std::isfinite(b.minX) || !std::isfinite(b.maxX) || !std::isfinite(b.minY) || !std::isfinite(b.maxY))
            return false;
        minX = std::min(minX, (double)b.minX);
        maxX = std::max(maxX, (double)b.maxX);
        minY = std::min(minY, (double)b.minY);
        maxY = std::max(maxY, (double)b.maxY);
        sizes += ((double)b.maxX - b.minX) + ((double)b.maxY - b.minY);
        listed++;
    }
    // About one body to a cell when they are spread evenly, but no cell narrower than the mean
    // body, so that a body covers about four cells at most.
    int side = (int)std::sqrt((double)count);
    if (listed > 0 && sizes > 0.0) {
        double across = std::min(maxX - minX, maxY - minY) / (sizes / (2 * listed));
        if (across < side) side = (int)across;
    }
    while (side > 1 && side * side > s.cellCapacity) side--;
    if (side < 1) side = 1;
    if (side * side > s.cellCapacity) return false;
    const int cells = side * side;
    double cellW = (maxX - minX) / side, cellH = (maxY - minY) / side;
    if (!(cellW > 0.0)) cellW = 1.0;
    if (!(cellH > 0.0)) cellH = 1.0;

    // Counted into cellStarts[c + 1], then summed into starts, then filled with cellStarts[c] as
    // the cursor: afterwards cellStarts[c] is where cell c ends. Bodies go in by index, so every
    // cell lists them in ascending order. movingOrder keeps each body's first cell.
    for (int c = 0; c <= cells; c++) s.cellStarts[c] = 0;
    long long entries = 0;
    for (int k = 0; k < count; k++) {
        const BodyBounds& b = s.movingBounds[k];
        s.movingOrder[k] = -1;
        if (!(b.minX <= b.maxX && b.minY <= b.maxY)) continue;
        int x0 = cellOf(b.minX, minX, cellW, side), x1 = cellOf(b.maxX, minX, cellW, side);
        int y0 = cellOf(b.minY, minY, cellH, side), y1 = cellOf(b.maxY, minY, cellH, side);
        entries += (long long)(x1 - x0 + 1) * (y1 - y0 + 1);
        if (entries > s.entryCapacity) return false;
        s.movingOrder[k] = y0 * side + x0;
        for (int y = y0; y <= y1; y++)
            for (int x = x0; x <= x1; x++) s.cellStarts[y * side + x + 1]++;
    }
    for (int c = 0; c < cells; c++) s.cellStarts[c + 1] += s.cellStarts[c];
    for (int k = 0; k < count; k++) {
        const BodyBounds& b = s.movingBounds[k];
        if (s.movingOrder[k] < 0) continue;
        int x0 = s.movingOrder[k] % side, x1 = cellOf(b.maxX, minX, cellW, side);
        int y0 = s.movingOrder[k] / side, y1 = cellOf(b.maxY, minY, cellH, side);
        for (int y = y0; y <= y1; y++)
            for (int x = x0; x <= x1; x++) s.entries[s.cellStarts[y * side + x]++] = k;
    }

    pairCount = 0;
    for (int c = 0; c < cells; c++) {
        const int begin = c > 0 ? s.cellStarts[c - 1] : 0, end = s.cellStarts[c];
        const int column = c % side, row = c / side;
        for (int k = begin; k < end; k++) {
            const int a = s.entries[k];
            const BodyBounds& ba = s.movingBounds[a];
            const int firstA = s.movingOrder[a];
            for (int l = k + 1; l < end; l++) {
                // Without branches, as in the sweep: the outcomes are random.
                const int b = s.entries[l], firstB = s.movingOrder[b];
                const BodyBounds& bb = s.movingBounds[b];
                bool apart = (ba.minX > bb.maxX) | (ba.maxX < bb.minX) | (ba.maxY < bb.minY) | (ba.minY > bb.maxY);
                bool here = (std::max(firstA % side, firstB % side) == column) &
                            (std::max(firstA / side, firstB / side) == row);
                if (pairCount >= s.pairCapacity) return false;
                s.pairs[pairCount] = (long long)a * count + b;
                pairCount += !apart & here;
            }
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
        // A copy: the collisions move bodies, not these bounds, but the compiler cannot know it.
        const BodyBounds bi = s.movingBounds[i];
        for (int j = 0; j < staticCount; j++) {
            if (boundsMeet(bi, s.staticBounds[j])) world.collide(*moving[i], *statics[j]);
        }
    }
}

// The cells' lists for these bounds, unless they are the ones the cells hold already; false when
// there are more static bodies than the cells hold.
static bool prepareCells(StaticCells& cells, const BodyBounds* bounds, int count) {
    if (count > StaticCells::capacity) return false;
    if (cells.count == count && memcmp(cells.bounds, bounds, sizeof bounds[0] * count) == 0) return true;
    memcpy(cells.bounds, bounds, sizeof bounds[0] * count);
    cells.count = count;
    int n = 0;
    for (int c = 0; c < StaticCells::side * StaticCells::side; c++) {
        cells.starts[c] = n;
        float x = (float)(c % StaticCells::side) * StaticCells::cellUnits;
        float y = (float)(c / StaticCells::side) * StaticCells::cellUnits;
        const BodyBounds reach = {x - StaticCells::cellUnits, x + 2 * StaticCells::cellUnits,
                                  y - StaticCells::cellUnits, y + 2 * StaticCells::cellUnits};
        for (int j = 0; j < count; j++)
            if (boundsMeet(reach, bounds[j])) cells.entries[n++] = j;
    }
    cells.starts[StaticCells::side * StaticCells::side] = n;
    return true;
}

// The cell whose reach holds all of b, or -1 (a NaN bound is within none).
static int cellHolding(const BodyBounds& b) {
    const float size = StaticCells::cellUnits, far = StaticCells::side * size;
    if (!(b.minX >= 0.0f && b.minX < far && b.minY >= 0.0f && b.minY < far)) return -1;
    int cx = (int)(b.minX / size), cy = (int)(b.minY / size);
    if (!(b.maxX <= (float)(cx + 2) * size && b.maxY <= (float)(cy + 2) * size)) return -1;
    return cy * StaticCells::side + cx;
}

// collideStaticPlain's pairs in its order: a moving body within a cell's reach tests the cell's
// static bodies, the only ones its bounds can meet, in list order; any other tests them all.
static void collideStaticCells(Physics& world, PhysicsObject* const* moving, int movingCount,
                               PhysicsObject* const* statics, int staticCount, const CollisionScratch& s) {
    const StaticCells& cells = *s.staticCells;
    for (int i = 0; i < movingCount; i++) {
        const BodyBounds bi = s.movingBounds[i];
        int c = cellHolding(bi);
        if (c < 0) {
            for (int j = 0; j < staticCount; j++)
                if (boundsMeet(bi, s.staticBounds[j])) world.collide(*moving[i], *statics[j]);
            continue;
        }
        for (int k = cells.starts[c]; k < cells.starts[c + 1]; k++) {
            int j = cells.entries[k];
            if (boundsMeet(bi, s.staticBounds[j])) world.collide(*moving[i], *statics[j]);
        }
    }
}

void collideAll(Physics& world, PhysicsObject* const* moving, int movingCount, PhysicsObject* const* statics,
                int staticCount, CollisionScratch& s) {
    for (int i = 0; i < movingCount; i++) s.movingBounds[i] = boundsOf(*moving[i]);
    for (int j = 0; j < staticCount; j++) s.staticBounds[j] = boundsOf(*statics[j]);
    if ((long long)movingCount * (movingCount + staticCount) <= fewPairs) {
        collideMovingPlain(world, moving, movingCount, s);
        if (s.staticCells && prepareCells(*s.staticCells, s.staticBounds, staticCount))
            collideStaticCells(world, moving, movingCount, statics, staticCount, s);
        else
            collideStaticPlain(world, moving, movingCount, statics, staticCount, s);
        return;
    }
    sortByLeft(s.staticBounds, s.staticOrder, staticCount);

    int pairCount = 0;
    bool listed = gridMovingPairs(s, movingCount, pairCount);
    if (!listed) {
        sortByLeft(s.movingBounds, s.movingOrder, movingCount);
        listed = sweepMovingPairs(s, movingCount, pairCount);
    }
    if (listed) {
        for (int p = 0; p < pairCount; p++) {
            // The second bodies of the pairs come in no order in memory: fetch those a few pairs
            // ahead, so that their boxes are in the cache when the box tests need them.
            if (p + 8 < pairCount) __builtin_prefetch(moving[s.pairs[p + 8] % movingCount]);
            if (p + 4 < pairCount) prefetchBoxes(*moving[s.pairs[p + 4] % movingCount]);
            world.collide(*moving[s.pairs[p] / movingCount], *moving[s.pairs[p] % movingCount]);
        }
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
            s.candidates[found] = j;
            found += boundsMeet(bi, bj);
        }
        // Back into list order, so that the walls push in the order the plain loop would.
        std::sort(s.candidates, s.candidates + found);
        for (int c = 0; c < found; c++) world.collide(*moving[i], *statics[s.candidates[c]]);
    }
}
