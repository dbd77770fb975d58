// The two built-in courses: their counts and cells, a road that runs as one loop through the
// checkpoints and waypoints in race order, surface maps wired to the right tiles, and loading
// that never moves the working directory.
#include "courseFixture.h"

#include "track/roadPath.h"

#include <cstring>
#include <filesystem>

namespace {

enum Side { left, right, top, bottom, sideCount };
const int stepX[sideCount] = {-1, 1, 0, 0};
const int stepY[sideCount] = {0, 0, 1, -1};
const Side opposite[sideCount] = {right, left, bottom, top};

// The sides a tile's road joins, read from its picture name: "cornerB2R.bmp" joins bottom and
// right. Off-road (blank) pictures join none.
unsigned openSides(int type) {
    if (type < 0 || type >= courseTileCount) {
        return 0;
    }
    const char* name = courseTiles[type].picture;
    bool road =
        strncmp(name, "corner", 6) == 0 || strncmp(name, "straight", 8) == 0 || strncmp(name, "finishLine", 10) == 0;
    const char* dot = strrchr(name, '.');
    if (!road || dot == nullptr || dot - name < 3 || dot[-2] != '2') {
        return 0;
    }
    unsigned sides = 0;
    for (const char* c : {dot - 3, dot - 1}) {
        switch (*c) {
        case 'L':
            sides |= 1u << left;
            break;
        case 'R':
            sides |= 1u << right;
            break;
        case 'T':
            sides |= 1u << top;
            break;
        case 'B':
            sides |= 1u << bottom;
            break;
        default:
            break;
        }
    }
    return sides;
}

bool isRoad(const Track& track, int x, int y) { return openSides(track.tileAt(x, y)) != 0; }

// Whether the road leaves (x, y) through side s into a neighbour whose road meets it.
bool joined(const Track& track, int x, int y, Side s) {
    int nx = x + stepX[s], ny = y + stepY[s];
    return (openSides(track.tileAt(x, y)) >> s & 1u) && (openSides(track.tileAt(nx, ny)) >> opposite[s] & 1u);
}

// Breadth-first walk over joined road cells; the number of steps from a to b, or -1.
int roadDistance(const Track& track, TileCoord a, TileCoord b) {
    int distance[trackGridSize][trackGridSize];
    for (auto& row : distance) {
        for (int& d : row) {
            d = -1;
        }
    }
    TileCoord queue[trackGridSize * trackGridSize];
    int head = 0, tail = 0;
    if (!isRoad(track, a.x, a.y)) {
        return -1;
    }
    distance[a.y][a.x] = 0;
    queue[tail++] = a;
    while (head < tail) {
        TileCoord c = queue[head++];
        if (c.x == b.x && c.y == b.y) {
            return distance[c.y][c.x];
        }
        for (int s = 0; s < sideCount; s++) {
            int nx = c.x + stepX[s], ny = c.y + stepY[s];
            if (nx < 0 || ny < 0 || nx >= trackGridSize || ny >= trackGridSize || distance[ny][nx] >= 0) {
                continue;
            }
            if (joined(track, c.x, c.y, (Side)s)) {
                distance[ny][nx] = distance[c.y][c.x] + 1;
                queue[tail++] = TileCoord{nx, ny};
            }
        }
    }
    return -1;
}

// Walks the road from the finish line out through its right side. Fills the step at which each
// cell is first reached (-1 for cells not on the walk) and returns the loop's length, or -1
// when the road dead-ends, leaves the grid, or returns anywhere but the finish line.
int walkLoop(const Track& track, int order[trackGridSize][trackGridSize]) {
    for (int y = 0; y < trackGridSize; y++) {
        for (int x = 0; x < trackGridSize; x++) {
            order[y][x] = -1;
        }
    }
    const TileCoord finish = {3, 7};
    int x = finish.x, y = finish.y;
    Side out = right;
    for (int step = 0; step <= trackGridSize * trackGridSize; step++) {
        if (order[y][x] >= 0) {
            return (x == finish.x && y == finish.y) ? step : -1;
        }
        order[y][x] = step;
        if (!joined(track, x, y, out)) {
            return -1;
        }
        x += stepX[out];
        y += stepY[out];
        // Leave the next cell by its other open side.
        unsigned others = openSides(track.tileAt(x, y)) & ~(1u << opposite[out]);
        int next = -1;
        for (int s = 0; s < sideCount; s++) {
            if (others >> s & 1u) {
                next = s;
            }
        }
        if (next < 0) {
            return -1;
        }
        out = (Side)next;
    }
    return -1;
}

// The surface map a picture should use, from its name alone: corners have their own, the two
// pictures of a straight axis share one, finish lines are horizontal straights, and every
// off-road picture uses the blank map.
std::string expectedMapOf(const char* picture) {
    std::string name = picture;
    if (name.rfind("blank", 0) == 0) {
        return "blank.bmp";
    }
    if (name.rfind("corner", 0) == 0) {
        return name;
    }
    bool vertical = name.find("B2T") != std::string::npos || name.find("T2B") != std::string::npos;
    return vertical ? "straightT2B.bmp" : "straightL2R.bmp";
}

// Tile of the course at (x, y) as its layout writes it.
int layoutCell(int course, int x, int y) { return courseData[course].layout[trackGridSize - 1 - y][x]; }

const int expectedWalls[courseCount] = {18, 30};
const int expectedWaypoints[courseCount] = {16, 14};

}  // namespace

