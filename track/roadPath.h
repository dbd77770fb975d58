#pragma once
// Where the road runs through a cell and which way the race drives it there, read from the
// tile types of the course palette and the order of the checkpoints. A truck put back on the
// course stands on this line, facing the way the race goes.
#include "track/track.h"

// The sides of a cell, as bits of roadSidesOf.
enum RoadSide { roadLeft, roadRight, roadTop, roadBottom, roadSideCount };

// The sides a tile type's road joins (bit per RoadSide); 0 off the road or for an unknown type.
unsigned roadSidesOf(int tileType);

// A point on the course and the truck heading (degrees, the game's convention) that faces the
// race's direction there.
struct RoadSpot {
    float x, y;
    float heading;
};

// The point `along` world units past the middle of checkpoint `index`'s cell along the road's
// centre line, in the race's direction, and `across` units to the left of it. A cell whose road
// cannot be followed to the next checkpoint gives its centre, facing that checkpoint. False only
// for an index outside the list.
bool roadSpotAt(const Track& track, int index, float along, float across, RoadSpot& spot);

// The heading that faces the world direction (dx, dy).
float headingOf(float dx, float dy);
