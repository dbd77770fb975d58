// The tractor unit seen from above, front at +y: bumper and grille, windscreen and mirrors,
// roof with visor and lights, and behind the cabin the chassis, drive tyres and fifth wheel,
// which only show when the trailer swings aside.
#include <cmath>

#include "tools/assetgen/shapes.h"
#include "tools/assetgen/truckParts.h"

namespace {

const float bodyHalfWidth = 20.5f;  // the front tyres (x = 21 +- 2.5) show just outside it
const float bodyRear = -13.0f;
const float bodyFront = 33.5f;
const float outline = 1.0f;

Colour metalAt(float x, float y, float polish) {
    float streak = 0.5f + 0.5f * std::sin(x * 0.9f + y * 0.35f);
    return mix(rgb(96, 98, 104), rgb(228, 230, 236), clamp01(0.25f + 0.6f * polish * streak + 0.1f * polish));
}

// Paint on a roof that curves down to the sides, lit from the top left.
Colour roofShade(Colour paint, float x, float halfWidth) {
    float n = x / halfWidth;
    Colour c = scaled(paint, 0.72f + 0.34f * std::cos(n * 1.25f) - 0.06f * n);
    float gloss = std::exp(-((n + 0.38f) / 0.13f) * ((n + 0.38f) / 0.13f));
    return mix(c, rgb(255, 255, 255), gloss * 0.32f);
}

void paintRunningGear(Canvas& cv, const TruckStyle& s) {
    auto tyres = [](float x, float y) { return sdRect(std::fabs(x), y, 15.5f, -31.5f, 21.5f, -18.5f, 1.8f); };
    cv.fill(tyres, partEdgeColour, 1, true);
    cv.fill([&](float x, float y) { return tyres(x, y) + outline; },
            [](float, float y) { return scaled(rgb(46, 46, 49), 0.8f + 0.2f * std::sin(y * 3.6f)); });
    auto chassis = [](float x, float y) { return sdRect(x, y, -13, -33.5f, 13, bodyRear + 1, 1.5f); };
    cv.fill(chassis, partEdgeColour, 1, true);
    cv.fill([&](float x, float y) { return chassis(x, y) + outline; }, rgb(58, 58, 62));
    cv.fill([](float x, float y) { return sdRect(std::fabs(x), y, 8.5f, -33.5f, 11, bodyRear, 0.5f); },
            rgb(36, 36, 40));
    // Fifth wheel: a greased plate with the slot that takes the trailer's kingpin.
    auto plate = [](float x, float y) { return sdRect(x, y, -9.5f, -33.2f, 9.5f, -22.0f, 3.0f); };
    cv.fill(plate, [](float x, float) { return scaled(rgb(112, 114, 120), 0.85f + 0.15f * std::cos(x * 0.15f)); });
    cv.fill([](float x, float y) { return sdSegment(x, y, 0, -34, 0, -28.5f, 1.1f); }, rgb(20, 20, 22));
    cv.fill([](float x, float y) { return sdCircle(x, y, 0, -28.5f, 1.8f); }, rgb(20, 20, 22));
    // Exhaust stacks behind the cabin.
    auto stacks = [](float x, float y) { return sdCircle(std::fabs(x), y, 16.5f, -15.5f, 2.8f); };
    cv.fill(stacks, partEdgeColour, 1, true);
    cv.fill([&](float x, float y) { return stacks(x, y) + 0.7f; },
            [&](float x, float y) { return metalAt(x, y, s.chrome); });
    cv.fill([](float x, float y) { return sdCircle(std::fabs(x), y, 16.5f, -15.5f, 1.0f); }, rgb(16, 16, 18));
}

void paintCabin(Canvas& cv, const TruckStyle& s) {
    auto body = [](float x, float y) { return sdRect(x, y, -bodyHalfWidth, bodyRear, bodyHalfWidth, bodyFront, 4.5f); };
    cv.fill(body, partEdgeColour, 1, true);
    cv.fill([&](float x, float y) { return body(x, y) + outline; },
            [&](float x, float) { return roofShade(s.cabPaint, x, bodyHalfWidth); });
    // Rear wall of the cabin, and side trim stripes along the roof.
    cv.fill([](float x, float y) { return sdRect(x, y, -19.5f, bodyRear + 1, 19.5f, -10.5f, 1.5f); },
            scaled(s.cabPaint, 0.55f), 0.8f);
    cv.fill([](float x, float y) { return sdRect(std::fabs(x), y, 15.0f, -9.5f, 17.0f, 14.0f, 1.0f); },
            [&](float x, float) { return roofShade(s.cabTrim, x, bodyHalfWidth); });
    // Sun visor over the windscreen with a bar of amber roof lights.
    cv.fill([](float x, float y) { return sdRect(x, y, -18.5f, 14.5f, 18.5f, 17.5f, 1.5f); },
            [&](float x, float) { return scaled(roofShade(s.cabPaint, x, bodyHalfWidth), 0.7f); });
    for (float lx : {-10.5f, -3.5f, 3.5f, 10.5f})
        cv.fill([lx](float x, float y) { return sdCircle(x, y, lx, 16.0f, 1.0f); }, rgb(255, 184, 40));
    // Roof hatch and a vent.
    cv.fill([](float x, float y) { return sdRect(x, y, -6, 0, 6, 8, 1.5f); }, scaled(s.cabPaint, 0.6f));
    cv.fill([](float x, float y) { return sdRect(x, y, -5, 1, 5, 7, 1.0f); },
            [&](float x, float) { return scaled(roofShade(s.cabPaint, x, bodyHalfWidth), 1.08f); });
    cv.fill([](float x, float y) { return sdRect(x, y, -4, -6.5f, 4, -4.0f, 1.0f); }, rgb(40, 40, 44));
}

void paintFront(Canvas& cv, const TruckStyle& s) {
    // Windscreen: dark glass reflecting the sky in one diagonal streak.
    auto glass = [](float x, float y) { return sdRect(x, y, -17.8f, 17.8f, 17.8f, 24.0f, 1.8f); };
    cv.fill(glass, [](float, float y) { return mix(rgb(24, 34, 48), rgb(64, 92, 122), clamp01((y - 17.8f) / 6.2f)); });
    cv.fill([&](float x, float y) { return std::fmax(glass(x, y), std::fabs(x * 0.6f + (y - 21) + 7.0f) - 1.3f); },
            rgb(170, 196, 220), 0.45f);
    for (float side : {-1.0f, 1.0f})
        cv.fill([side](float x, float y) { return sdSegment(x * side, y, 2.5f, 23.3f, 13.5f, 22.7f, 0.4f); },
                rgb(18, 18, 20));
    // Bonnet badge, grille, bumper and lamps at the very front.
    cv.fill([](float x, float y) { return sdRect(x, y, -10.5f, 26.5f, 10.5f, 30.6f, 1.0f); }, rgb(30, 30, 34));
    for (float slatY : {27.5f, 29.3f})
        cv.fill([slatY](float x, float y) { return sdSegment(x, y, -9.5f, slatY, 9.5f, slatY, 0.4f); },
                [&](float x, float y) { return metalAt(x, y, s.chrome); });
    cv.fill([](float x, float y) { return sdCircle(x, y, 0, 25.2f, 0.9f); },
            [&](float x, float y) { return metalAt(x, y, s.chrome); });
    auto bumper = [](float x, float y) { return sdRect(x, y, -19.7f, 30.9f, 19.7f, 32.8f, 1.0f); };
    cv.fill(bumper, [&](float x, float y) { return metalAt(x, y, s.chrome * 0.8f); });
    cv.fill([](float x, float y) { return sdRect(std::fabs(x), y, 12.5f, 31.2f, 17.5f, 32.6f, 0.5f); },
            rgb(255, 248, 214));
    cv.fill([](float x, float y) { return sdRect(std::fabs(x), y, 17.9f, 31.2f, 19.3f, 32.6f, 0.4f); },
            rgb(255, 150, 30));
}

void paintMirrors(Canvas& cv, const TruckStyle& s) {
    auto arm = [](float x, float y) { return sdSegment(std::fabs(x), y, 19.0f, 22.0f, 21.8f, 23.0f, 0.7f); };
    auto head = [](float x, float y) { return sdRect(std::fabs(x), y, 20.6f, 20.0f, 23.0f, 26.0f, 1.0f); };
    auto both = [&](float x, float y) { return std::fmin(arm(x, y), head(x, y)); };
    cv.fill(both, partEdgeColour, 1, true);
    cv.fill([&](float x, float y) { return head(x, y) + 0.6f; },
            [&](float x, float y) { return metalAt(x, y, s.chrome); });
}

}  // namespace

void paintCab(Canvas& cv, const TruckStyle& s) {
    paintRunningGear(cv, s);
    paintCabin(cv, s);
    paintFront(cv, s);
    paintMirrors(cv, s);
}

void paintWheel(Canvas& cv) {
    auto tyre = [](float x, float y) { return sdRect(x, y, -2.5f, -5.5f, 2.5f, 5.5f, 1.2f); };
    cv.fill(tyre, partEdgeColour, 1, true);
    // Tread blocks across the tyre, a little lighter over its crown.
    cv.fill([&](float x, float y) { return tyre(x, y) + 0.6f; },
            [](float x, float y) {
                Colour c = scaled(rgb(50, 50, 53), 0.75f + 0.25f * std::sin(y * 3.4f));
                return scaled(c, 1.15f - 0.25f * std::fabs(x) / 2.5f);
            });
}