TEST(CourseTiles, RoadNamesJoinTwoSidesAndBlanksNone) {
    EXPECT_EQ(openSides(1), (1u << bottom) | (1u << right));  // cornerB2R
    EXPECT_EQ(openSides(9), (1u << left) | (1u << right));    // finishLineL2R
    EXPECT_EQ(openSides(5), (1u << bottom) | (1u << top));    // straightB2T
    for (int t = 0; t < courseTileCount; t++) {
        bool road = t >= 1 && t <= 10;
        EXPECT_EQ(openSides(t) != 0, road) << courseTiles[t].picture;
        // The road's path through a cell, used to set trucks back on it, reads the same sides.
        EXPECT_EQ(roadSidesOf(t), openSides(t)) << courseTiles[t].picture;
    }
}

TEST_F(CourseTest, BuildsBothCoursesWithTheirCountsAndCells) {
    std::filesystem::path before = std::filesystem::current_path();
    int built = buildCourses(*tileSet, tracks.get(), courseCount, folder.c_str());
    EXPECT_EQ(std::filesystem::current_path(), before);

    EXPECT_EQ(built, 2);
    EXPECT_EQ(tileSet->getTileCount(), courseTileCount);
    EXPECT_TRUE(platform.boxTexts.empty()) << platform.boxTexts[0];
    for (int c = 0; c < courseCount; c++) {
        const Track& track = tracks[c];
        EXPECT_EQ(track.wallCount, expectedWalls[c]) << "course " << c;
        EXPECT_EQ(track.checkpointCount(), 9) << "course " << c;
        EXPECT_EQ(track.getWaypointCount(), expectedWaypoints[c]) << "course " << c;
        EXPECT_EQ(track.tileCount, courseTileCount);
        EXPECT_EQ(track.drawCount, 64);
        EXPECT_EQ(track.tileAt(3, 7), 9) << "course " << c;
        EXPECT_EQ(track.tileAt(0, 0), 4) << "course " << c;
        EXPECT_NE(track.wallTexture, nullptr);
        EXPECT_TRUE(track.wallTexture->loaded);
    }
    EXPECT_EQ(tracks[0].tileAt(7, 7), 0);
    EXPECT_EQ(tracks[1].tileAt(7, 7), 2);
    EXPECT_EQ(tracks[0].wallTexture, tracks[1].wallTexture);

    // The single wall of course 0 comes right after its outer line's seven walls.
    const Wall& single = tracks[0].walls[7];
    EXPECT_FLOAT_EQ(0.5f * (single.corners[0][0] + single.corners[1][0]), 900);
    EXPECT_FLOAT_EQ(0.5f * (single.corners[0][1] + single.corners[1][1]), 950);
    EXPECT_FLOAT_EQ(0.5f * (single.corners[2][1] + single.corners[3][1]), -50);
}

