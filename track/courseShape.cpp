#include "track/courseShape.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

// Straight tiles by the way they are driven.
static const int straightB2T = 5, straightL2R = 6, straightT2B = 7, straightR2L = 8;
static const int cornerB2R = 1, cornerL2B = 2, cornerT2L = 3, cornerR2T = 4;

// Walls are found on a finer grid than the tiles, a quarter tile, which reaches two of its cells
// past the tiles on every side.
static const int finePerTile = 4;
static const int fineBorder = 2;
static const int fineSize = trackGridSize * finePerTile + 2 * fineBorder;
static const float fineUnits = (float)tileSizeUnits / finePerTile;
// Road tiles this close along the loop have no wall between them.
static const int openLoopSteps = 2;

// A checkpoint every few tiles along the loop, on a straight where there is one.
static const int checkpointSpacing = 3;
static const int checkpointStretch = 5;
// The tiles before the finish line that the starting grid stands on.
static const int gridTiles = 3;

// Side by CellSide bit: the step to the neighbour and the side facing back.
static void sideStep(int side, int& dx, int& dy) {
    dx = side == sideRight ? 1 : side == sideLeft ? -1 : 0;
    dy = side == sideTop ? 1 : side == sideBottom ? -1 : 0;
}
static int opposite(int side) {
    return side == sideTop ? sideBottom : side == sideBottom ? sideTop : side == sideLeft ? sideRight : sideLeft;
}

static bool refuse(ShapeReport& report, ShapeFault fault, TileCoord at, const char* format, ...) {
    report.fault = fault;
    report.at = at;
    va_list args;
    va_start(args, format);
    vsnprintf(report.message, sizeof report.message, format, args);
    va_end(args);
    return false;
}

static const char* sideWord(int side) {
    return side == sideTop ? "top" : side == sideBottom ? "bottom" : side == sideLeft ? "left" : "right";
}

int traceLoop(const Course& course, TileCoord* loop, ShapeReport& report) {
    report.fault = ShapeFault::none;
    report.at = TileCoord{0, 0};
    report.message[0] = '\0';
    report.loopLength = 0;
    TileCoord finish{0, 0};
    int finishes = 0;
    for (int y = trackGridSize - 1; y >= 0; y--)
        for (int x = 0; x < trackGridSize; x++) {
            int type = course.tileAt(x, y);
            if (type != finishLineL2R && type != finishLineR2L) continue;
            if (++finishes == 2)
                return refuse(report, ShapeFault::twoFinishes, TileCoord{x, y},
                              "a second finish line at (%d, %d); a course has one", x, y);
            finish = TileCoord{x, y};
        }
    if (finishes == 0) return refuse(report, ShapeFault::noFinish, finish, "no finish line");

    bool onLoop[trackGridSize][trackGridSize] = {};
    int length = 0;
    loop[length++] = finish;
    onLoop[finish.y][finish.x] = true;
    int exit = course.tileAt(finish.x, finish.y) == finishLineL2R ? sideRight : sideLeft;
    TileCoord at = finish;
    for (;;) {
        int dx, dy;
        sideStep(exit, dx, dy);
        TileCoord next{at.x + dx, at.y + dy};
        bool inside = next.x >= 0 && next.x < trackGridSize && next.y >= 0 && next.y < trackGridSize;
        int sides = roadSides(course.tileAt(next.x, next.y));
        if (!inside || sides == 0)
            return refuse(report, ShapeFault::openEnd, at, "the road at (%d, %d) ends at its %s side%s", at.x, at.y,
                          sideWord(exit), inside ? "" : ", at the edge of the grid");
        int entry = opposite(exit);
        if (!(sides & entry))
            return refuse(report, ShapeFault::branch, next, "the road at (%d, %d) runs into the side of (%d, %d)", at.x,
                          at.y, next.x, next.y);
        if (next.x == finish.x && next.y == finish.y) break;
        // Two-sided tiles cannot meet a cell twice, but a bad palette must not loop for ever.
        if (onLoop[next.y][next.x] || length == maxLoopCells)
            return refuse(report, ShapeFault::branch, next, "the road crosses itself at (%d, %d)", next.x, next.y);
        loop[length++] = next;
        onLoop[next.y][next.x] = true;
        exit = sides & ~entry;
        at = next;
    }
    for (int y = trackGridSize - 1; y >= 0; y--)
        for (int x = 0; x < trackGridSize; x++)
            if (isRoad(course.tileAt(x, y)) && !onLoop[y][x])
                return refuse(report, ShapeFault::strayRoad, TileCoord{x, y},
                              "the road at (%d, %d) is not on the loop through the finish line", x, y);
    report.loopLength = length;
    return length;
}

// The straight's picture for the way it is driven from entry; corners have one picture.
static int drivenType(int sides, int entry) {
    if (sides == (sideLeft | sideRight)) return entry == sideLeft ? straightL2R : straightR2L;
    if (sides == (sideTop | sideBottom)) return entry == sideBottom ? straightB2T : straightT2B;
    if (sides == (sideBottom | sideRight)) return cornerB2R;
    if (sides == (sideLeft | sideBottom)) return cornerL2B;
    if (sides == (sideTop | sideLeft)) return cornerT2L;
    return cornerR2T;
}

