// Trailers whose frame shows from above: the tanker (a polished barrel with a walkway and
// hatches) and the flatbed (a plank deck with logs and crates strapped down). Both show the
// kingpin plate that couples to the cab, 43 units ahead of the trailer's centre.
#include <cmath>

#include "tools/assetgen/noise.h"
#include "tools/assetgen/shapes.h"
#include "tools/assetgen/truckParts.h"

namespace {

const float rear = -57.5f;
const float kingpinY = 43.0f;

Colour steelAt(float x, float y) { return scaled(rgb(112, 114, 120), 0.85f + 0.15f * std::sin(x * 0.4f + y * 0.2f)); }

void paintFrame(Canvas& cv, float plateBottom) {
    auto rails = [](float x, float y) { return sdRect(x, y, -12.0f, rear, 12.0f, 50.0f, 1.5f); };
    cv.fill(rails, partEdgeColour, 1, true);
    cv.fill([&](float x, float y) { return sdRect(std::fabs(x), y, 8.0f, rear + 1, 11.0f, 49.0f, 0.5f); },
            rgb(52, 52, 56));
    auto plate = [plateBottom](float x, float y) { return sdRect(x, y, -15.0f, plateBottom, 15.0f, 51.5f, 2.5f); };
    cv.fill(plate, partEdgeColour, 1, true);
    cv.fill([&](float x, float y) { return plate(x, y) + 1.0f; }, [](float x, float y) { return steelAt(x, y); });
    cv.fill([](float x, float y) { return sdCircle(x, y, 0, kingpinY, 3.0f); }, rgb(30, 30, 32));
    cv.fill([](float x, float y) { return sdCircle(x, y, 0, kingpinY, 1.6f); }, rgb(160, 162, 166));
    paintCouplingLines(cv);
    auto bumper = [](float x, float y) { return sdRect(x, y, -22.0f, rear, 22.0f, rear + 2.5f, 1.0f); };
    cv.fill(bumper, partEdgeColour, 1, true);
    cv.fill([&](float x, float y) { return bumper(x, y) + 0.6f; }, rgb(70, 70, 74));
    cv.fill([](float x, float y) { return sdRect(std::fabs(x), y, 17.5f, rear + 0.6f, 21.4f, rear + 1.9f, 0.4f); },
            rgb(236, 36, 28));
}

// Polished steel barrel: a cylinder across x with domed ends, lit from the top left.
Colour tankAt(float x, float y, float tankFront, float tankRear) {
    const float radius = 22.5f;
    const float dome = 11.0f;
    float nx = x / radius;
    float ny = 0;
    if (y > tankFront - dome)
        ny = (y - (tankFront - dome)) / dome;
    else if (y < tankRear + dome)
        ny = (y - (tankRear + dome)) / dome;
    float nz = std::sqrt(std::fmax(0.02f, 1.0f - nx * nx - ny * ny));
    float diffuse = std::fmax(0.0f, -0.42f * nx + 0.3f * ny + 0.86f * nz);
    Colour c = scaled(rgb(172, 178, 186), 0.3f + 0.8f * diffuse);
    float shine = std::exp(-((nx + 0.36f) / 0.1f) * ((nx + 0.36f) / 0.1f));
    float rim = 0.3f * std::exp(-((nx - 0.62f) / 0.08f) * ((nx - 0.62f) / 0.08f));
    return mix(c, rgb(255, 255, 255), clamp01((shine + rim) * nz));
}

Colour plankAt(float x, float y) {
    const float plank = 4.9f;
    int index = int(std::floor((x + 24.5f) / plank));
    float within = (x + 24.5f) / plank - float(index);
    Colour wood = mix(rgb(124, 86, 50), rgb(170, 124, 76), hashUnit(index, 0, 81));
    float grainLines = tileNoise(x * 6.0f + float(index) * 37.0f, y * 0.7f, 64, 82);
    wood = scaled(wood, 0.85f + 0.3f * grainLines);
    float gap = std::fmin(within, 1.0f - within) * plank;
    return mix(rgb(40, 30, 22), wood, clamp01(gap / 0.7f));
}

void paintLogs(Canvas& cv) {
    struct Log {
        float x, y0, y1, radius;
    };
    const Log logs[] = {
        {-18.6f, 1, 34, 4.3f}, {-9.3f, 1, 34, 4.3f}, {0, 1, 34, 4.3f},    {9.3f, 1, 34, 4.3f},  {18.6f, 1, 34, 4.3f},
        {-13.9f, 3, 32, 4.2f}, {-4.6f, 3, 32, 4.2f}, {4.6f, 3, 32, 4.2f}, {13.9f, 3, 32, 4.2f},
    };
    for (const Log& log : logs) {
        auto shape = [log](float x, float y) {
            return sdRect(x, y, log.x - log.radius, log.y0, log.x + log.radius, log.y1, 2.0f);
        };
        cv.fill([&](float x, float y) { return shape(x, y) - 0.8f; }, rgb(20, 16, 12), 0.7f);
        cv.fill(shape, [log](float x, float y) {
            float n = (x - log.x) / log.radius;
            float nz = std::sqrt(std::fmax(0.0f, 1.0f - n * n));
            float bark = tileNoise(x * 5.0f + log.x * 11.0f, y * 0.8f, 64, 83);
            return scaled(rgb(112, 76, 46), (0.35f + 0.75f * nz * (0.9f - 0.3f * n)) * (0.8f + 0.35f * bark));
        });
        // Sawn ends: pale rings where the trunks were cut.
        for (float endY : {log.y0 + 1.2f, log.y1 - 1.2f})
            cv.fill([&](float x, float y) { return sdEllipse(x, y, log.x, endY, log.radius - 0.8f, 1.0f); },
                    rgb(204, 170, 116), 0.8f);
    }
}

void paintCrates(Canvas& cv) {
    const float boxes[4][4] = {{-23.5f, -55.5f, -0.8f, -30.5f},
                               {0.8f, -55.5f, 23.5f, -30.5f},
                               {-23.5f, -28.5f, -0.8f, -3.5f},
                               {0.8f, -28.5f, 23.5f, -3.5f}};
    for (const auto& b : boxes) {
        auto shape = [&b](float x, float y) { return sdRect(x, y, b[0], b[1], b[2], b[3], 0.8f); };
        cv.fill(shape, rgb(44, 32, 20));
        cv.fill(
            [&](float x, float y) { return shape(x, y) + 0.8f; },
            [](float x, float y) { return scaled(rgb(200, 160, 100), 0.9f + 0.2f * tileNoise(x * 4.0f, y, 64, 84)); });
        // A frame of darker boards round each lid.
        cv.fill([&](float x, float y) { return std::fmax(shape(x, y) + 0.8f, -(shape(x, y) + 2.6f)); },
                rgb(150, 110, 62), 0.9f);
        cv.fill([&](float x, float y) { return std::fmax(shape(x, y), sdSegment(x, y, b[0], b[1], b[2], b[3], 1.1f)); },
                rgb(160, 118, 68));
    }
}

}  // namespace

