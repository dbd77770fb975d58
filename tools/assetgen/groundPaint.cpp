#include "tools/assetgen/groundPaint.h"

#include <cmath>

#include "tools/assetgen/noise.h"
#include "tools/assetgen/shapes.h"

namespace {

const float twoPi = 6.2831853f;

// Per-pixel grain; the pixel grid is the same in every tile, so it repeats too.
float grain(float x, float y, uint32_t seed) {
    return hashUnit(int(std::floor(x)) & 255, int(std::floor(y)) & 255, seed) - 0.5f;
}

// How far inside a blank tile's own patch a point is: negative inside, wobbling edge.
float patchDistance(float x, float y, float inset, float rounding, float wobble, uint32_t seed) {
    float d = sdRect(x, y, inset, inset, tileUnits - inset, tileUnits - inset, rounding);
    return d + (tileFbm(x, y, 8, 3, seed) - 0.5f) * wobble;
}

Colour shadeFlowers(Colour c, float x, float y) {
    const float cell = 6.0f;
    // Keep flowers off the shared border so the tile still joins its neighbours.
    if (sdRect(x, y, 22, 22, 234, 234, 30) > 0) return c;
    int cx = int(std::floor(x / cell)), cy = int(std::floor(y / cell));
    float density = smoothStep(0.5f, 0.78f, tileFbm(x, y, 8, 3, 71));
    if (hashUnit(cx, cy, 72) > density * 0.5f) return c;
    float radius = 0.9f + hashUnit(cx, cy, 73) * 0.7f;
    float fx = (float(cx) + 0.5f) * cell + (hashUnit(cx, cy, 74) - 0.5f) * (cell - 2 * radius - 0.5f);
    float fy = (float(cy) + 0.5f) * cell + (hashUnit(cx, cy, 75) - 0.5f) * (cell - 2 * radius - 0.5f);
    static const Colour petals[4] = {rgb(236, 208, 70), rgb(236, 236, 226), rgb(168, 124, 200), rgb(214, 104, 104)};
    Colour petal = petals[hashPoint(cx, cy, 76) % 4];
    float cover = clamp01(0.5f - sdCircle(x, y, fx, fy, radius));
    return mix(c, petal, cover * 0.8f);
}

struct Tree {
    float x, y, radius;
    uint32_t seed;
};

const Tree meadowTrees[] = {
    {84, 168, 30, 1}, {172, 92, 25, 2}, {184, 182, 17, 3}, {70, 74, 12, 4}, {128, 132, 9, 5},
};

// Canopy outline: a circle with a few lobes so it reads as foliage, not a disc.
float canopyDistance(const Tree& t, float x, float y) {
    float dx = x - t.x, dy = y - t.y;
    float angle = std::atan2(dy, dx);
    float phase = float(t.seed) * 1.7f;
    float r = t.radius * (1.0f + 0.07f * std::sin(5 * angle + phase) + 0.04f * std::sin(11 * angle + 2 * phase));
    return lengthOf(dx, dy) - r;
}

Colour shadeTrees(Colour c, float x, float y) {
    // Shadows first (light from the top left), then the canopies over them.
    for (const Tree& t : meadowTrees) {
        float d = canopyDistance(t, x - t.radius * 0.3f, y + t.radius * 0.35f);
        c = mix(c, scaled(c, 0.5f), clamp01(0.5f - d / 3.0f) * 0.75f);
    }
    for (const Tree& t : meadowTrees) {
        float d = canopyDistance(t, x, y);
        float cover = clamp01(0.5f - d);
        if (cover <= 0) continue;
        // Light a dome: its normal leans out with the distance from the crown.
        float nx = (x - t.x) / t.radius, ny = (y - t.y) / t.radius;
        float nz = std::sqrt(std::fmax(0.0f, 1.0f - nx * nx - ny * ny));
        float light = -0.45f * nx + 0.5f * ny + 0.74f * nz;
        float leaves = tileNoise(x, y, 64, t.seed + 80) * 0.6f + tileNoise(x, y, 128, t.seed + 90) * 0.4f;
        float tone = clamp01(0.2f + 0.6f * light + 0.45f * (leaves - 0.5f));
        Colour leaf = mix(rgb(26, 62, 26), rgb(104, 156, 58), tone);
        c = mix(c, leaf, cover);
    }
    return c;
}

Colour gravelAt(float x, float y) {
    const float cell = 4.0f;
    Colour c = mix(rgb(104, 98, 88), rgb(128, 120, 106), tileNoise(x, y, 32, 41));
    int cx = int(std::floor(x / cell)), cy = int(std::floor(y / cell));
    // Each lattice cell holds one jittered pebble; look at the neighbours it may spill from.
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i) {
            int px = cx + i, py = cy + j;
            float radius = 1.3f + hashUnit(px, py, 42) * 1.0f;
            float ox = (float(px) + 0.2f + hashUnit(px, py, 43) * 0.6f) * cell;
            float oy = (float(py) + 0.2f + hashUnit(px, py, 44) * 0.6f) * cell;
            float d = sdCircle(x, y, ox, oy, radius);
            float cover = clamp01(0.5f - d);
            if (cover <= 0) continue;
            float tone = hashUnit(px, py, 45);
            Colour stone = mix(rgb(150, 142, 128), rgb(210, 202, 188), tone);
            stone = mix(stone, rgb(176, 150, 120), hashUnit(px, py, 46) * 0.5f);
            float light = (-(x - ox) + (y - oy)) / radius;  // top-left highlight
            c = mix(c, scaled(stone, 0.9f + 0.12f * light), cover);
        }
    }
    return c;
}

