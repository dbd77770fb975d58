#include "tools/assetgen/roadShape.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/shapes.h"

namespace {
const float degreesPerRadian = 57.29577951f;
}

RoadPoint locateOnRoad(const RoadShape& road, float x, float y) {
    RoadPoint p;
    switch (road.kind) {
    case RoadKind::vertical:
        p.across = x - roadCentreUnits;
        break;
    case RoadKind::horizontal:
        p.across = y - roadCentreUnits;
        break;
    case RoadKind::corner: {
        float dx = std::fabs(x - road.pivotX), dy = std::fabs(y - road.pivotY);
        p.radius = lengthOf(dx, dy);
        p.across = p.radius - roadCentreUnits;
        p.degrees = std::atan2(dy, dx) * degreesPerRadian;
        break;
    }
    case RoadKind::none:
        break;
    }
    return p;
}

float asphaltDistance(const RoadPoint& p) { return std::fabs(p.across) - roadHalfWidthUnits; }

float kerbDistance(const RoadShape& road, const RoadPoint& p) {
    if (road.kind != RoadKind::corner) return 1e9f;
    // A rounded box in (arc length, radial offset) about the kerb's middle.
    float radial = std::fabs(std::fabs(p.across) - kerbMidUnits);
    float midDegrees = (kerbStartDegrees + kerbEndDegrees) * 0.5f;
    float halfDegrees = (kerbEndDegrees - kerbStartDegrees) * 0.5f;
    float arc = (std::fabs(p.degrees - midDegrees) - halfDegrees) / degreesPerRadian * p.radius;
    float qx = arc + 3.0f, qy = radial - kerbHalfWidthUnits + 3.0f;
    return lengthOf(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - 3.0f;
}

uint8_t surfaceAt(const RoadShape& road, float x, float y) {
    if (road.kind == RoadKind::none) return groundSurface;
    RoadPoint p = locateOnRoad(road, x, y);
    if (asphaltDistance(p) < 0) return asphaltSurface;
    if (kerbDistance(road, p) < 0) return kerbSurface;
    return groundSurface;
}
