#include "tools/assetgen/canvas.h"

Canvas::Canvas(int x0_, int y0_, int x1, int y1, float scale_, float originX_, float originY_, Colour background)
    : x0(x0_), y0(y0_), w(x1 - x0_ + 1), h(y1 - y0_ + 1), scale(scale_), originX(originX_), originY(originY_),
      colours(size_t(w) * size_t(h), background), coverage(size_t(w) * size_t(h), 0.0f) {}

void Canvas::fill(const Shape& shape, const Paint& paint, float opacity, bool silhouette) {
    for (int py = y0; py < y0 + h; ++py) {
        for (int px = x0; px < x0 + w; ++px) {
            float x = (float(px) + 0.5f) * scale - originX;
            float y = (float(py) + 0.5f) * scale - originY;
            // Half a pixel inside the edge is fully covered, half a pixel outside not at all.
            float cover = clamp01(0.5f - shape(x, y) / scale);
            if (cover <= 0.0f) continue;
            int i = index(px, py);
            colours[i] = mix(colours[i], paint(x, y), cover * opacity);
            if (silhouette) coverage[i] += cover * (1.0f - coverage[i]);
        }
    }
}

void Canvas::fill(const Shape& shape, Colour colour, float opacity, bool silhouette) {
    fill(
        shape, [colour](float, float) { return colour; }, opacity, silhouette);
}