Colour sandAt(float x, float y) {
    float warp = tileFbm(x, y, 8, 3, 51) * 6.0f;
    float ripple = std::sin((x * 0.5f + y * 0.866f) / 9.0f * twoPi + warp);
    Colour c = mix(rgb(198, 172, 120), rgb(226, 204, 152), tileFbm(x, y, 4, 4, 52));
    return offset(c, ripple * 6.0f + grain(x, y, 53) * 10.0f);
}

Colour fieldAt(float x, float y) {
    // Rows of wheat running up the tile with darker furrows between them.
    float row = std::sin((x + 1.5f * std::sin(y / 40.0f)) / 7.0f * twoPi);
    Colour wheat = mix(rgb(178, 146, 70), rgb(226, 198, 112), 0.5f + 0.25f * row);
    wheat = scaled(wheat, 0.88f + 0.24f * tileFbm(x, y, 8, 4, 61));
    wheat = mix(wheat, rgb(118, 92, 54), smoothStep(-0.6f, -0.95f, row) * 0.45f);
    return offset(wheat, grain(x, y, 62) * 12.0f);
}

}  // namespace

Colour grassAt(float x, float y) {
    float broad = tileFbm(x, y, 4, 4, 11);
    float fine = tileFbm(x, y, 32, 2, 12);
    Colour c = mix(rgb(50, 104, 40), rgb(96, 150, 60), clamp01(broad * 1.3f - 0.15f));
    // Soft mowing bands 32 units wide run on from tile to tile.
    float band = smoothStep(-0.3f, 0.3f, std::sin(y / 64.0f * twoPi));
    c = scaled(c, (0.92f + 0.14f * fine) * (0.97f + 0.05f * band));
    float g = grain(x, y, 13);
    return Colour{c.r + g * 6.0f, c.g + g * 10.0f, c.b + g * 5.0f};
}

Colour groundAt(Ground ground, float x, float y) {
    Colour grass = grassAt(x, y);
    switch (ground) {
    case Ground::grass:
        return grass;
    case Ground::meadow:
        return shadeTrees(shadeFlowers(grass, x, y), x, y);
    case Ground::gravel: {
        float d = patchDistance(x, y, 30, 40, 12, 47);
        // A rim of scattered grit where the gravel meets the grass.
        Colour rim = mix(grass, rgb(120, 108, 84), 0.45f);
        Colour c = mix(grass, rim, clamp01(0.5f - (d - 4.0f) / 3.0f));
        return mix(c, gravelAt(x, y), clamp01(0.5f - d / 1.5f));
    }
    case Ground::sand: {
        float d = patchDistance(x, y, 32, 56, 20, 57);
        return mix(grass, sandAt(x, y), clamp01(0.5f - d / 5.0f));
    }
    case Ground::field: {
        float d = patchDistance(x, y, 28, 8, 3, 67);
        Colour margin = offset(rgb(126, 100, 68), grain(x, y, 68) * 14.0f);
        Colour c = mix(grass, margin, clamp01(0.5f - d));
        return mix(c, fieldAt(x, y), clamp01(0.5f - (d + 4.0f)));
    }
    }
    return grass;
}
