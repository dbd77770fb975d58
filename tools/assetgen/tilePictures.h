#pragma once
// Renders the tile pictures, their surface maps and the wall picture.
#include "tools/assetgen/bmpFile.h"
#include "tools/assetgen/tileList.h"

const int tilePixels = 256;
const int surfaceMapPixels = 128;
const int wallPixels = 256;

RgbPicture paintTile(const TileDesc& tile);

// Map pixel (i, j) covers tile units 2i..2i+2, 2j..2j+2 and takes the surface at its centre.
GreyPicture paintSurfaceMap(const SurfaceMapDesc& map);

// Red and white barrier blocks that read the same along a wall in any direction.
RgbPicture paintWall();
