#pragma once
// Where world rectangles land in the window under the current matrices and viewport, so that
// drawing can leave out what the view cannot show and fence big quads to what still shows.

// Window pixels x0 <= x < x1, y0 <= y < y1 (origin bottom-left, as glScissor takes them).
struct PixelRect {
    int x0, y0, x1, y1;

    bool isEmpty() const { return x0 >= x1 || y0 >= y1; }
};

PixelRect intersect(const PixelRect& a, const PixelRect& b);

class WindowMap {
public:
    WindowMap();
    // Reads the matrices and the viewport; false when they rotate, skew or project in
    // perspective, which this map does not follow (then nothing may be left out).
    bool capture();
    // Every pixel the world rectangle may touch, widened by margin pixels each way: rounding of
    // the driver's own arithmetic stays well inside one pixel.
    PixelRect pixelsOf(float x0, float y0, float x1, float y1, int margin) const;
    // Only pixels whose centres lie well inside the world rectangle (margin pixels in from it).
    PixelRect pixelsWithin(float x0, float y0, float x1, float y1, int margin) const;

    PixelRect viewport;

private:
    // window x = scaleX * world x + offsetX, and the same for y.
    double scaleX, offsetX, scaleY, offsetY;
};
