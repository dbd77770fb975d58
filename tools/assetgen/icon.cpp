#include "tools/assetgen/icon.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/truckPictures.h"

namespace {

// The truck laid out along its length v (front up) and across it u, in texels: the trailer's
// picture from v = 0, the cab's in front of it, overlapping at the coupling.
const float trailerLength = float(trailerTexels.d - trailerTexels.b);
const float cabStart = trailerLength - 15.0f;
const float truckLength = cabStart + float(cabTexels.d - cabTexels.b);

// The truck picture's texel under (u, v), or nullptr where the truck is not.
const uint8_t* truckTexel(const RgbPicture& truck, float u, float v) {
    const TexelRect* part = nullptr;
    float along = 0;
    // The cab is in front and drawn over the trailer where they meet.
    if (v >= cabStart && v < truckLength) {
        part = &cabTexels;
        along = v - cabStart;
    } else if (v >= 0 && v < trailerLength) {
        part = &trailerTexels;
        along = v;
    }
    if (!part) return nullptr;
    float halfWidth = float(part->c - part->a) * 0.5f;
    if (std::fabs(u) >= halfWidth) return nullptr;
    int x = int(float(part->a) + halfWidth + u);
    int y = int(float(part->b) + along);
    const uint8_t* p = truck.at(std::clamp(x, 0, truckPixels - 1), std::clamp(y, 0, truckPixels - 1));
    return p[0] == keyRed && p[1] == keyGreen && p[2] == keyBlue ? nullptr : p;
}

// Signed distance to a square of half-side h with corners rounded by r.
float roundedSquare(float x, float y, float h, float r) {
    float qx = std::fabs(x) - h + r, qy = std::fabs(y) - h + r;
    float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - r;
}

}  // namespace

RgbaPicture paintIcon(int size) {
    RgbaPicture icon(size, size);
    RgbPicture truck = paintTruck(truckStyles[0]);
    const float half = float(size) * 0.5f;
    // Along the diagonal, with a margin.
    const float texelsPerPixel = truckLength / (float(size) * 1.05f);
    const float c = std::sqrt(0.5f);
    const int samples = 4;  // per axis: the edges are averaged, not stepped
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            float sum[4] = {0, 0, 0, 0};
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    float x = float(px) + (float(sx) + 0.5f) / samples - half;
                    float y = half - (float(py) + (float(sy) + 0.5f) / samples);  // rows top first, y up
                    float edge = roundedSquare(x, y, half * 0.94f, float(size) * 0.18f);
                    if (edge > 0) continue;
                    // Road: asphalt, lighter towards the top left, and a green rim.
                    float shade = 0.9f + 0.1f * (x - y) / float(size);
                    float r = 72 * shade, g = 75 * shade, b = 80 * shade;
                    if (edge > -float(size) * 0.06f) r = 52, g = 130, b = 56;
                    // The truck heads to the top right.
                    float u = (x - y) * c * texelsPerPixel;
                    float v = (x + y) * c * texelsPerPixel + truckLength * 0.5f;
                    if (const uint8_t* t = truckTexel(truck, u, v)) r = t[0], g = t[1], b = t[2];
                    sum[0] += r;
                    sum[1] += g;
                    sum[2] += b;
                    sum[3] += 255;
                }
            }
            uint8_t* p = icon.at(px, py);
            float n = samples * samples;
            // Colours averaged over the covered samples only, coverage as alpha.
            float covered = sum[3] / 255.0f;
            for (int k = 0; k < 3; ++k) p[k] = covered > 0 ? toByte(sum[k] / covered) : 0;
            p[3] = toByte(sum[3] / n);
        }
    }
    return icon;
}
