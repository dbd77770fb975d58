#include "tools/assetgen/noise.h"

#include <cmath>

uint32_t hashPoint(int x, int y, uint32_t seed) {
    // Integer finaliser in the style of murmur3: every input bit reaches every output bit.
    uint32_t h = seed * 0x9E3779B9u;
    h ^= uint32_t(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= uint32_t(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
    return h;
}

float hashUnit(int x, int y, uint32_t seed) { return float(hashPoint(x, y, seed) >> 8) * (1.0f / 16777216.0f); }

namespace {

int wrapCell(int i, int cells) {
    int m = i % cells;
    return m < 0 ? m + cells : m;
}

// Quintic fade: continuous slope and curvature across lattice lines, so no grid shows.
float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

}  // namespace

float tileNoise(float x, float y, int cells, uint32_t seed) {
    float cellSize = tileUnits / float(cells);
    float fx = x / cellSize, fy = y / cellSize;
    float ix = std::floor(fx), iy = std::floor(fy);
    float tx = fade(fx - ix), ty = fade(fy - iy);
    int x0 = wrapCell(int(ix), cells), y0 = wrapCell(int(iy), cells);
    int x1 = wrapCell(x0 + 1, cells), y1 = wrapCell(y0 + 1, cells);
    float a = hashUnit(x0, y0, seed), b = hashUnit(x1, y0, seed);
    float c = hashUnit(x0, y1, seed), d = hashUnit(x1, y1, seed);
    float bottom = a + (b - a) * tx;
    float top = c + (d - c) * tx;
    return bottom + (top - bottom) * ty;
}

float tileFbm(float x, float y, int baseCells, int octaves, uint32_t seed) {
    float sum = 0, weight = 1, total = 0;
    int cells = baseCells;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * tileNoise(x, y, cells, seed + uint32_t(i) * 101u);
        total += weight;
        weight *= 0.5f;
        cells *= 2;
    }
    return sum / total;
}