TEST_F(CourseTest, CheckpointsAndWaypointsLieInRaceOrderOnOneRoadLoop) {
    ASSERT_EQ(buildCourses(*tileSet, tracks.get(), courseCount, folder.c_str()), 2);
    for (int c = 0; c < courseCount; c++) {
        SCOPED_TRACE("course " + std::to_string(c));
        const Track& track = tracks[c];

        int order[trackGridSize][trackGridSize];
        int length = walkLoop(track, order);
        printf("course %d: road loop of %d cells\n", c, length);
        ASSERT_GT(length, 0) << "the road is not a closed loop through the finish line";
        // Every road cell is on that loop, so there is no stray or second road.
        for (int y = 0; y < trackGridSize; y++) {
            for (int x = 0; x < trackGridSize; x++) {
                EXPECT_EQ(isRoad(track, x, y), order[y][x] >= 0) << "cell " << x << "," << y;
            }
        }

        const TileCoord* lists[2] = {track.checkpoints, track.waypoints};
        const int counts[2] = {track.checkpointCount(), track.getWaypointCount()};
        for (int l = 0; l < 2; l++) {
            int previous = -1;
            for (int i = 0; i < counts[l]; i++) {
                TileCoord cell = lists[l][i];
                int type = track.tileAt(cell.x, cell.y);
                EXPECT_TRUE(type >= 1 && type <= 10) << (l ? "waypoint " : "checkpoint ") << i << " type " << type;
                TileCoord next = lists[l][(i + 1) % counts[l]];
                EXPECT_GE(roadDistance(track, cell, next), 0) << (l ? "waypoint " : "checkpoint ") << i;
                EXPECT_GT(order[cell.y][cell.x], previous)
                    << (l ? "waypoint " : "checkpoint ") << i << " out of race order";
                previous = order[cell.y][cell.x];
            }
        }
        EXPECT_EQ(order[track.checkpoints[0].y][track.checkpoints[0].x], 0);  // the finish line
        // The start grid, just before the finish line, is road.
        for (int x = 0; x < 3; x++) {
            EXPECT_TRUE(isRoad(track, x, 7));
        }
    }
}

TEST_F(CourseTest, EachCellDragsWithItsOwnSurfaceMap) {
    ASSERT_EQ(buildCourses(*tileSet, tracks.get(), courseCount, folder.c_str()), 2);
    for (int c = 0; c < courseCount; c++) {
        for (int y = 0; y < trackGridSize; y++) {
            for (int x = 0; x < trackGridSize; x++) {
                int type = layoutCell(c, x, y);
                ASSERT_EQ(tracks[c].tileAt(x, y), type);
                int value = mapValueOf(expectedMapOf(courseTiles[type].picture).c_str());
                ASSERT_GE(value, 0) << courseTiles[type].picture;
                float drag = tracks[c].frictionAt(256.0f * x + 128, 256.0f * y + 128);
                EXPECT_NEAR(drag, value / 500.0 + 0.6, 1e-6) << "course " << c << " cell " << x << "," << y;
            }
        }
    }
    EXPECT_NEAR(tracks[0].frictionAt(-400, 900), 200 / 500.0 + 0.6, 1e-6);  // off the grid: ground
}

