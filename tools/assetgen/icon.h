#pragma once
// The game's desktop icon: the blue box truck driving diagonally across a rounded square of
// road, drawn from the same truck picture the game uses.
#include "tools/assetgen/pngFile.h"

RgbaPicture paintIcon(int size);
