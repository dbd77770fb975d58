#pragma once
// The PNG form of a picture with transparency, for the desktop's icons.
#include <cstddef>
#include <cstdint>
#include <vector>

// Red, green, blue and alpha per pixel, rows top first as PNG stores them.
struct RgbaPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;

    RgbaPicture(int w, int h) : width(w), height(h), rgba(size_t(w) * size_t(h) * 4, 0) {}
    uint8_t* at(int x, int y) { return &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
};

// Writes an 8-bit RGBA PNG, its image data in stored (uncompressed) deflate blocks; false when
// the file cannot be written.
bool writePng(const char* path, const RgbaPicture& picture);