TEST_F(CourseTest, MissingDataStillLaysOutBothCourses) {
    std::filesystem::path before = std::filesystem::current_path();
    std::string absent = folder + "/absent";
    EXPECT_EQ(buildCourses(*tileSet, tracks.get(), courseCount, absent.c_str()), 2);
    EXPECT_EQ(std::filesystem::current_path(), before);

    // Every tile keeps its slot, empty, so the layouts still name the right types.
    EXPECT_EQ(tileSet->getTileCount(), courseTileCount);
    EXPECT_EQ(tileSet->getTexture(9), nullptr);
    EXPECT_EQ(platform.boxTexts.size(), 1u + courseTileCount);  // the wall, then every tile
    for (int c = 0; c < courseCount; c++) {
        EXPECT_EQ(tracks[c].wallCount, expectedWalls[c]);
        EXPECT_EQ(tracks[c].tileAt(3, 7), 9);
        EXPECT_FLOAT_EQ(tracks[c].frictionAt(3 * 256 + 100, 7 * 256 + 100), 0.6f);
        EXPECT_FALSE(tracks[c].wallTexture->loaded);
    }
}

// A folder name too long for the path buffer must not be cut short into some other file's name.
TEST_F(CourseTest, AnOverlongDataFolderLoadsNothing) {
    std::string overlong = folder + "/" + std::string(2000, 'x');
    int texturesBefore = texturesUsed();
    EXPECT_EQ(buildCourses(*tileSet, tracks.get(), courseCount, overlong.c_str()), 2);
    EXPECT_EQ(tileSet->getTileCount(), 0);
    EXPECT_EQ(texturesUsed(), texturesBefore);
    ASSERT_EQ(platform.boxTexts.size(), 1u);
    EXPECT_EQ(platform.boxTexts[0].rfind("Path too long", 0), 0u) << platform.boxTexts[0];
    EXPECT_EQ(tracks[0].wallCount, expectedWalls[0]);
    EXPECT_EQ(tracks[0].wallTexture, nullptr);
}

TEST_F(CourseTest, BuildsOnlyTheTracksThereIsRoomFor) {
    std::unique_ptr<Track> only = std::make_unique<Track>();
    EXPECT_EQ(buildCourses(*tileSet, only.get(), 1, folder.c_str()), 1);
    EXPECT_EQ(only->wallCount, 18);
    EXPECT_EQ(tileSet->getTileCount(), courseTileCount);
}

// The generated game pictures, once the asset generator has written them into the build.
TEST_F(CourseTest, LoadsTheGeneratedGameImages) {
    std::string data = TD_BINARY_DIR;
    if (!std::filesystem::exists(data + "/images/track/blank.bmp")) {
        GTEST_SKIP() << "no generated images in " << data << "/images";
    }
    EXPECT_EQ(buildCourses(*tileSet, tracks.get(), courseCount, data.c_str()), 2);
    EXPECT_EQ(tileSet->getTileCount(), courseTileCount);
    EXPECT_TRUE(platform.boxTexts.empty()) << platform.boxTexts[0];
    for (int t = 0; t < courseTileCount; t++) {
        EXPECT_TRUE(tileSet->getTexture(t)->loaded) << courseTiles[t].picture;
        EXPECT_EQ(tileSet->getPhysMap(t)->getWidth(), 128) << courseTiles[t].physMap;
    }
    EXPECT_TRUE(tracks[0].wallTexture->loaded);

    // The road the computer drivers steer for must drag less than the ground beside it.
    for (int c = 0; c < courseCount; c++) {
        float ground = tracks[c].frictionAt(2 * 256 + 128, 5 * 256 + 128);  // a blank cell on both
        ASSERT_EQ(tracks[c].tileAt(2, 5), 0);
        for (int i = 0; i < tracks[c].getWaypointCount(); i++) {
            float x = 0, y = 0;
            ASSERT_TRUE(tracks[c].waypointCentre(i, x, y));
            float road = tracks[c].frictionAt(x, y);
            if (i == 0) {
                printf("course %d: ground drag %.3f, first waypoint %.3f\n", c, ground, road);
            }
            EXPECT_LT(road, ground) << "course " << c << " waypoint " << i;
        }
    }
}
