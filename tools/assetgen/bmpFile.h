#pragma once
// Pictures as the generator holds them and the two BMP forms the game reads back.
#include <cstddef>
#include <cstdint>
#include <vector>

// A 24-bit picture; row 0 is the bottom row, as in the BMP file and in the game's Image.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // red, green, blue per pixel, rows bottom first

    RgbPicture(int w, int h) : width(w), height(h), rgb(size_t(w) * size_t(h) * 3, 0) {}
    uint8_t* at(int x, int y) { return &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
    const uint8_t* at(int x, int y) const { return &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
};

// An 8-bit grey picture (surface maps, the font atlas); row 0 is the bottom row.
struct GreyPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> grey;

    GreyPicture(int w, int h) : width(w), height(h), grey(size_t(w) * size_t(h), 0) {}
    uint8_t& at(int x, int y) { return grey[size_t(y) * size_t(width) + size_t(x)]; }
    uint8_t at(int x, int y) const { return grey[size_t(y) * size_t(width) + size_t(x)]; }
};

// Writes an uncompressed bottom-up 24-bit BMP; false when the file cannot be written.
bool writeBmp24(const char* path, const RgbPicture& picture);

// Writes an uncompressed bottom-up 8-bit BMP with a grey ramp palette, so index = grey level.
bool writeBmp8(const char* path, const GreyPicture& picture);
