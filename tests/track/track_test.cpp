// Grid lookups, list queries, wall lines and surface drag of a track built from data in memory.
#include "core/platform.h"
#include "physics/physics.h"
#include "physics/physicsObject.h"
#include "track/track.h"
#include "track/trackTileSet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

// A layout whose cell at written row r, column c is 10 * r + c, so every cell is distinct.
struct NumberedLayout {
    int cells[trackGridSize][trackGridSize];
    NumberedLayout() {
        for (int r = 0; r < trackGridSize; r++) {
            for (int c = 0; c < trackGridSize; c++) {
                cells[r][c] = 10 * r + c;
            }
        }
    }
};

const TileCoord noCells[1] = {{0, 0}};

}  // namespace

TEST(TrackGrid, WorldPointsTruncateTowardsZeroIntoCells) {
    int tx = -1, ty = -1;
    worldToTile(-10, 300, tx, ty);
    EXPECT_EQ(tx, 0);  // the strip just left of the grid still reads as column 0
    EXPECT_EQ(ty, 1);
    worldToTile(2048, 0, tx, ty);
    EXPECT_EQ(tx, 8);
    EXPECT_EQ(ty, 0);
    worldToTile(255.9f, 511.9f, tx, ty);
    EXPECT_EQ(tx, 0);
    EXPECT_EQ(ty, 1);
    worldToTile(-300, -256.5f, tx, ty);
    EXPECT_EQ(tx, -1);
    EXPECT_EQ(ty, -1);

    // Points no course reaches must still land off the grid without an unsafe conversion.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    worldToTile(nan, 1e30f, tx, ty);
    EXPECT_TRUE(tx < 0 || tx >= trackGridSize) << tx;
    EXPECT_GE(ty, trackGridSize);
    worldToTile(-1e30f, std::numeric_limits<float>::infinity(), tx, ty);
    EXPECT_LT(tx, 0);
    EXPECT_GE(ty, trackGridSize);
}

TEST(TrackGrid, LayoutIsWrittenNorthUpAndOffGridReadsGround) {
    auto track = std::make_unique<Track>();
    TrackTileSet tiles;
    NumberedLayout layout;
    layout.cells[0][0] = 1;
    layout.cells[0][1] = 6;
    layout.cells[0][2] = 6;
    layout.cells[0][3] = 9;
    track->build(layout.cells, noCells, 0, noCells, 0, tiles, nullptr);

    EXPECT_EQ(track->tileAt(3, 7), 9);  // first written row is the top row
    EXPECT_EQ(track->tileAt(0, 7), 1);
    EXPECT_EQ(track->tileAt(5, 0), 75);  // last written row is the bottom row
    EXPECT_EQ(track->tileAt(7, 6), 17);
    EXPECT_EQ(track->tileAt(8, 0), 0);
    EXPECT_EQ(track->tileAt(-1, 3), 0);
    EXPECT_EQ(track->tileAt(3, 8), 0);
    EXPECT_EQ(track->tileAt(2, -1), 0);
}

TEST(TrackLists, LookupsScanFromTheStartAndIgnoreExtraEntries) {
    auto track = std::make_unique<Track>();
    TrackTileSet tiles;
    NumberedLayout layout;
    const TileCoord checkpoints[] = {{3, 7}, {5, 2}, {3, 7}, {0, 0}};
    const TileCoord waypoints[] = {{1, 1}, {6, 4}};
    track->build(layout.cells, checkpoints, 4, waypoints, 2, tiles, nullptr);

    EXPECT_EQ(track->checkpointCount(), 4);
    EXPECT_EQ(track->getWaypointCount(), 2);
    EXPECT_EQ(track->checkpointAt(3 * 256 + 1, 7 * 256 + 255), 0);  // listed twice: the lower index
    EXPECT_EQ(track->checkpointAt(5 * 256 + 128, 2 * 256 + 10), 1);
    EXPECT_EQ(track->checkpointAt(-10, 100), 3);  // truncation puts it in cell (0, 0)
    EXPECT_EQ(track->checkpointAt(1000, 1000), -1);
    EXPECT_EQ(track->waypointIndexAt(6 * 256, 4 * 256), 1);
    EXPECT_EQ(track->waypointIndexAt(5000, -5000), -1);

    float x = -1, y = -1;
    EXPECT_TRUE(track->waypointCentre(1, x, y));
    EXPECT_FLOAT_EQ(x, 6 * 256 + 128);
    EXPECT_FLOAT_EQ(y, 4 * 256 + 128);
    // An index outside the list reads nothing and says so.
    x = y = -1;
    EXPECT_FALSE(track->waypointCentre(2, x, y));
    EXPECT_FALSE(track->waypointCentre(-1, x, y));
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);

    // More entries than the lists hold: the first 32 are kept, and a negative total is none.
    TileCoord many[40];
    for (int i = 0; i < 40; i++) {
        many[i] = TileCoord{i % 8, i / 8};
    }
    track->build(layout.cells, many, 40, many, -3, tiles, nullptr);
    EXPECT_EQ(track->checkpointCount(), Track::maxCheckpoints);
    EXPECT_EQ(track->getWaypointCount(), 0);
    EXPECT_EQ(track->checkpointAt(7 * 256 + 1, 3 * 256 + 1), 31);
    EXPECT_EQ(track->checkpointAt(0 * 256 + 1, 4 * 256 + 1), -1);  // entry 32 was dropped
}

