#include "tools/assetgen/tilePictures.h"

#include <cmath>

#include "tools/assetgen/groundPaint.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/roadPaint.h"

namespace {

// 24 blocks over the picture: about 10.7 units each, a couple across a 20-unit wall.
const int wallBlocks = 24;

void store(RgbPicture& picture, int x, int y, Colour c) {
    uint8_t* p = picture.at(x, y);
    p[0] = toByte(c.r);
    p[1] = toByte(c.g);
    p[2] = toByte(c.b);
}

}  // namespace

RgbPicture paintTile(const TileDesc& tile) {
    RgbPicture picture(tilePixels, tilePixels);
    for (int y = 0; y < tilePixels; ++y) {
        for (int x = 0; x < tilePixels; ++x) {
            float fx = float(x) + 0.5f, fy = float(y) + 0.5f;
            Colour c = groundAt(tile.ground, fx, fy);
            if (tile.road.kind != RoadKind::none) c = paintRoad(tile, fx, fy, c);
            store(picture, x, y, c);
        }
    }
    return picture;
}

GreyPicture paintSurfaceMap(const SurfaceMapDesc& map) {
    GreyPicture picture(surfaceMapPixels, surfaceMapPixels);
    float unitsPerPixel = tileUnits / float(surfaceMapPixels);
    for (int j = 0; j < surfaceMapPixels; ++j)
        for (int i = 0; i < surfaceMapPixels; ++i)
            picture.at(i, j) =
                surfaceAt(map.road, (float(i) + 0.5f) * unitsPerPixel, (float(j) + 0.5f) * unitsPerPixel);
    return picture;
}

RgbPicture paintWall() {
    RgbPicture picture(wallPixels, wallPixels);
    float block = float(wallPixels) / float(wallBlocks);
    for (int y = 0; y < wallPixels; ++y) {
        for (int x = 0; x < wallPixels; ++x) {
            float fx = float(x) + 0.5f, fy = float(y) + 0.5f;
            int bx = int(fx / block), by = int(fy / block);
            float u = fx / block - float(bx), v = fy / block - float(by);
            bool red = ((bx + by) & 1) == 0;
            Colour c = red ? rgb(196, 40, 34) : rgb(226, 224, 216);
            c = scaled(c, 0.93f + 0.1f * tileFbm(fx, fy, 16, 3, 31));
            // Bevel: lit top-left edges, shaded bottom-right, and a dark joint between blocks.
            float edge = std::fmin(std::fmin(u, 1 - u), std::fmin(v, 1 - v)) * block;
            float bevel = clamp01(1.0f - edge / 2.0f);
            float lit = (v > u) ? 1.0f : -1.0f;
            c = scaled(c, 1.0f + 0.16f * lit * bevel);
            c = mix(c, rgb(40, 38, 36), clamp01(1.0f - edge / 0.8f) * 0.7f);
            store(picture, x, y, c);
        }
    }
    return picture;
}
