#pragma once
// Linear RGB colours in 0..255 floats, mixed before they are rounded to bytes.
#include <algorithm>
#include <cstdint>

struct Colour {
    float r = 0, g = 0, b = 0;
};

inline Colour rgb(float r, float g, float b) { return Colour{r, g, b}; }

inline Colour mix(const Colour& a, const Colour& b, float t) {
    return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

inline Colour scaled(const Colour& c, float k) { return Colour{c.r * k, c.g * k, c.b * k}; }

inline Colour offset(const Colour& c, float d) { return Colour{c.r + d, c.g + d, c.b + d}; }

inline uint8_t toByte(float v) { return uint8_t(std::clamp(v + 0.5f, 0.0f, 255.0f)); }

inline float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

// Hermite step from 0 at edge0 to 1 at edge1.
inline float smoothStep(float edge0, float edge1, float x) {
    float t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}