TEST(TrackDrawList, CellsAreGroupedByTypeThenRowThenColumn) {
    auto track = std::make_unique<Track>();
    TrackTileSet tiles;
    tiles.count = 3;  // only the count matters to the draw order
    int layout[trackGridSize][trackGridSize];
    for (int r = 0; r < trackGridSize; r++) {
        for (int c = 0; c < trackGridSize; c++) {
            layout[r][c] = (r + c) % 3;
        }
    }
    track->build(layout, noCells, 0, noCells, 0, tiles, nullptr);
    ASSERT_EQ(track->drawCount, 64);
    for (int i = 1; i < track->drawCount; i++) {
        const TileDraw& a = track->drawList[i - 1];
        const TileDraw& b = track->drawList[i];
        bool ordered = a.type < b.type || (a.type == b.type && (a.y < b.y || (a.y == b.y && a.x < b.x)));
        EXPECT_TRUE(ordered) << "entry " << i;
        EXPECT_EQ(b.type, track->tileAt(b.x, b.y));
    }

    // A cell whose type the set does not hold is left out of the list.
    layout[0][0] = 3;
    layout[7][7] = 12;
    track->build(layout, noCells, 0, noCells, 0, tiles, nullptr);
    EXPECT_EQ(track->drawCount, 62);
    for (int i = 0; i < track->drawCount; i++) {
        EXPECT_LT(track->drawList[i].type, 3);
    }
}

TEST(TrackWalls, PenJoinsPointsUntilLifted) {
    auto track = std::make_unique<Track>();
    track->wallTo(0, 0);  // a
    EXPECT_EQ(track->wallCount, 0);
    track->wallTo(100, 0);   // b
    track->wallTo(100, 50);  // c
    EXPECT_EQ(track->wallCount, 2);
    track->liftPen();
    track->wallTo(300, 300);  // d
    EXPECT_EQ(track->wallCount, 2);
    track->wallTo(300, 400);  // e
    ASSERT_EQ(track->wallCount, 3);
    track->wallTo(300, 400);  // repeated point
    ASSERT_EQ(track->wallCount, 4);

    // a-b runs along x: 20 units thick, corners on either side of the line.
    const Wall& ab = track->walls[0];
    EXPECT_FLOAT_EQ(ab.corners[0][0], 0);
    EXPECT_FLOAT_EQ(ab.corners[0][1], -10);
    EXPECT_FLOAT_EQ(ab.corners[2][0], 100);
    EXPECT_FLOAT_EQ(ab.corners[2][1], 10);
    // d-e starts at d, not at the lifted pen's last point c.
    const Wall& de = track->walls[2];
    EXPECT_FLOAT_EQ(de.corners[0][1], 300);
    EXPECT_FLOAT_EQ(de.corners[2][1], 400);
    EXPECT_FLOAT_EQ(std::fabs(de.corners[0][0] - 300), 10);
    // The repeated point gives a wall with all corners at that point.
    const Wall& zero = track->walls[3];
    for (int k = 0; k < 4; k++) {
        EXPECT_FLOAT_EQ(zero.corners[k][0], 300);
        EXPECT_FLOAT_EQ(zero.corners[k][1], 400);
    }
}

// The first wall dropped is reported once, not once per wall.
TEST(TrackWalls, AFullTrackIgnoresFurtherWallsButKeepsThePen) {
    auto track = std::make_unique<Track>();
    ScriptedPlatform boxes;
    boxes.echoToStderr = false;
    setPlatform(&boxes);
    for (int i = 0; i < Track::maxWalls + 5; i++) {
        track->addWall((float)i, 0, (float)i, 100);
    }
    EXPECT_EQ(track->wallCount, Track::maxWalls);
    EXPECT_FLOAT_EQ(track->walls[Track::maxWalls - 1].corners[0][1], 0);
    track->wallTo(7, 8);
    track->wallTo(9, 10);
    setPlatform(nullptr);
    ASSERT_EQ(boxes.boxTexts.size(), 1u);
    EXPECT_NE(boxes.boxTexts[0].find("at most 128 walls"), std::string::npos) << boxes.boxTexts[0];
    EXPECT_EQ(track->wallCount, Track::maxWalls);
    EXPECT_FLOAT_EQ(track->penX, 9);
    EXPECT_FLOAT_EQ(track->penY, 10);
}

TEST(TrackWalls, RegisteredAsStaticBodiesAfterTheTrucks) {
    auto track = std::make_unique<Track>();
    track->wallTo(0, 0);
    track->wallTo(500, 0);
    track->wallTo(500, 500);
    track->liftPen();
    track->addWall(10, 10, 20, 20);

    auto physics = std::make_unique<Physics>();
    PhysicsObject truckA, truckB;
    physics->addObject(&truckA, false);
    physics->addObject(&truckB, false);
    track->registerWalls(*physics);

    EXPECT_EQ(physics->movingCount, 2);
    EXPECT_EQ(physics->movingObjects[0], &truckA);
    EXPECT_EQ(physics->movingObjects[1], &truckB);
    ASSERT_EQ(physics->staticCount, 3);
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(physics->staticObjects[i], track->walls[i].body) << "wall " << i;
        EXPECT_TRUE(physics->staticObjects[i]->isStaticObject());
    }
}
