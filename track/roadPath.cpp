#include "track/roadPath.h"

#include <cmath>

#include "track/courses.h"

// The road's centre line meets each side at its middle; a corner's centre line is the quarter
// circle of this radius about the cell corner between its two sides (as the tiles are painted).
static const float roadCentreUnits = tileSizeUnits / 2.0f;
static const float quarterTurn = 1.5707963f;  // radians

static const int stepX[roadSideCount] = {-1, 1, 0, 0};
static const int stepY[roadSideCount] = {0, 0, 1, -1};
static const RoadSide oppositeSide[roadSideCount] = {roadRight, roadLeft, roadBottom, roadTop};

static unsigned bit(RoadSide s) { return 1u << s; }

// By tile type, in the order of the course palette: corners, straights, the two finish lines,
// then the off-road pictures.
static const unsigned tileSides[courseTileCount] = {
    0,
    bit(roadBottom) | bit(roadRight),
    bit(roadLeft) | bit(roadBottom),
    bit(roadTop) | bit(roadLeft),
    bit(roadRight) | bit(roadTop),
    bit(roadBottom) | bit(roadTop),
    bit(roadLeft) | bit(roadRight),
    bit(roadTop) | bit(roadBottom),
    bit(roadRight) | bit(roadLeft),
    bit(roadLeft) | bit(roadRight),
    bit(roadRight) | bit(roadLeft),
    0,
    0,
    0,
    0,
};

unsigned roadSidesOf(int tileType) {
    if (tileType < 0 || tileType >= courseTileCount) return 0;
    return tileSides[tileType];
}

float headingOf(float dx, float dy) {
    // A heading h faces (-sin h, cos h).
    return std::atan2(-dx, dy) * 57.29578f;
}

static bool sameCell(TileCoord a, TileCoord b) { return a.x == b.x && a.y == b.y; }

// Follows the road out of cell through side `out` until it reaches a cell of the list other
// than the start: 1 when that is `ahead`, -1 when it is `behind`, 0 when the road breaks off,
// loops back or meets neither first.
static int leadsTo(const Track& track, TileCoord cell, RoadSide out, TileCoord ahead, TileCoord behind) {
    TileCoord at = cell;
    for (int step = 0; step < trackGridSize * trackGridSize; step++) {
        TileCoord next = {at.x + stepX[out], at.y + stepY[out]};
        RoadSide in = oppositeSide[out];
        unsigned sides = roadSidesOf(track.tileAt(next.x, next.y));
        if (!(sides & bit(in)) || sameCell(next, cell)) return 0;
        if (sameCell(next, ahead)) return 1;
        if (sameCell(next, behind)) return -1;
        unsigned others = sides & ~bit(in);
        int s = 0;
        while (s < roadSideCount && !(others & (1u << s))) s++;
        if (s == roadSideCount) return 0;
        out = (RoadSide)s;
        at = next;
    }
    return 0;
}

// The side of the cell the race leaves by, or -1 when the road does not say.
static int exitSide(const Track& track, int index) {
    int n = track.checkpointCount();
    TileCoord cell = track.checkpoints[index];
    TileCoord ahead = track.checkpoints[(index + 1) % n], behind = track.checkpoints[(index + n - 1) % n];
    unsigned sides = roadSidesOf(track.tileAt(cell.x, cell.y));
    for (int s = 0; s < roadSideCount; s++) {
        if (!(sides & (1u << s))) continue;
        int towards = leadsTo(track, cell, (RoadSide)s, ahead, behind);
        if (towards == 1) return s;
        if (towards == -1) {
            unsigned other = sides & ~(1u << s);
            for (int o = 0; o < roadSideCount; o++)
                if (other & (1u << o)) return o;
        }
    }
    return -1;
}

// The middle of a side, relative to the cell's bottom-left corner.
static void sideMiddle(RoadSide s, float& x, float& y) {
    x = roadCentreUnits + stepX[s] * roadCentreUnits;
    y = roadCentreUnits + stepY[s] * roadCentreUnits;
}

bool roadSpotAt(const Track& track, int index, float along, float across, RoadSpot& spot) {
    if (index < 0 || index >= track.checkpointCount() || index >= Track::maxCheckpoints) return false;
    TileCoord cell = track.checkpoints[index];
    float cornerX = (float)(cell.x * tileSizeUnits), cornerY = (float)(cell.y * tileSizeUnits);
    int out = exitSide(track, index);
    float px, py, tx, ty;  // point on the centre line and the unit direction of travel there
    if (out < 0) {
        // No road to follow: the cell's middle, facing the next checkpoint's.
        TileCoord next = track.checkpoints[(index + 1) % track.checkpointCount()];
        px = cornerX + roadCentreUnits;
        py = cornerY + roadCentreUnits;
        float dx = (float)((next.x - cell.x) * tileSizeUnits), dy = (float)((next.y - cell.y) * tileSizeUnits);
        float length = std::sqrt(dx * dx + dy * dy);
        tx = length > 0 ? dx / length : 1.0f;
        ty = length > 0 ? dy / length : 0.0f;
        px += tx * along;
        py += ty * along;
    } else {
        RoadSide exit = (RoadSide)out;
        unsigned sides = roadSidesOf(track.tileAt(cell.x, cell.y));
        RoadSide entry = exit;
        for (int s = 0; s < roadSideCount; s++)
            if ((sides & (1u << s)) && s != exit) entry = (RoadSide)s;
        float ex, ey, xx, xy;
        sideMiddle(entry, ex, ey);
        sideMiddle(exit, xx, xy);
        if (entry == oppositeSide[exit]) {
            float limit = roadCentreUnits;
            float s = along < -limit ? -limit : along > limit ? limit : along;
            tx = (float)stepX[exit];
            ty = (float)stepY[exit];
            px = cornerX + roadCentreUnits + tx * s;
            py = cornerY + roadCentreUnits + ty * s;
        } else {
            // The corner the road turns about is where the entry and exit sides meet.
            float pivotX = (float)(stepX[entry] + stepX[exit] + 1) * roadCentreUnits;
            float pivotY = (float)(stepY[entry] + stepY[exit] + 1) * roadCentreUnits;
            float ax = (ex - pivotX) / roadCentreUnits, ay = (ey - pivotY) / roadCentreUnits;
            float bx = (xx - pivotX) / roadCentreUnits, by = (xy - pivotY) / roadCentreUnits;
            // From the entry side's middle (angle 0) to the exit side's (a quarter turn).
            float angle = quarterTurn / 2 + along / roadCentreUnits;
            angle = angle < 0 ? 0 : angle > quarterTurn ? quarterTurn : angle;
            float c = std::cos(angle), s = std::sin(angle);
            px = cornerX + pivotX + roadCentreUnits * (c * ax + s * bx);
            py = cornerY + pivotY + roadCentreUnits * (c * ay + s * by);
            tx = -s * ax + c * bx;
            ty = -s * ay + c * by;
        }
    }
    // Left of the direction of travel is the direction turned a quarter anticlockwise.
    spot.x = px - ty * across;
    spot.y = py + tx * across;
    spot.heading = headingOf(tx, ty);
    return true;
}
