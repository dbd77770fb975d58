#include "track/courses.h"

#include "core/errorBox.h"
#include "graphics/image.h"
#include "graphics/texture.h"
#include "track/course.h"
#include "track/trackTileSet.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstring>

// Type order matters: the layouts below refer to tiles by their index here. The two straights
// of an axis share one surface map, and all off-road pictures share the blank one.
const CourseTile courseTiles[courseTileCount] = {
    {"blank.bmp", "blank.bmp"},
    {"cornerB2R.bmp", "cornerB2R.bmp"},
    {"cornerL2B.bmp", "cornerL2B.bmp"},
    {"cornerT2L.bmp", "cornerT2L.bmp"},
    {"cornerR2T.bmp", "cornerR2T.bmp"},
    {"straightB2T.bmp", "straightT2B.bmp"},
    {"straightL2R.bmp", "straightL2R.bmp"},
    {"straightT2B.bmp", "straightT2B.bmp"},
    {"straightR2L.bmp", "straightL2R.bmp"},
    {"finishLineL2R.bmp", "straightL2R.bmp"},
    {"finishLineR2L.bmp", "straightL2R.bmp"},
    {"blank2.bmp", "blank.bmp"},
    {"blank3.bmp", "blank.bmp"},
    {"blank4.bmp", "blank.bmp"},
    {"blank5.bmp", "blank.bmp"},
};

// Course 0: one loop, run clockwise from the finish line on the top row.
// clang-format off
static const int course0Layout[trackGridSize][trackGridSize] = {
    {1, 6, 6, 9, 6, 6, 2, 0},
    {5, 14, 0, 0, 11, 0, 7, 0},
    {5, 0, 0, 0, 0, 0, 7, 14},
    {5, 0, 1, 8, 2, 0, 4, 2},
    {5, 0, 7, 0, 5, 0, 0, 7},
    {5, 0, 7, 0, 5, 11, 13, 7},
    {5, 0, 7, 13, 4, 8, 8, 3},
    {4, 8, 3, 0, 0, 11, 12, 0},
};

static const TileCoord course0Checkpoints[] = {
    {3, 7}, {6, 6}, {7, 2}, {6, 1}, {4, 2}, {2, 4}, {1, 0}, {0, 1}, {1, 7},
};

static const TileCoord course0Waypoints[] = {
    {5, 7}, {6, 6}, {6, 5}, {7, 3}, {7, 2}, {6, 1}, {5, 1}, {4, 2},
    {4, 3}, {3, 4}, {2, 3}, {2, 1}, {1, 0}, {0, 1}, {0, 6}, {1, 7},
};

// Course 1: a longer loop that doubles back under the finish line and through the middle.
static const int course1Layout[trackGridSize][trackGridSize] = {
    {1, 6, 6, 9, 2, 1, 6, 2},
    {5, 1, 6, 6, 3, 5, 14, 7},
    {5, 7, 0, 14, 11, 5, 0, 7},
    {5, 7, 12, 0, 0, 5, 0, 7},
    {5, 7, 11, 0, 0, 5, 1, 3},
    {5, 4, 6, 6, 6, 3, 7, 0},
    {5, 12, 1, 8, 8, 8, 3, 12},
    {4, 8, 3, 0, 0, 0, 12, 0},
};

static const TileCoord course1Checkpoints[] = {
    {3, 7}, {2, 6}, {1, 3}, {4, 2}, {6, 7}, {7, 4}, {3, 1}, {0, 1}, {0, 6},
};

static const TileCoord course1Waypoints[] = {
    {3, 7}, {2, 6}, {1, 5}, {1, 3}, {4, 2}, {5, 6}, {6, 7},
    {7, 6}, {7, 4}, {6, 2}, {5, 1}, {3, 1}, {1, 0}, {0, 6},
};
// clang-format on

#define TD_COUNT(a) ((int)(sizeof(a) / sizeof((a)[0])))

