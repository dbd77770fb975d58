#pragma once
// Small data folders for the track tests: flat-coloured tile pictures, surface maps of known
// values and a wall picture, written as BMP files into a temporary folder.
#include <cstdint>
#include <string>

struct FlatColour {
    uint8_t r, g, b;
};

// Writes a width x height 24-bit BMP of one colour; false when the file cannot be written.
bool writeFlatBmp24(const std::string& path, int width, int height, FlatColour colour);
// Writes an 8-bit BMP (grey-ramp palette) whose sample at (x, y) is sampleAt(x, y).
bool writeBmp8(const std::string& path, int width, int height, uint8_t (*sampleAt)(int x, int y));

// A fresh folder under the system's temporary folder, removed with removeFolder.
std::string makeTempFolder();
void removeFolder(const std::string& path);

// The picture colour of tile type t of the game's palette, and of the wall.
FlatColour tileColour(int type);
const FlatColour wallColour = {250, 250, 250};

// The first-channel value written into the surface map of the given file name, or -1.
int mapValueOf(const char* physMapName);

// Writes images/wall.bmp, images/track/<tile>.bmp (8 x 8) and images/track/physMap/<map>.bmp
// (128 x 128; blank.bmp as 24-bit, the rest 8-bit) below folder. False on a write failure.
bool writeCourseImages(const std::string& folder);
