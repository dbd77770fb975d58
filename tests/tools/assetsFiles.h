#pragma once
// Reading the generated pictures back for the asset tests, through the game's own loader.
#include <string>

#include "graphics/image.h"

// Path of a file below the build's images folder.
std::string assetPath(const std::string& relative);

// The BMP header of a generated file; false when the file cannot be opened.
bool readAssetHeader(const std::string& relative, BmpHeader& header);

// Loads a generated picture with Image::LoadBMP; false (and a test failure) if it will not load.
bool loadAsset(const std::string& relative, Image& image);

// Sample channel of pixel (x, y), unclamped: the callers stay inside the picture.
inline int sample(const Image& image, int x, int y, int channel) {
    return image.data[(y * image.width + x) * image.channels + channel];
}