// Track::build keeps only what its fixed lists hold; a longer table would lose its last cells.
static_assert(TD_COUNT(course0Checkpoints) <= Track::maxCheckpoints, "course 0 has too many checkpoints");
static_assert(TD_COUNT(course0Waypoints) <= Track::maxWaypoints, "course 0 has too many waypoints");
static_assert(TD_COUNT(course1Checkpoints) <= Track::maxCheckpoints, "course 1 has too many checkpoints");
static_assert(TD_COUNT(course1Waypoints) <= Track::maxWaypoints, "course 1 has too many waypoints");

const CourseData courseData[courseCount] = {
    {course0Layout, course0Checkpoints, TD_COUNT(course0Checkpoints), course0Waypoints, TD_COUNT(course0Waypoints)},
    {course1Layout, course1Checkpoints, TD_COUNT(course1Checkpoints), course1Waypoints, TD_COUNT(course1Waypoints)},
};

// The form of the game's own wall picture.
static const ImageShape wallShape = {256, 24};

struct WallPoint {
    float x, y;
};

// Wall lines in world units. The outer line of course 0 repeats (2100, 100), which leaves one
// wall of zero length; it stops nothing and is kept so the wall count stays as laid out.
static const WallPoint lineA[] = {{-50, -50},   {1000, -50},  {2100, 100}, {2100, 100},
                                  {2100, 1300}, {1800, 2100}, {-50, 2100}, {-50, -50}};
static const WallPoint lineB[] = {{1300, 1311}, {500, 1311}, {450, 300}, {250, 325}};
static const WallPoint lineC[] = {{1550, 1040}, {1750, 1000}, {1780, 500}, {1320, 530}, {1280, 600}};
static const WallPoint lineD[] = {{250, 750}, {265, 1200}};
static const WallPoint lineE[] = {{265, 1300}, {250, 1500}, {500, 1800}};

// Course 1: F is the inner wall; G encloses the course and returns to its fourth point.
static const WallPoint lineF[] = {{983, 1800},  {353, 1790},  {253, 1690}, {243, 1000}, {273, 250},
                                  {500, 270},   {520, 490},   {1500, 520}, {1550, 570}, {1550, 1700},
                                  {1650, 1800}, {1720, 1800}, {1810, 1700}};
static const WallPoint lineG[] = {{900, 1500}, {1280, 1550}, {1270, 1700}, {1280, 2000}, {1090, 2100},
                                  {-50, 2100}, {-50, -50},   {800, -50},   {900, 200},   {1840, 200},
                                  {1900, 300}, {1930, 500},  {1880, 700},  {1950, 750},  {2050, 780},
                                  {2200, 780}, {2200, 2100}, {1450, 2100}, {1280, 2000}};

// Draws one wall line through its points and lifts the pen, so the next line starts afresh.
static void drawWallLine(Track& track, const WallPoint* points, int pointCount) {
    for (int i = 0; i < pointCount; i++) {
        track.wallTo(points[i].x, points[i].y);
    }
    track.liftPen();
}

// Joins folder and name with "/"; false when the result would not fit.
static bool joinPath(char* out, size_t capacity, const char* folder, const char* name) {
    int written;
    if (folder == nullptr || folder[0] == '\0') {
        written = snprintf(out, capacity, "%s", name);
    } else {
        size_t length = strlen(folder);
        const char* separator = folder[length - 1] == '/' ? "" : "/";
        written = snprintf(out, capacity, "%s%s%s", folder, separator, name);
    }
    if (written < 0 || (size_t)written >= capacity) {
        errorBox("Path too long:\n%s/%s", folder ? folder : "", name);
        return false;
    }
    return true;
}

// Appends a wall line's walls to the course, as drawing it with wallTo would lay them.
static void addWallLine(Course& course, const WallPoint* points, int pointCount) {
    for (int i = 1; i < pointCount && course.wallCount < Track::maxWalls; i++)
        course.walls[course.wallCount++] = {points[i - 1].x, points[i - 1].y, points[i].x, points[i].y};
}

