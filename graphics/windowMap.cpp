#include "graphics/windowMap.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

// Pixel coordinates beyond this are far outside any window; clamping keeps the int conversion
// defined for any world rectangle.
static const double farPixels = 1.0e6;

static int clampedPixel(double v) { return (int)std::max(-farPixels, std::min(farPixels, v)); }

PixelRect intersect(const PixelRect& a, const PixelRect& b) {
    return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

WindowMap::WindowMap() : viewport{0, 0, 0, 0}, scaleX(0), offsetX(0), scaleY(0), offsetY(0) {}

bool WindowMap::capture() {
    GLdouble model[16], projection[16];
    GLint port[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, port);
    viewport = {port[0], port[1], port[0] + port[2], port[1] + port[3]};
    // The x, y and w rows of projection * model, for points with z = 0 (column-major).
    double m[16];
    for (int col = 0; col < 4; col++) {
        for (int row = 0; row < 4; row++) {
            double sum = 0.0;
            for (int k = 0; k < 4; k++) sum += projection[k * 4 + row] * model[col * 4 + k];
            m[col * 4 + row] = sum;
        }
    }
    if (m[4] != 0.0 || m[1] != 0.0 || m[3] != 0.0 || m[7] != 0.0 || !(m[15] > 0.0)) return false;
    // Normalised device x runs -1..1 across the viewport.
    scaleX = m[0] / m[15] * port[2] / 2.0;
    offsetX = port[0] + (m[12] / m[15] + 1.0) * port[2] / 2.0;
    scaleY = m[5] / m[15] * port[3] / 2.0;
    offsetY = port[1] + (m[13] / m[15] + 1.0) * port[3] / 2.0;
    return std::isfinite(scaleX) && std::isfinite(offsetX) && std::isfinite(scaleY) && std::isfinite(offsetY);
}

PixelRect WindowMap::pixelsOf(float x0, float y0, float x1, float y1, int margin) const {
    double ax = scaleX * x0 + offsetX, bx = scaleX * x1 + offsetX;
    double ay = scaleY * y0 + offsetY, by = scaleY * y1 + offsetY;
    return {clampedPixel(std::floor(std::min(ax, bx)) - margin), clampedPixel(std::floor(std::min(ay, by)) - margin),
            clampedPixel(std::ceil(std::max(ax, bx)) + margin), clampedPixel(std::ceil(std::max(ay, by)) + margin)};
}

PixelRect WindowMap::pixelsWithin(float x0, float y0, float x1, float y1, int margin) const {
    double ax = scaleX * x0 + offsetX, bx = scaleX * x1 + offsetX;
    double ay = scaleY * y0 + offsetY, by = scaleY * y1 + offsetY;
    return {clampedPixel(std::ceil(std::min(ax, bx)) + margin), clampedPixel(std::ceil(std::min(ay, by)) + margin),
            clampedPixel(std::floor(std::max(ax, bx)) - margin), clampedPixel(std::floor(std::max(ay, by)) - margin)};
}
