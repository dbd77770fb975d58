#pragma once
// A course from its road alone. A layout whose road tiles make one closed loop through one
// finish line gets its checkpoints, waypoints, walls, starting grid and the pictures of its
// straights (pointing the way the loop is driven); any other layout is refused, saying where.
#include "track/course.h"

enum class ShapeFault {
    none,
    noFinish,        // no finish-line tile
    twoFinishes,     // more than one
    openEnd,         // the road runs off the grid or onto the ground
    branch,          // the road runs into the side of another road tile
    strayRoad,       // road that the loop through the finish line does not pass
    finishOnCorner,  // (a road plan) the finish line's cell turns
    finishUpright,   // (a road plan) the finish line's road runs up and down
    missesGrid,      // the road before the finish line has no room for the starting grid
    tooWinding,      // more bends than the waypoint list holds
    tooManyWalls,    // more wall lines than a track holds
};

struct ShapeReport {
    ShapeFault fault;
    TileCoord at;  // the cell the fault is at
    char message[160];
    int loopLength;  // road tiles on the loop, once derived
};

// Most road tiles a loop on the grid can have.
const int maxLoopCells = trackGridSize * trackGridSize;

// Derives everything but the name and layout's ground from the layout's road. reverse drives the
// loop the other way (its finish line turned round). On refusal the course is left as it was.
bool shapeCourse(Course& course, bool reverse, ShapeReport& report);

// Lays road tiles from a plan of road cells (indexed [y][x], y up), choosing straights and
// corners from each cell's road neighbours and a finish line at finish, driven left to right
// or right to left; then shapes the course as shapeCourse does. Ground tiles stay as they are.
bool layRoad(const bool road[trackGridSize][trackGridSize], TileCoord finish, bool leftToRight, Course& course,
             ShapeReport& report);

// The loop's road cells in driving order from the finish line; its length, or 0 when the
// layout is not one loop (report says why).
int traceLoop(const Course& course, TileCoord* loop, ShapeReport& report);
