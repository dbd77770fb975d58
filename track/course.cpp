#include "track/course.h"

#include <cstdio>
#include <cstring>

#include "track/courseFile.h"
#include "track/courses.h"

// Columns of the grid stand this far apart along the way the trucks face, and the two trucks of a
// column this far apart across it (world units).
static const float gridColumnUnits = 200.0f;
static const float gridRowUnits = 80.0f;

// Heading of an east-facing truck, and the turn per quarter (degrees).
static const float eastHeadingDegrees = -90.0f;
static const float quarterTurnDegrees = 90.0f;

// By facing: the way ahead, and the way to the trucks' right.
static const int aheadX[4] = {1, 0, -1, 0};
static const int aheadY[4] = {0, 1, 0, -1};
static const int rightX[4] = {0, 1, 0, -1};
static const int rightY[4] = {-1, 0, 1, 0};
static const char* const facingNames[4] = {"east", "north", "west", "south"};

Course::Course() : name{}, layout{}, checkpoints{}, checkpointCount(0), waypoints{}, waypointCount(0), walls{},
                   wallCount(0), grid(builtInGrid) {}

int Course::tileAt(int x, int y) const {
    if (x < 0 || x >= trackGridSize || y < 0 || y >= trackGridSize) return groundTile;
    return layout[trackGridSize - 1 - y][x];
}

void Course::setTile(int x, int y, int type) {
    if (x < 0 || x >= trackGridSize || y < 0 || y >= trackGridSize) return;
    layout[trackGridSize - 1 - y][x] = type;
}

int roadSides(int type) {
    switch (type) {
        case 1: return sideBottom | sideRight;
        case 2: return sideLeft | sideBottom;
        case 3: return sideTop | sideLeft;
        case 4: return sideRight | sideTop;
        case 5:
        case 7: return sideTop | sideBottom;
        case 6:
        case 8:
        case finishLineL2R:
        case finishLineR2L: return sideLeft | sideRight;
        default: return 0;
    }
}

bool isRoad(int type) { return roadSides(type) != 0; }

// The picture's file name without its ".bmp" is the tile's name.
const char* tileName(int type) {
    static char names[courseTileCount][32];
    if (type < 0 || type >= courseTileCount) return nullptr;
    if (names[type][0] == '\0') {
        const char* picture = courseTiles[type].picture;
        size_t length = strcspn(picture, ".");
        if (length >= sizeof names[type]) length = sizeof names[type] - 1;
        memcpy(names[type], picture, length);
        names[type][length] = '\0';
    }
    return names[type];
}

int tileNamed(const char* name) {
    for (int t = 0; t < courseTileCount; t++)
        if (strcmp(tileName(t), name) == 0) return t;
    return -1;
}

const char* facingName(int facing) { return facing >= 0 && facing < 4 ? facingNames[facing] : nullptr; }

int facingNamed(const char* name) {
    for (int f = 0; f < 4; f++)
        if (strcmp(facingNames[f], name) == 0) return f;
    return -1;
}

// Integer steps keep the built-in grid's places exactly as the race has always computed them.
void gridPlace(const StartGrid& grid, int truck, float& x, float& y, float& heading) {
    gridPlaceNear(grid, truck, 0.0f, 0.0f, x, y, heading);
}

void gridPlaceNear(const StartGrid& grid, int truck, float along, float aside, float& x, float& y, float& heading) {
    int f = grid.facing >= 0 && grid.facing < 4 ? grid.facing : 0;
    float column = gridColumnUnits * (float)(truck / 2) + along;
    // The first row's other row is to its right; the second row's to its left.
    float row = gridRowUnits * (float)(truck % 2) + (truck % 2 == 0 ? aside : -aside);
    x = grid.x + (float)aheadX[f] * column + (float)rightX[f] * row;
    y = grid.y + (float)aheadY[f] * column + (float)rightY[f] * row;
    heading = eastHeadingDegrees + quarterTurnDegrees * (float)f;
}

void buildTrackFrom(Track& track, const Course& course, TrackTileSet& tileSet, Texture* wallTexture) {
    track.removeWalls();
    track.build(course.layout, course.checkpoints, course.checkpointCount, course.waypoints, course.waypointCount,
                tileSet, wallTexture);
    for (int i = 0; i < course.wallCount && i < Track::maxWalls; i++) {
        const CourseWall& w = course.walls[i];
        track.addWall(w.x1, w.y1, w.x2, w.y2);
    }
    track.startGrid = course.grid;
    track.courseHash = courseHash(course);
    snprintf(track.courseName, sizeof track.courseName, "%s", course.name);
}
