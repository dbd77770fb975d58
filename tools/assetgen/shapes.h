#pragma once
// Signed distances (negative inside) of the simple shapes the pictures are drawn from.
#include <algorithm>
#include <cmath>

inline float lengthOf(float x, float y) { return std::sqrt(x * x + y * y); }

inline float sdCircle(float x, float y, float cx, float cy, float radius) { return lengthOf(x - cx, y - cy) - radius; }

// Box centred on (cx, cy) with half sizes hx, hy and corners rounded by radius.
inline float sdBox(float x, float y, float cx, float cy, float hx, float hy, float radius = 0) {
    float qx = std::fabs(x - cx) - hx + radius;
    float qy = std::fabs(y - cy) - hy + radius;
    float outside = lengthOf(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

// Box from its edges rather than its centre.
inline float sdRect(float x, float y, float left, float bottom, float right, float top, float radius = 0) {
    return sdBox(x, y, (left + right) * 0.5f, (bottom + top) * 0.5f, (right - left) * 0.5f, (top - bottom) * 0.5f,
                 radius);
}

// Stroke of half width halfWidth along the segment a-b, with round ends.
inline float sdSegment(float x, float y, float ax, float ay, float bx, float by, float halfWidth) {
    float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
    return lengthOf(px - dx * t, py - dy * t) - halfWidth;
}

// Ellipse with half axes rx, ry; a close approximation, exact on the axes.
inline float sdEllipse(float x, float y, float cx, float cy, float rx, float ry) {
    float nx = (x - cx) / rx, ny = (y - cy) / ry;
    return (lengthOf(nx, ny) - 1.0f) * std::min(rx, ry);
}