void paintTankerTrailer(Canvas& cv) {
    paintFrame(cv, 37.0f);
    const float tankFront = 36.5f, tankRear = -55.0f;
    auto tank = [=](float x, float y) { return sdRect(x, y, -22.5f, tankRear, 22.5f, tankFront, 11.0f); };
    cv.fill(tank, partEdgeColour, 1, true);
    cv.fill([&](float x, float y) { return tank(x, y) + 1.0f; },
            [=](float x, float y) { return tankAt(x, y, tankFront, tankRear); });
    for (float band : {-36.0f, -12.0f, 12.0f})
        cv.fill([&](float x, float y) { return std::fmax(tank(x, y) + 1.0f, std::fabs(y - band) - 0.6f); },
                rgb(40, 42, 46), 0.5f);
    // Walkway of tread plate with yellow handrails, and the hatches along it.
    cv.fill([](float x, float y) { return sdRect(x, y, -3.4f, -48.0f, 3.4f, 32.0f, 0.5f); },
            [](float, float y) { return scaled(rgb(86, 88, 94), 0.85f + 0.15f * std::sin(y * 3.9f)); });
    for (float side : {-1.0f, 1.0f})
        cv.fill([side](float x, float y) { return sdSegment(x * side, y, 4.4f, -46.0f, 4.4f, 30.0f, 0.5f); },
                rgb(240, 200, 40));
    for (float hy : {-34.0f, -10.0f, 14.0f}) {
        cv.fill([hy](float x, float y) { return sdCircle(x, y, 0, hy, 4.2f); }, rgb(36, 38, 42));
        cv.fill([hy](float x, float y) { return sdCircle(x, y, 0, hy, 3.4f); },
                [hy](float x, float y) { return scaled(rgb(196, 200, 206), 0.8f + 0.25f * (-(x) + (y - hy)) / 3.4f); });
        cv.fill([hy](float x, float y) { return sdCircle(x, y, 0, hy, 1.2f); }, rgb(70, 72, 78));
    }
}

void paintFlatbedTrailer(Canvas& cv) {
    paintFrame(cv, 38.0f);
    auto deck = [](float x, float y) { return sdRect(x, y, -24.5f, rear, 24.5f, 37.0f, 1.5f); };
    cv.fill(deck, partEdgeColour, 1, true);
    cv.fill([&](float x, float y) { return deck(x, y) + 0.8f; }, [](float x, float y) { return plankAt(x, y); });
    // Steel side rails with stake pockets, and the headboard that guards the cab.
    cv.fill([](float x, float y) { return sdRect(std::fabs(x), y, 22.8f, rear + 0.8f, 23.8f, 36.2f); },
            rgb(92, 94, 100));
    for (float py = rear + 6.0f; py < 34.0f; py += 9.0f)
        cv.fill([py](float x, float y) { return sdRect(std::fabs(x), y, 22.3f, py - 1.0f, 23.8f, py + 1.0f); },
                rgb(56, 56, 60));
    auto headboard = [](float x, float y) { return sdRect(x, y, -24.5f, 35.0f, 24.5f, 39.0f, 1.0f); };
    cv.fill(headboard, partEdgeColour, 1, true);
    cv.fill([&](float x, float y) { return headboard(x, y) + 0.8f; },
            [](float x, float y) {
                return scaled(rgb(150, 154, 160), 0.8f + 0.25f * std::cos(x * 0.06f) + 0.1f * std::sin(y * 2.0f));
            });
    paintLogs(cv);
    paintCrates(cv);
    for (float sy : {-43.0f, -16.0f, 10.0f, 26.0f})
        cv.fill([sy](float x, float y) { return sdRect(x, y, -24.0f, sy - 0.9f, 24.0f, sy + 0.9f); },
                rgb(236, 190, 36));
}
