// Box trailers seen from above, front (coupling end) at +y: a ribbed roof, edge rails,
// rear doors with lamps, and the air and brake lines that hook up to the cab in front.
#include <cmath>

#include "tools/assetgen/shapes.h"
#include "tools/assetgen/truckParts.h"

namespace {

const float halfWidth = 24.5f;
const float rear = -57.5f;
const float front = 57.5f;
const float roofFront = 54.5f;

struct RoofLook {
    Colour base;
    float ribDepth;  // brightness swing of the corrugations
    float ribPitch;  // units between ribs
    float gloss;
    Colour stripe;  // pinstripe along each side
    bool striped;
};

RoofLook roofLook(TrailerKind kind) {
    switch (kind) {
    case TrailerKind::redBox:
        return {rgb(178, 32, 30), 0.04f, 4.0f, 0.22f, rgb(244, 244, 240), true};
    case TrailerKind::blackBox:
        return {rgb(40, 40, 46), 0.12f, 3.2f, 0.3f, rgb(214, 170, 60), true};
    default:
        return {rgb(182, 186, 194), 0.08f, 3.2f, 0.4f, rgb(0, 0, 0), false};
    }
}

Colour roofAt(const RoofLook& look, float x, float y) {
    float n = x / halfWidth;
    float rib = std::sin(y / look.ribPitch * 6.2831853f);
    Colour c = scaled(look.base, (0.8f + 0.2f * std::cos(n * 1.3f)) * (1.0f + look.ribDepth * rib));
    float gloss = std::exp(-((n + 0.4f) / 0.14f) * ((n + 0.4f) / 0.14f)) * (0.7f + 0.3f * rib);
    return mix(c, rgb(255, 255, 255), gloss * look.gloss);
}

}  // namespace

// Air lines and the coupling panel ahead of the trailer's front wall; shared by all trailers.
void paintCouplingLines(Canvas& cv) {
    auto panel = [](float x, float y) { return sdRect(x, y, -7.5f, 52.0f, 7.5f, 57.3f, 1.2f); };
    cv.fill(panel, partEdgeColour, 1, true);
    cv.fill([&](float x, float y) { return panel(x, y) + 0.7f; }, rgb(70, 70, 76));
    const Colour lines[3] = {rgb(214, 40, 36), rgb(236, 196, 40), rgb(50, 96, 210)};
    for (int i = 0; i < 3; ++i) {
        float lx = -4.0f + 4.0f * float(i);
        cv.fill([lx](float x, float y) { return sdCircle(x, y, lx, 55.2f, 1.3f); }, lines[i]);
    }
}

void paintBoxTrailer(Canvas& cv, const TruckStyle& s) {
    RoofLook look = roofLook(s.trailer);
    paintCouplingLines(cv);
    auto body = [](float x, float y) { return sdRect(x, y, -halfWidth, rear, halfWidth, roofFront, 2.5f); };
    cv.fill(body, partEdgeColour, 1, true);
    cv.fill([&](float x, float y) { return body(x, y) + 1.0f; }, [&](float x, float y) { return roofAt(look, x, y); });
    // Edge rails with a row of rivets.
    cv.fill([](float x, float y) { return sdRect(std::fabs(x), y, 22.2f, rear + 1.5f, 23.3f, roofFront - 1.5f); },
            scaled(look.base, 0.62f));
    for (float ry = rear + 4.0f; ry < roofFront - 2.0f; ry += 5.0f)
        cv.fill([ry](float x, float y) { return sdCircle(std::fabs(x), y, 21.2f, ry, 0.45f); }, scaled(look.base, 1.2f),
                0.8f);
    if (look.striped)
        cv.fill(
            [](float x, float y) { return sdRect(std::fabs(x), y, 18.6f, rear + 3.0f, 19.8f, roofFront - 3.0f, 0.5f); },
            look.stripe);
    // Front wall; the silver box carries a refrigeration unit on it.
    cv.fill([](float x, float y) { return sdRect(x, y, -23.5f, 51.0f, 23.5f, 53.5f, 1.0f); }, scaled(look.base, 0.7f));
    if (s.trailer == TrailerKind::metalBox) {
        auto unit = [](float x, float y) { return sdRect(x, y, -13, 43.5f, 13, 53.0f, 2.0f); };
        cv.fill(unit, rgb(30, 30, 34));
        cv.fill([&](float x, float y) { return unit(x, y) + 0.8f; }, rgb(214, 216, 220));
        for (float fx : {-6.5f, 6.5f}) {
            cv.fill([fx](float x, float y) { return sdCircle(x, y, fx, 48.2f, 3.4f); }, rgb(44, 46, 50));
            cv.fill([fx](float x, float y) { return sdCircle(x, y, fx, 48.2f, 1.0f); }, rgb(150, 152, 156));
        }
    }
    // Rear doors: hinge line, handles and lamps.
    cv.fill([](float x, float y) { return sdRect(x, y, -23.5f, rear + 0.8f, 23.5f, rear + 3.2f, 0.8f); },
            scaled(look.base, 0.6f));
    cv.fill([](float x, float y) { return sdRect(std::fabs(x), y, 19.0f, rear + 1.0f, 22.8f, rear + 2.6f, 0.5f); },
            rgb(236, 36, 28));
    cv.fill([](float x, float y) { return sdRect(std::fabs(x), y, 16.0f, rear + 1.0f, 18.2f, rear + 2.6f, 0.5f); },
            rgb(255, 150, 30));
}

void paintTrailer(Canvas& cv, const TruckStyle& s) {
    switch (s.trailer) {
    case TrailerKind::tanker:
        paintTankerTrailer(cv);
        break;
    case TrailerKind::flatbed:
        paintFlatbedTrailer(cv);
        break;
    default:
        paintBoxTrailer(cv, s);
        break;
    }
}
