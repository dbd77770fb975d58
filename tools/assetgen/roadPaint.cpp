#include "tools/assetgen/roadPaint.h"

#include <cmath>

#include "tools/assetgen/noise.h"
#include "tools/assetgen/shapes.h"

namespace {

const float degreesPerRadian = 57.29577951f;
const float kerbStripeUnits = 13.0f;
const float chequerUnits = roadHalfWidthUnits * 2.0f / 18.0f;  // 18 squares across the road
const float chevronTips[2] = {72.0f, 200.0f};                  // 128 apart, also across tiles

float grain(float x, float y, uint32_t seed) {
    return hashUnit(int(std::floor(x)) & 255, int(std::floor(y)) & 255, seed) - 0.5f;
}

Colour asphaltAt(float x, float y, float across) {
    Colour c = mix(rgb(70, 72, 77), rgb(92, 93, 98), tileFbm(x, y, 8, 4, 21));
    // Rubber laid down along the racing line darkens the middle of the road.
    float rubber = smoothStep(34.0f, 10.0f, std::fabs(across)) * (0.5f + 0.5f * tileNoise(x, y, 32, 22));
    c = scaled(c, 1.0f - 0.1f * rubber);
    return offset(c, grain(x, y, 23) * 14.0f);
}

Colour kerbAt(const RoadPoint& p) {
    // An odd number of stripes, so the kerb starts and ends on red.
    float arcUnits = (kerbEndDegrees - kerbStartDegrees) / degreesPerRadian * (roadCentreUnits + kerbMidUnits);
    float inner = (roadCentreUnits - kerbMidUnits) / (roadCentreUnits + kerbMidUnits);
    if (p.across < 0) arcUnits *= inner;
    int stripes = int(std::lround(arcUnits / kerbStripeUnits)) | 1;
    float t = (p.degrees - kerbStartDegrees) / (kerbEndDegrees - kerbStartDegrees) * float(stripes);
    float within = t - std::floor(t);
    float edgeUnits = std::fmin(within, 1.0f - within) * arcUnits / float(stripes);
    bool white = (int(std::floor(t)) & 1) != 0;
    float whiteness = white ? clamp01(0.5f + edgeUnits) : clamp01(0.5f - edgeUnits);
    Colour c = mix(rgb(200, 34, 30), rgb(236, 236, 230), whiteness);
    // Kerbs are raised: darker on their outer lip.
    float lip = std::fabs(std::fabs(p.across) - kerbMidUnits) / kerbHalfWidthUnits;
    return scaled(c, 1.0f - 0.18f * smoothStep(0.5f, 1.0f, lip));
}

// Distance along and across the road in the way the race runs there.
void raceFrame(Heading heading, float x, float y, float& along, float& across) {
    switch (heading) {
    case Heading::up:
        along = y;
        across = x - roadCentreUnits;
        break;
    case Heading::down:
        along = tileUnits - y;
        across = roadCentreUnits - x;
        break;
    case Heading::right:
        along = x;
        across = y - roadCentreUnits;
        break;
    case Heading::left:
        along = tileUnits - x;
        across = roadCentreUnits - y;
        break;
    case Heading::none:
        along = 0;
        across = 0;
        break;
    }
}

float chevronDistance(float along, float across) {
    float d = 1e9f;
    for (float tip : chevronTips) {
        d = std::fmin(d, sdSegment(along, across, tip, 0, tip - 26, 38, 4.5f));
        d = std::fmin(d, sdSegment(along, across, tip, 0, tip - 26, -38, 4.5f));
    }
    return d;
}

// Fraction of a pixel that is white on the chequered line, by 4 x 4 samples.
float chequerWhite(float x, float y) {
    const float lineLeft = roadCentreUnits - 1.5f * chequerUnits;
    float white = 0;
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
            float sx = x - 0.375f + 0.25f * float(i), sy = y - 0.375f + 0.25f * float(j);
            int cx = int(std::floor((sx - lineLeft) / chequerUnits));
            int cy = int(std::floor((sy - (roadCentreUnits - roadHalfWidthUnits)) / chequerUnits));
            white += ((cx + cy) & 1) ? 1.0f : 0.0f;
        }
    }
    return white / 16.0f;
}

float chequerDistance(float x, float y) {
    return sdRect(x, y, roadCentreUnits - 1.5f * chequerUnits, roadCentreUnits - roadHalfWidthUnits,
                  roadCentreUnits + 1.5f * chequerUnits, roadCentreUnits + roadHalfWidthUnits);
}

}  // namespace

Colour paintRoad(const TileDesc& tile, float x, float y, Colour ground) {
    RoadPoint p = locateOnRoad(tile.road, x, y);
    float toAsphalt = asphaltDistance(p);
    // Worn, dusty verge where wheels have run off the road.
    Colour c = mix(ground, mix(ground, rgb(118, 104, 70), 0.5f), smoothStep(7.0f, 0.0f, toAsphalt) * 0.6f);
    c = mix(c, kerbAt(p), clamp01(0.5f - kerbDistance(tile.road, p)));
    c = mix(c, asphaltAt(x, y, p.across), clamp01(0.5f - toAsphalt));
    float line = std::fabs(std::fabs(p.across) - edgeLineMidUnits) - edgeLineHalfWidthUnits;
    float wear = 0.85f + 0.15f * tileNoise(x, y, 64, 24);
    c = mix(c, rgb(232, 232, 226), clamp01(0.5f - line) * wear);
    if (tile.heading != Heading::none) {
        float along = 0, across = 0;
        raceFrame(tile.heading, x, y, along, across);
        c = mix(c, rgb(235, 235, 235), clamp01(0.5f - chevronDistance(along, across)) * 0.22f);
    }
    if (tile.finishLine) {
        float cover = clamp01(0.5f - chequerDistance(x, y));
        if (cover > 0) c = mix(c, mix(rgb(22, 22, 24), rgb(240, 240, 236), chequerWhite(x, y)), cover);
    }
    return c;
}