bool builtInCourse(int index, Course& out) {
    if (index < 0 || index >= courseCount) return false;
    Course c;
    const CourseData& data = courseData[index];
    snprintf(c.name, sizeof c.name, "%s", index == 0 ? "Clockwork" : "Doubleback");
    memcpy(c.layout, data.layout, sizeof c.layout);
    for (int i = 0; i < data.checkpointCount; i++) c.checkpoints[c.checkpointCount++] = data.checkpoints[i];
    for (int i = 0; i < data.waypointCount; i++) c.waypoints[c.waypointCount++] = data.waypoints[i];
    // In the order buildCourses lays them.
    if (index == 0) {
        addWallLine(c, lineA, TD_COUNT(lineA));
        c.walls[c.wallCount++] = {900, 950, 900, -50};
        addWallLine(c, lineB, TD_COUNT(lineB));
        addWallLine(c, lineC, TD_COUNT(lineC));
        addWallLine(c, lineD, TD_COUNT(lineD));
        addWallLine(c, lineE, TD_COUNT(lineE));
    } else {
        addWallLine(c, lineF, TD_COUNT(lineF));
        addWallLine(c, lineG, TD_COUNT(lineG));
    }
    out = c;
    return true;
}

int buildCourses(TrackTileSet& tileSet, Track* tracks, int trackCapacity, const char* dataFolder) {
    const size_t pathCapacity = 1024;
    char imagesFolder[pathCapacity];
    char tileFolder[pathCapacity];
    char mapFolder[pathCapacity];
    char picturePath[pathCapacity];
    char mapPath[pathCapacity];

    // Paths are joined rather than entered, so the working directory never moves. A path too
    // long to hold is reported and its file skipped, rather than loading a truncated name.
    bool foldersOk = joinPath(imagesFolder, pathCapacity, dataFolder, "images");

    Texture* wallTexture = nullptr;
    if (foldersOk && joinPath(picturePath, pathCapacity, imagesFolder, "wall.bmp")) {
        wallTexture = loadTexture(picturePath, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR_MIPMAP_LINEAR, 0, &wallShape);
    }

    foldersOk = foldersOk && joinPath(tileFolder, pathCapacity, imagesFolder, "track") &&
                joinPath(mapFolder, pathCapacity, tileFolder, "physMap");
    // A tile that fails keeps its slot, so the layouts' type numbers still name the right tiles.
    for (int t = 0; foldersOk && t < courseTileCount; t++) {
        bool added = joinPath(picturePath, pathCapacity, tileFolder, courseTiles[t].picture) &&
                     joinPath(mapPath, pathCapacity, mapFolder, courseTiles[t].physMap) &&
                     tileSet.addTile(picturePath, mapPath);
        if (!added) {
            tileSet.keepFailedTile();
        }
    }

    int built = 0;
    if (tracks == nullptr || trackCapacity < 1) {
        return built;
    }

    // Course 0 gets its walls after its build, course 1 before; the two orders give the same
    // track because walls and build are independent.
    const CourseData& c0 = courseData[0];
    tracks[0].build(c0.layout, c0.checkpoints, c0.checkpointCount, c0.waypoints, c0.waypointCount, tileSet,
                    wallTexture);
    drawWallLine(tracks[0], lineA, TD_COUNT(lineA));
    tracks[0].addWall(900, 950, 900, -50);
    drawWallLine(tracks[0], lineB, TD_COUNT(lineB));
    drawWallLine(tracks[0], lineC, TD_COUNT(lineC));
    drawWallLine(tracks[0], lineD, TD_COUNT(lineD));
    drawWallLine(tracks[0], lineE, TD_COUNT(lineE));
    built = 1;
    if (trackCapacity < 2) {
        return built;
    }

    const CourseData& c1 = courseData[1];
    drawWallLine(tracks[1], lineF, TD_COUNT(lineF));
    drawWallLine(tracks[1], lineG, TD_COUNT(lineG));
    tracks[1].build(c1.layout, c1.checkpoints, c1.checkpointCount, c1.waypoints, c1.waypointCount, tileSet,
                    wallTexture);
    built = 2;
    return built;
}
