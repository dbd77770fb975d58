// A course from its road: loops of several shapes give checkpoints in driving order, waypoints
// joined by road, walls that close every way off the road, and a grid on it; every kind of
// layout that is not one loop through one finish line is refused, saying where.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "track/courseFile.h"
#include "track/courseGenerator.h"
#include "track/courseShape.h"

namespace {

// One character per tile, top row first: r B2R, l L2B, t T2L, k R2T, | and - straights,
// F the finish line (left to right), . ground.
Course fromPicture(const char* const rows[trackGridSize]) {
    Course c;
    snprintf(c.name, sizeof c.name, "test");
    for (int row = 0; row < trackGridSize; row++)
        for (int x = 0; x < trackGridSize; x++) {
            const char* types = ".rltk|-";
            const char* at = strchr(types, rows[row][x]);
            c.layout[row][x] = rows[row][x] == 'F' ? finishLineL2R : at ? (int)(at - types) : 0;
            if (rows[row][x] == '-') c.layout[row][x] = 6;
            if (rows[row][x] == '|') c.layout[row][x] = 5;
        }
    return c;
}

const char* const smallest[trackGridSize] = {
    "r--Fl...", "k---t...", "........", "........", "........", "........", "........", "........",
};
const char* const rim[trackGridSize] = {
    "r--F---l", "|......|", "|......|", "|......|", "|......|", "|......|", "|......|", "k------t",
};

// Where a point lies on a wall segment (within a unit).
bool onWall(const Course& c, float x, float y) {
    for (int i = 0; i < c.wallCount; i++) {
        const CourseWall& w = c.walls[i];
        float dx = w.x2 - w.x1, dy = w.y2 - w.y1;
        float along = ((x - w.x1) * dx + (y - w.y1) * dy) / (dx * dx + dy * dy);
        float px = w.x1 + along * dx - x, py = w.y1 + along * dy - y;
        if (along >= 0 && along <= 1 && std::hypot(px, py) < 1.0f) return true;
    }
    return false;
}

// The middle of the edge of cell (x, y) on the given side.
void edgeMiddle(int x, int y, int side, float& ex, float& ey) {
    float half = tileSizeUnits * 0.5f;
    ex = tileSizeUnits * x + half + (side == sideRight ? half : side == sideLeft ? -half : 0);
    ey = tileSizeUnits * y + half + (side == sideTop ? half : side == sideBottom ? -half : 0);
}

struct ValidCase {
    const char* what;
    const char* const* picture;  // null: the generator's course of the seed
    uint64_t seed;
    bool reverse;
    int loopLength;
};

TEST(CourseShape, LoopsOfEveryShapeGiveListsWallsAndGridOnTheRoad) {
    const ValidCase cases[] = {
        {"smallest loop", smallest, 0, false, 10},
        {"the whole rim reversed", rim, 0, true, 28},
        {"the whole rim", rim, 0, false, 28},
        {"long winding (generated)", nullptr, 139, false, 32},
    };
    for (const ValidCase& k : cases) {
        SCOPED_TRACE(k.what);
        Course c;
        if (k.picture)
            c = fromPicture(k.picture);
        else
            ASSERT_TRUE(generateCourse(k.seed, c));
        ShapeReport report;
        ASSERT_TRUE(shapeCourse(c, k.reverse, report)) << report.message;
        TileCoord loop[maxLoopCells];
        int n = traceLoop(c, loop, report);
        printf("%-26s %2d tiles, %2d checkpoints, %2d waypoints, %2d walls\n", k.what, n, c.checkpointCount,
               c.waypointCount, c.wallCount);
        ASSERT_EQ(n, k.loopLength);
        auto placeOf = [&](TileCoord p) {
            for (int i = 0; i < n; i++)
                if (loop[i].x == p.x && loop[i].y == p.y) return i;
            return -1;
        };
        // Checkpoints: the line first, then on the loop in driving order.
        EXPECT_EQ(placeOf(c.checkpoints[0]), 0);
        for (int i = 1; i < c.checkpointCount; i++) EXPECT_GT(placeOf(c.checkpoints[i]), placeOf(c.checkpoints[i - 1]));
        // Waypoints in driving order, each straight on from the last along road tiles.
        for (int i = 0; i < c.waypointCount; i++) {
            const TileCoord& a = c.waypoints[i];
            const TileCoord& b = c.waypoints[(i + 1) % c.waypointCount];
            if (i > 0) {
                EXPECT_GT(placeOf(a), placeOf(c.waypoints[i - 1]));
            }
            EXPECT_TRUE(a.x == b.x || a.y == b.y) << "waypoint " << i;
            for (int x = std::min(a.x, b.x); x <= std::max(a.x, b.x); x++)
                for (int y = std::min(a.y, b.y); y <= std::max(a.y, b.y); y++)
                    EXPECT_TRUE(isRoad(c.tileAt(x, y))) << "between waypoints at " << x << "," << y;
        }
        // Walls: every edge of a road tile is closed except the two its road runs through.
        for (int i = 0; i < n; i++) {
            int sides = roadSides(c.tileAt(loop[i].x, loop[i].y));
            for (int side : {sideTop, sideRight, sideBottom, sideLeft}) {
                float ex, ey;
                edgeMiddle(loop[i].x, loop[i].y, side, ex, ey);
                EXPECT_EQ(onWall(c, ex, ey), (sides & side) == 0)
                    << "tile (" << loop[i].x << ", " << loop[i].y << ") side " << side;
            }
        }
        // The grid: every truck on a road tile, facing the way the loop is driven.
        bool east = c.tileAt(loop[0].x, loop[0].y) == finishLineL2R;
        if (k.picture) {
            EXPECT_EQ(east, !k.reverse);
        }
        for (int t = 0; t < gridTruckCount; t++) {
            float x, y, heading;
            gridPlace(c.grid, t, x, y, heading);
            int tx, ty;
            worldToTile(x, y, tx, ty);
            EXPECT_TRUE(x > 0 && y > 0 && isRoad(c.tileAt(tx, ty))) << "truck " << t;
            EXPECT_FLOAT_EQ(heading, east ? -90.0f : 90.0f);
        }
    }
}

struct FaultCase {
    const char* what;
    const char* rows[trackGridSize];
    ShapeFault fault;
    const char* says;
};

TEST(CourseShape, EveryKindOfBrokenLoopIsRefusedSayingWhere) {
    const FaultCase cases[] = {
        {"no finish line",
         {"r------l", "|......|", "|......|", "|......|", "|......|", "|......|", "|......|", "k------t"},
         ShapeFault::noFinish, "no finish line"},
        {"two finish lines",
         {"r--F---l", "|......|", "|......|", "|......|", "|......|", "|......|", "|......|", "k---F--t"},
         ShapeFault::twoFinishes, "(4, 0)"},
        {"open end",
         {"r--F---l", "|......|", "|......|", "|......|", "|.......", "|......|", "|......|", "k------t"},
         ShapeFault::openEnd, "the road at (7, 4) ends at its bottom side"},
        {"off the grid",
         {"r--F----", "|......|", "|......|", "|......|", "|......|", "|......|", "|......|", "k------t"},
         ShapeFault::openEnd, "edge of the grid"},
        {"branch",
         {"r--F---l", "|......|", "|......|", "|......-", "|......|", "|......|", "|......|", "k------t"},
         ShapeFault::branch, "runs into the side of (7, 4)"},
        {"stray road",
         {"r--F---l", "|......|", "|......|", "|..-...|", "|......|", "|......|", "|......|", "k------t"},
         ShapeFault::strayRoad, "(3, 4) is not on the loop"},
        {"no room for the grid",
         {"rF-----l", "|......|", "|......|", "|......|", "|......|", "|......|", "|......|", "k------t"},
         ShapeFault::missesGrid, "(0, 7) is not"},
    };
    for (const FaultCase& k : cases) {
        SCOPED_TRACE(k.what);
        Course c = fromPicture(k.rows);
        Course before = c;
        ShapeReport report;
        EXPECT_FALSE(shapeCourse(c, false, report));
        EXPECT_EQ(report.fault, k.fault) << report.message;
        EXPECT_NE(strstr(report.message, k.says), nullptr) << report.message;
        EXPECT_EQ(memcmp(&c, &before, sizeof c), 0) << "a refused course must be left as it was";
    }
}

struct PlanCase {
    const char* what;
    const char* rows[trackGridSize];  // # road
    TileCoord finish;
    ShapeFault fault;
    const char* says;
};

TEST(CourseShape, RoadPlansPickTheirTilesOrSayWhereTheyBreak) {
    const PlanCase cases[] = {
        {"a loop", {"#######.", "#.....#.", "#######.", "........", "........", "........", "........", "........"},
         {3, 7}, ShapeFault::none, ""},
        {"dead end", {"#######.", "#.....#.", "######..", "........", "........", "........", "........", "........"},
         {3, 7}, ShapeFault::openEnd, "(6, 6) ends there"},
        {"branch", {"#######.", "#.....#.", "########", "........", "........", "........", "........", "........"},
         {3, 7}, ShapeFault::branch, "(6, 5)"},
        {"finish on a corner", {"#######.", "#.....#.", "#######.", "........", "........", "........", "........", "........"},
         {0, 7}, ShapeFault::finishOnCorner, "on a corner"},
        {"finish across an upright road",
         {"#######.", "#.....#.", "#######.", "........", "........", "........", "........", "........"}, {0, 6},
         ShapeFault::finishUpright, "left and right"},
    };
    for (const PlanCase& k : cases) {
        SCOPED_TRACE(k.what);
        bool road[trackGridSize][trackGridSize] = {};
        for (int row = 0; row < trackGridSize; row++)
            for (int x = 0; x < trackGridSize; x++) road[trackGridSize - 1 - row][x] = k.rows[row][x] == '#';
        Course c;
        ShapeReport report;
        bool laid = layRoad(road, k.finish, true, c, report);
        EXPECT_EQ(laid, k.fault == ShapeFault::none) << report.message;
        if (!laid) {
            EXPECT_EQ(report.fault, k.fault) << report.message;
            EXPECT_NE(strstr(report.message, k.says), nullptr) << report.message;
        }
    }
}

TEST(CourseGenerator, SameSeedSameCourseAndEverySeedAValidLoop) {
    int shortest = maxLoopCells, longest = 0;
    for (uint64_t seed = 0; seed < 100; seed++) {
        Course a, b;
        ASSERT_TRUE(generateCourse(seed, a)) << seed;
        ASSERT_TRUE(generateCourse(seed, b));
        ASSERT_EQ(memcmp(&a, &b, sizeof a), 0) << "seed " << seed;
        Course again = a;
        ShapeReport report;
        ASSERT_TRUE(shapeCourse(again, false, report)) << "seed " << seed << ": " << report.message;
        shortest = std::min(shortest, report.loopLength);
        longest = std::max(longest, report.loopLength);
    }
    printf("100 seeds: loops of %d to %d tiles\n", shortest, longest);
    EXPECT_LT(shortest, longest);
    // Pinned: the same seed must make the same course on every machine and in every build.
    Course pinned;
    ASSERT_TRUE(generateCourse(139, pinned));
    EXPECT_EQ(courseHash(pinned), 0xc2c9c781fb3ab5dfull);
}

}  // namespace