// The side of cell a that faces its neighbour b.
static int sideTowards(TileCoord a, TileCoord b) {
    if (b.x > a.x) return sideRight;
    if (b.x < a.x) return sideLeft;
    return b.y > a.y ? sideTop : sideBottom;
}

static bool isCorner(int type) { return type >= cornerB2R && type <= cornerR2T; }

// Steps between two places on a loop of n, either way round.
static int loopSteps(int a, int b, int n) {
    int d = abs(a - b);
    return d < n - d ? d : n - d;
}

namespace {

// Lays wall lines along the edges of the finer grid where a truck must not pass.
struct WallPlan {
    int owner[fineSize][fineSize];  // [y][x]: the loop place of the road tile under a cell, or -1
    int loopLength;

    bool blocked(int ax, int ay, int bx, int by) const {
        bool aIn = ax >= 0 && ax < fineSize && ay >= 0 && ay < fineSize;
        bool bIn = bx >= 0 && bx < fineSize && by >= 0 && by < fineSize;
        int a = aIn ? owner[ay][ax] : -1, b = bIn ? owner[by][bx] : -1;
        if ((a < 0) != (b < 0)) return true;
        return a >= 0 && loopSteps(a, b, loopLength) > openLoopSteps;
    }
};

float fineToWorld(int f) { return (float)(f - fineBorder) * fineUnits; }

}  // namespace

// Walls on the road tiles' own edges, 53 units off the asphalt: round the road, and between road
// tiles that touch but are far apart on the loop. A truck can then only pass from one road tile to
// the next, so it takes every checkpoint and waypoint in turn and finds no pocket off the road.
// (A margin a quarter tile further out let trucks run past a tile beside it and lose the lap.)
static bool layWalls(Course& course, const TileCoord* loop, int length, ShapeReport& report) {
    WallPlan plan;
    plan.loopLength = length;
    int tilePlace[trackGridSize][trackGridSize];
    for (int y = 0; y < trackGridSize; y++)
        for (int x = 0; x < trackGridSize; x++) tilePlace[y][x] = -1;
    for (int i = 0; i < length; i++) tilePlace[loop[i].y][loop[i].x] = i;
    // The road tile under a fine cell, or -1.
    auto roadUnder = [&](int fx, int fy) {
        int x = fx - fineBorder, y = fy - fineBorder;
        if (x < 0 || y < 0) return -1;
        x /= finePerTile;
        y /= finePerTile;
        if (x >= trackGridSize || y >= trackGridSize) return -1;
        return tilePlace[y][x];
    };
    for (int fy = 0; fy < fineSize; fy++)
        for (int fx = 0; fx < fineSize; fx++) plan.owner[fy][fx] = roadUnder(fx, fy);

    course.wallCount = 0;
    auto add = [&](float x1, float y1, float x2, float y2) {
        if (course.wallCount == Track::maxWalls) return false;
        course.walls[course.wallCount++] = CourseWall{x1, y1, x2, y2};
        return true;
    };
    bool fits = true;
    // Edges between rows: runs along x, merged into one wall each.
    for (int fy = 0; fy <= fineSize && fits; fy++) {
        int runStart = -1;
        for (int fx = 0; fx <= fineSize && fits; fx++) {
            bool wall = fx < fineSize && plan.blocked(fx, fy - 1, fx, fy);
            if (wall && runStart < 0) runStart = fx;
            if (!wall && runStart >= 0) {
                fits = add(fineToWorld(runStart), fineToWorld(fy), fineToWorld(fx), fineToWorld(fy));
                runStart = -1;
            }
        }
    }
    // Edges between columns: runs along y.
    for (int fx = 0; fx <= fineSize && fits; fx++) {
        int runStart = -1;
        for (int fy = 0; fy <= fineSize && fits; fy++) {
            bool wall = fy < fineSize && plan.blocked(fx - 1, fy, fx, fy);
            if (wall && runStart < 0) runStart = fy;
            if (!wall && runStart >= 0) {
                fits = add(fineToWorld(fx), fineToWorld(runStart), fineToWorld(fx), fineToWorld(fy));
                runStart = -1;
            }
        }
    }
    if (!fits)
        return refuse(report, ShapeFault::tooManyWalls, loop[0], "the road needs more than %d walls", Track::maxWalls);
    return true;
}

