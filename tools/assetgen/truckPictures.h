#pragma once
// The five truck pictures: a cab, a trailer and a wheel, each drawn top-down (front up)
// into the texel rectangle the truck model samples, and the key colour everywhere else.
#include "tools/assetgen/bmpFile.h"
#include "tools/assetgen/colour.h"

const int truckPixels = 128;
const uint8_t keyRed = 254, keyGreen = 42, keyBlue = 157;

// a, b, c, d: x left, y of the quad's rear edge, x right, y of its front edge, in texels;
// the model maps texel n to texture coordinate n / 127, and t = 0 is the picture's bottom row.
struct TexelRect {
    int a, b, c, d;
};
const TexelRect cabTexels{4, 52, 50, 119};
const TexelRect trailerTexels{65, 2, 114, 117};
const TexelRect wheelTexels{0, 11, 5, 0};

enum class TrailerKind { metalBox, flatbed, tanker, redBox, blackBox };

struct TruckStyle {
    const char* name;
    Colour cabPaint;
    Colour cabTrim;
    float chrome;  // 0 plain grey fittings .. 1 polished
    TrailerKind trailer;
};

const int truckStyleCount = 5;
extern const TruckStyle truckStyles[truckStyleCount];

RgbPicture paintTruck(const TruckStyle& style);
