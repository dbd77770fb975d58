#pragma once
// A rectangle of pixels drawn in a local frame of its own, one layer of shapes at a time.
// Shapes are signed-distance functions, so every edge is anti-aliased by its distance.
#include <functional>
#include <vector>

#include "tools/assetgen/colour.h"

class Canvas {
public:
    using Shape = std::function<float(float x, float y)>;
    using Paint = std::function<Colour(float x, float y)>;

    // Pixels x0..x1, y0..y1 (inclusive) of a picture; the centre of pixel (px, py) lies at
    // local ((px + 0.5) * scale - originX, (py + 0.5) * scale - originY).
    Canvas(int x0, int y0, int x1, int y1, float scale, float originX, float originY, Colour background);

    // Paints shape with a colour that may vary over it; a silhouette layer also counts
    // as the drawn part, the rest only decorate what is already there.
    void fill(const Shape& shape, const Paint& paint, float opacity = 1.0f, bool silhouette = false);
    void fill(const Shape& shape, Colour colour, float opacity = 1.0f, bool silhouette = false);

    int left() const { return x0; }
    int bottom() const { return y0; }
    int width() const { return w; }
    int height() const { return h; }
    Colour colourAt(int px, int py) const { return colours[index(px, py)]; }
    // How much of the pixel the silhouette layers cover, 0..1.
    float coverageAt(int px, int py) const { return coverage[index(px, py)]; }

private:
    int index(int px, int py) const { return (py - y0) * w + (px - x0); }

    int x0, y0, w, h;
    float scale, originX, originY;
    std::vector<Colour> colours;
    std::vector<float> coverage;
};