bool shapeCourse(Course& course, bool reverse, ShapeReport& report) {
    Course c = course;
    if (reverse) {
        for (int y = 0; y < trackGridSize; y++)
            for (int x = 0; x < trackGridSize; x++) {
                int type = c.tileAt(x, y);
                if (type == finishLineL2R) c.setTile(x, y, finishLineR2L);
                if (type == finishLineR2L) c.setTile(x, y, finishLineL2R);
            }
    }
    TileCoord loop[maxLoopCells];
    int n = traceLoop(c, loop, report);
    if (n == 0) return false;

    // Pictures the way the loop runs; the finish line keeps its own.
    for (int i = 1; i < n; i++) {
        int entry = sideTowards(loop[i], loop[i - 1]);
        c.setTile(loop[i].x, loop[i].y, drivenType(roadSides(c.tileAt(loop[i].x, loop[i].y)), entry));
    }

    // The grid stands on the two straights before the line, its back column on the tile before them.
    const TileCoord& finish = loop[0];
    for (int k = 1; k <= 2; k++) {
        const TileCoord& p = loop[n - k];
        int type = c.tileAt(p.x, p.y);
        if (type != straightL2R && type != straightR2L)
            return refuse(report, ShapeFault::missesGrid, p,
                          "the starting grid needs the two tiles before the finish line at (%d, %d) straight; "
                          "(%d, %d) is not",
                          finish.x, finish.y, p.x, p.y);
    }
    bool east = c.tileAt(finish.x, finish.y) == finishLineL2R;
    // The built-in grid's place relative to its finish line: 518 units back, 40 to the left.
    const float gridBackUnits = 518.0f, gridLeftUnits = 40.0f;
    float lineX = (float)(tileSizeUnits * (east ? finish.x : finish.x + 1));
    float centreY = (float)(tileSizeUnits * finish.y) + tileSizeUnits * 0.5f;
    c.grid.facing = east ? 0 : 2;
    c.grid.x = east ? lineX - gridBackUnits : lineX + gridBackUnits;
    c.grid.y = east ? centreY + gridLeftUnits : centreY - gridLeftUnits;

    // Checkpoints: the line, then one every few tiles, on a straight unless the bends run long.
    c.checkpointCount = 0;
    c.checkpoints[c.checkpointCount++] = finish;
    int last = 0;
    // None on the grid's tiles, where a truck left standing would push the others past it.
    for (int i = 1; i < n - gridTiles && c.checkpointCount < Track::maxCheckpoints; i++) {
        bool straight = !isCorner(c.tileAt(loop[i].x, loop[i].y));
        if (i - last >= checkpointStretch || (i - last >= checkpointSpacing && straight)) {
            c.checkpoints[c.checkpointCount++] = loop[i];
            last = i;
        }
    }

    // Waypoints: every bend. Between two bends the road is straight, so a driver aiming from one
    // to the next follows the road.
    c.waypointCount = 0;
    for (int i = 1; i < n; i++) {
        if (!isCorner(c.tileAt(loop[i].x, loop[i].y))) continue;
        if (c.waypointCount == Track::maxWaypoints)
            return refuse(report, ShapeFault::tooWinding, loop[i], "more than %d bends", Track::maxWaypoints);
        c.waypoints[c.waypointCount++] = loop[i];
    }

    if (!layWalls(c, loop, n, report)) return false;
    report.loopLength = n;
    course = c;
    return true;
}

bool layRoad(const bool road[trackGridSize][trackGridSize], TileCoord finish, bool leftToRight, Course& course,
             ShapeReport& report) {
    report.loopLength = 0;
    Course c = course;
    auto isRoadCell = [&](int x, int y) {
        return x >= 0 && x < trackGridSize && y >= 0 && y < trackGridSize && road[y][x];
    };
    bool finishOnRoad = isRoadCell(finish.x, finish.y);
    if (!finishOnRoad) return refuse(report, ShapeFault::noFinish, finish, "no finish line on the road");
    for (int y = trackGridSize - 1; y >= 0; y--)
        for (int x = 0; x < trackGridSize; x++) {
            if (!road[y][x]) {
                // Road taken away leaves plain ground; scattered ground pictures stay.
                if (isRoad(c.tileAt(x, y))) c.setTile(x, y, groundTile);
                continue;
            }
            int sides = 0, count = 0;
            static const int order[4] = {sideTop, sideRight, sideBottom, sideLeft};
            for (int side : order) {
                int dx, dy;
                sideStep(side, dx, dy);
                if (isRoadCell(x + dx, y + dy)) {
                    sides |= side;
                    count++;
                }
            }
            if (count < 2)
                return refuse(report, ShapeFault::openEnd, TileCoord{x, y}, "the road at (%d, %d) ends there", x, y);
            if (count > 2)
                return refuse(report, ShapeFault::branch, TileCoord{x, y}, "the road branches at (%d, %d)", x, y);
            bool isFinish = x == finish.x && y == finish.y;
            if (isFinish && sides != (sideLeft | sideRight))
                return refuse(report, sides == (sideTop | sideBottom) ? ShapeFault::finishUpright : ShapeFault::finishOnCorner,
                              finish, sides == (sideTop | sideBottom)
                                          ? "the finish line at (%d, %d) must cross a road that runs left and right"
                                          : "the finish line at (%d, %d) is on a corner",
                              x, y);
            int type = isFinish ? (leftToRight ? finishLineL2R : finishLineR2L) : drivenType(sides, sideLeft);
            c.setTile(x, y, type);
        }
    if (!shapeCourse(c, false, report)) return false;
    course = c;
    return true;
}
