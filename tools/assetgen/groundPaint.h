#pragma once
// Off-road ground. Every tile's border is the same shared grass, and each blank tile's own
// ground (meadow, gravel, sand, field) fades into it well inside the border, so any two tiles
// meet without a seam.
#include "tools/assetgen/colour.h"
#include "tools/assetgen/tileList.h"

// The shared grass at a tile-local point; repeats every 256 units in x and y.
Colour grassAt(float x, float y);

// A tile's ground at a tile-local point.
Colour groundAt(Ground ground, float x, float y);
