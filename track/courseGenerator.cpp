#include "track/courseGenerator.h"

#include <cinttypes>
#include <cstdio>

#include "track/courseShape.h"

// Fresh starts from one seed before it is given up.
static const int maxAttempts = 64;
// Tiles tried per attempt: far more than any course takes, to bound the work.
static const int maxGrowTries = 300;
// Tiles the patch inside the road grows by, at most.
static const int mostGrowth = 14;
// The first patch's sides, in tiles: wide enough for the line and its grid round it (the ring
// is two tiles wider), and within the grid with its ring.
static const int narrowestPatch = 3;
static const int widestPatch = trackGridSize - 2;
static const int highestPatch = trackGridSize - 2;
// One ground tile in this many off the road gets one of the four other ground pictures.
static const int scatterOneIn = 5;
static const int firstScatteredGround = 11;
static const int scatteredGroundKinds = 4;

uint64_t CourseRandom::next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int CourseRandom::below(int bound) {
    if (bound <= 1) return 0;
    uint64_t limit = UINT64_MAX - UINT64_MAX % (uint64_t)bound;
    uint64_t value;
    do value = next();
    while (value >= limit);
    return (int)(value % (uint64_t)bound);
}

namespace {

// The road is the ring of tiles round a grown patch of ground: a rectangle with tiles added one
// by one, each kept only while the ring stays one loop whose tiles touch no road but their
// neighbours on it, so the road never runs alongside itself.
struct Loop {
    TileCoord cells[maxLoopCells];
    int length;
    bool used[trackGridSize][trackGridSize];   // [y][x]: road
    bool inner[trackGridSize][trackGridSize];  // [y][x]: the patch

    static bool inside(int x, int y) { return x >= 0 && x < trackGridSize && y >= 0 && y < trackGridSize; }
    bool innerAt(int x, int y) const { return inside(x, y) && inner[y][x]; }
    bool roadAt(int x, int y) const { return inside(x, y) && used[y][x]; }

    // The ring round the patch as the road, in order; false when it is not one clean loop or
    // leaves the grid.
    bool ring() {
        int count = 0;
        for (int y = -1; y <= trackGridSize; y++)
            for (int x = -1; x <= trackGridSize; x++) {
                if (innerAt(x, y)) {
                    used[y][x] = false;
                    continue;
                }
                bool touches = false;
                for (int dy = -1; dy <= 1; dy++)
                    for (int dx = -1; dx <= 1; dx++) touches = touches || innerAt(x + dx, y + dy);
                if (!touches) {
                    if (inside(x, y)) used[y][x] = false;
                    continue;
                }
                if (!inside(x, y)) return false;
                used[y][x] = true;
                count++;
            }
        if (count > maxLoopCells) return false;
        static const int dx[4] = {1, 0, -1, 0}, dy[4] = {0, 1, 0, -1};
        TileCoord first{-1, -1};
        for (int y = 0; y < trackGridSize; y++)
            for (int x = 0; x < trackGridSize; x++) {
                if (!used[y][x]) continue;
                int neighbours = 0;
                for (int k = 0; k < 4; k++) neighbours += roadAt(x + dx[k], y + dy[k]);
                if (neighbours != 2) return false;
                if (first.x < 0) first = TileCoord{x, y};
            }
        // Walk it: one loop takes in every road tile.
        length = 0;
        TileCoord at = first, from{-1, -1};
        do {
            cells[length++] = at;
            TileCoord next = at;
            for (int k = 0; k < 4; k++) {
                TileCoord n{at.x + dx[k], at.y + dy[k]};
                if (roadAt(n.x, n.y) && !(n.x == from.x && n.y == from.y)) {
                    next = n;
                    break;
                }
            }
            from = at;
            at = next;
        } while (!(at.x == first.x && at.y == first.y) && length < count);
        return length == count && at.x == first.x && at.y == first.y;
    }

    // Adds a tile beside the patch when the ring stays a clean loop.
    bool grow(CourseRandom& random) {
        static const int dx[4] = {1, 0, -1, 0}, dy[4] = {0, 1, 0, -1};
        int x = random.below(trackGridSize), y = random.below(trackGridSize);
        if (inner[y][x]) return false;
        bool beside = false;
        for (int k = 0; k < 4; k++) beside = beside || innerAt(x + dx[k], y + dy[k]);
        if (!beside) return false;
        inner[y][x] = true;
        if (ring()) return true;
        inner[y][x] = false;
        ring();
        return false;
    }
};

// A patch of the given rectangle; false when its ring would not fit.
bool startPatch(Loop& loop, int x0, int y0, int w, int h) {
    for (int y = 0; y < trackGridSize; y++)
        for (int x = 0; x < trackGridSize; x++) {
            loop.inner[y][x] = x >= x0 && x < x0 + w && y >= y0 && y < y0 + h;
            loop.used[y][x] = false;
        }
    return loop.ring();
}

// A loop place, driving up the list, whose tile, the two before it and the one after run in one
// line left-right: room for the line (a straight) and the grid behind it. -1 when there is none.
int pickFinish(const Loop& loop, CourseRandom& random, bool& leftToRight) {
    int n = loop.length;
    int candidates[maxLoopCells];
    int count = 0;
    for (int i = 0; i < n; i++) {
        const TileCoord& f = loop.cells[i];
        int s = f.x - loop.cells[(i - 1 + n) % n].x;
        bool inLine = s == 1 || s == -1;
        for (int k = -2; k <= 1 && inLine; k++) {
            const TileCoord& p = loop.cells[((i + k) % n + n) % n];
            inLine = p.y == f.y && p.x == f.x + k * s;
        }
        if (inLine) candidates[count++] = i;
    }
    if (count == 0) return -1;
    int pick = candidates[random.below(count)];
    leftToRight = loop.cells[pick].x > loop.cells[(pick - 1 + n) % n].x;
    return pick;
}

}  // namespace

bool generateCourse(uint64_t seed, Course& out) {
    CourseRandom random(seed);
    Loop loop;
    for (int attempt = 0; attempt < maxAttempts; attempt++) {
        int w = narrowestPatch + random.below(widestPatch - narrowestPatch + 1);
        int h = 1 + random.below(highestPatch);
        int x0 = 1 + random.below(trackGridSize - 1 - w), y0 = 1 + random.below(trackGridSize - 1 - h);
        if (!startPatch(loop, x0, y0, w, h)) continue;
        // Each tile the patch grows by bends the road; how many sets how winding the course is.
        int growth = random.below(mostGrowth + 1), grown = 0;
        for (int t = 0; t < maxGrowTries && grown < growth; t++) grown += loop.grow(random);
        // Either way round.
        if (random.below(2)) {
            for (int a = 0, b = loop.length - 1; a < b; a++, b--) {
                TileCoord keep = loop.cells[a];
                loop.cells[a] = loop.cells[b];
                loop.cells[b] = keep;
            }
        }
        bool leftToRight = true;
        int finish = pickFinish(loop, random, leftToRight);
        if (finish < 0) continue;

        Course c;
        snprintf(c.name, sizeof c.name, "Generated %" PRIu64, seed);
        for (int y = 0; y < trackGridSize; y++)
            for (int x = 0; x < trackGridSize; x++)
                if (random.below(scatterOneIn) == 0)
                    c.setTile(x, y, firstScatteredGround + random.below(scatteredGroundKinds));
        ShapeReport report;
        if (!layRoad(loop.used, loop.cells[finish], leftToRight, c, report)) continue;
        out = c;
        return true;
    }
    return false;
}
