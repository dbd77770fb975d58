#pragma once
// The fifteen tile pictures and seven surface maps the track loads, by file name.
#include "tools/assetgen/roadShape.h"

enum class Ground { grass, meadow, gravel, sand, field };

// Way the race runs on a straight, shown by faint chevrons; none on corners.
enum class Heading { none, up, down, right, left };

struct TileDesc {
    const char* name;
    RoadShape road;
    Heading heading;
    bool finishLine;
    Ground ground;
};

struct SurfaceMapDesc {
    const char* name;
    RoadShape road;
};

const int tilePictureCount = 15;
const int surfaceMapCount = 7;

extern const TileDesc tilePictures[tilePictureCount];
extern const SurfaceMapDesc surfaceMaps[surfaceMapCount];
