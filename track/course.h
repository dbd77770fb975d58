#pragma once
// A course as a plain value: everything a race needs to lay a track, and nothing loaded. Course
// files read into it and write from it; the road's shape derives its lists and walls; the game
// builds a track from it.
#include "track/track.h"

// Trucks the starting grid places.
const int gridTruckCount = 5;

// Longest course name, with its terminating zero.
const int courseNameSize = 64;

// One wall from (x1, y1) to (x2, y2), world units.
struct CourseWall {
    float x1, y1, x2, y2;
};

struct Course {
    char name[courseNameSize];
    int layout[trackGridSize][trackGridSize];  // tile types, written north up: row 0 is grid row 7
    TileCoord checkpoints[Track::maxCheckpoints];
    int checkpointCount;
    TileCoord waypoints[Track::maxWaypoints];
    int waypointCount;
    CourseWall walls[Track::maxWalls];
    int wallCount;
    StartGrid grid;

    Course();
    // The tile type at grid cell (x, y), y up; 0 (ground) off the grid.
    int tileAt(int x, int y) const;
    void setTile(int x, int y, int type);
};

// Tile types of the game's palette, by their role in a road.
const int groundTile = 0;
const int finishLineL2R = 9;
const int finishLineR2L = 10;

// The sides of a cell: top is towards greater y.
enum CellSide { sideTop = 1, sideRight = 2, sideBottom = 4, sideLeft = 8 };
// The sides a tile type's road joins (two of CellSide), or 0 for ground and unknown types.
int roadSides(int type);
bool isRoad(int type);

// The tile's name as course files give it ("cornerB2R"), or null for a type outside the palette.
const char* tileName(int type);
// The type of a named tile, or -1.
int tileNamed(const char* name);

// The facing's name in a course file ("east") and back; -1 for an unknown name.
const char* facingName(int facing);
int facingNamed(const char* name);
// World position and heading (degrees, the truck's own convention) of truck i on the grid.
void gridPlace(const StartGrid& grid, int truck, float& x, float& y, float& heading);
// A place near truck i's grid place: along units ahead of it (behind when negative) and aside
// units towards the grid's other row, facing as the grid does.
void gridPlaceNear(const StartGrid& grid, int truck, float along, float aside, float& x, float& y, float& heading);

// The two courses laid down in code, as values; false for an index that names neither.
bool builtInCourse(int index, Course& out);
// Lays the course into the track: its tiles, lists, walls and grid. Walls already in the track
// are taken away first, so a track can be built again from another course.
void buildTrackFrom(Track& track, const Course& course, TrackTileSet& tileSet, Texture* wallTexture);
