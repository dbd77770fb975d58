#pragma once
// The road drawn over a tile's ground: asphalt, edge lines, kerbs, chevrons, finish line.
#include "tools/assetgen/colour.h"
#include "tools/assetgen/tileList.h"

// The tile's colour at a tile-local point, given the ground there.
Colour paintRoad(const TileDesc& tile, float x, float y, Colour ground);
