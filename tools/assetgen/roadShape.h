#pragma once
// The one description of where road, kerb and verge lie on a tile. Both the drawn tile
// and its surface map are sampled from it, so the drag a truck feels lies exactly under
// the road it sees. Coordinates are tile units: 0..256, x right, y up (row 0 at the bottom).
#include <cstdint>

enum class RoadKind { none, vertical, horizontal, corner };

struct RoadShape {
    RoadKind kind = RoadKind::none;
    float pivotX = 0, pivotY = 0;  // corners: the square's corner the road turns about
};

// The road's centre line meets the middle of a side; a corner's centre line is the arc of
// this radius about its pivot, so it meets its two sides square-on like a straight.
const float roadCentreUnits = 128.0f;
const float roadHalfWidthUnits = 75.0f;
const float edgeLineMidUnits = 68.0f;  // painted edge line, inside the asphalt
const float edgeLineHalfWidthUnits = 2.0f;
const float kerbMidUnits = 81.5f;  // kerbs sit just outside the asphalt on corners
const float kerbHalfWidthUnits = 6.5f;
const float kerbStartDegrees = 14.0f;  // kerbs stop short of the tile's sides
const float kerbEndDegrees = 76.0f;

// Surface map values; drag = value / 500 + 0.6, and top speed falls roughly as 1 / drag.
const uint8_t asphaltSurface = 0;
const uint8_t kerbSurface = 40;
const uint8_t groundSurface = 220;

struct RoadPoint {
    float across = 1e9f;  // signed distance from the centre line; corners: positive away from the pivot
    float degrees = 0;    // corners: angle about the pivot, 0 on the horizontal side, 90 on the vertical
    float radius = 0;     // corners: distance from the pivot
};

RoadPoint locateOnRoad(const RoadShape& road, float x, float y);

// Signed distance to the asphalt (negative on it).
float asphaltDistance(const RoadPoint& p);

// Signed distance to the nearer kerb (negative on it); large on tiles without kerbs.
float kerbDistance(const RoadShape& road, const RoadPoint& p);

// The surface map value at a point.
uint8_t surfaceAt(const RoadShape& road, float x, float y);
