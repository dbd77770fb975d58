#include "tools/assetgen/truckPictures.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/truckParts.h"

const TruckStyle truckStyles[truckStyleCount] = {
    {"metaltruck", rgb(36, 86, 170), rgb(230, 230, 236), 0.6f, TrailerKind::metalBox},
    {"flatbedtruck", rgb(40, 124, 66), rgb(236, 200, 60), 0.3f, TrailerKind::flatbed},
    {"tankertruck", rgb(232, 124, 32), rgb(250, 244, 230), 0.8f, TrailerKind::tanker},
    {"redtruck", rgb(192, 30, 28), rgb(245, 245, 245), 0.5f, TrailerKind::redBox},
    {"blacktruck", rgb(30, 30, 36), rgb(214, 170, 60), 1.0f, TrailerKind::blackBox},
};

namespace {

// Local model units per texel: the quad's n units span n / 127 of a 128-texel picture.
const float unitsPerTexel = 127.0f / 128.0f;

// The pixels a rectangle touches, and a canvas whose frame is the quad's.
Canvas partCanvas(const TexelRect& r) {
    int left = std::min(r.a, r.c), right = std::max(r.a, r.c);
    int low = std::min(r.b, r.d), high = std::max(r.b, r.d);
    int x1 = int(std::floor(float(right) / unitsPerTexel));
    int y1 = int(std::floor(float(high) / unitsPerTexel));
    return Canvas(left, low, std::min(x1, truckPixels - 1), std::min(y1, truckPixels - 1), unitsPerTexel,
                  float(left + right) * 0.5f, float(low + high) * 0.5f, partEdgeColour);
}

void place(const Canvas& canvas, RgbPicture& picture) {
    for (int y = canvas.bottom(); y < canvas.bottom() + canvas.height(); ++y) {
        for (int x = canvas.left(); x < canvas.left() + canvas.width(); ++x) {
            // Pixels the part does not touch stay transparent.
            if (canvas.coverageAt(x, y) < 1.0f / 64.0f) continue;
            Colour c = canvas.colourAt(x, y);
            uint8_t* p = picture.at(x, y);
            p[0] = toByte(c.r);
            p[1] = toByte(c.g);
            p[2] = toByte(c.b);
            // Never let paint land on the key by chance.
            if (p[0] == keyRed && p[1] == keyGreen && p[2] == keyBlue) p[1] = keyGreen + 1;
        }
    }
}

}  // namespace

RgbPicture paintTruck(const TruckStyle& style) {
    RgbPicture picture(truckPixels, truckPixels);
    for (int i = 0; i < truckPixels * truckPixels; ++i) {
        picture.rgb[size_t(i) * 3] = keyRed;
        picture.rgb[size_t(i) * 3 + 1] = keyGreen;
        picture.rgb[size_t(i) * 3 + 2] = keyBlue;
    }
    Canvas cab = partCanvas(cabTexels);
    paintCab(cab, style);
    place(cab, picture);
    Canvas trailer = partCanvas(trailerTexels);
    paintTrailer(trailer, style);
    place(trailer, picture);
    Canvas wheel = partCanvas(wheelTexels);
    paintWheel(wheel);
    place(wheel, picture);
    return picture;
}
