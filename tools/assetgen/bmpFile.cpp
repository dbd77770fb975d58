#include "tools/assetgen/bmpFile.h"

#include <cstdio>

namespace {

const int fileHeaderBytes = 14;
const int infoHeaderBytes = 40;
const int greyPaletteBytes = 256 * 4;

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

// BMP rows are padded to a multiple of four bytes.
int paddedRowBytes(int width, int bytesPerPixel) { return (width * bytesPerPixel + 3) & ~3; }

void putHeaders(std::vector<uint8_t>& out, int width, int height, int bitsPerPixel, int paletteBytes) {
    int rowBytes = paddedRowBytes(width, bitsPerPixel / 8);
    uint32_t offset = uint32_t(fileHeaderBytes + infoHeaderBytes + paletteBytes);
    uint32_t imageBytes = uint32_t(rowBytes) * uint32_t(height);
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + imageBytes);
    put32(out, 0);  // reserved
    put32(out, offset);
    put32(out, infoHeaderBytes);
    put32(out, uint32_t(width));
    put32(out, uint32_t(height));  // positive: bottom-up
    put16(out, 1);                 // planes
    put16(out, uint32_t(bitsPerPixel));
    put32(out, 0);  // BI_RGB, uncompressed
    put32(out, imageBytes);
    put32(out, 2835);  // 72 dpi, in pixels per metre
    put32(out, 2835);
    put32(out, paletteBytes ? 256 : 0);  // colours used
    put32(out, 0);                       // all colours important
}

bool writeAll(const char* path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path, "wb");
    if (!f) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path);
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) std::fprintf(stderr, "assetgen: short write to %s\n", path);
    return ok;
}

}  // namespace

bool writeBmp24(const char* path, const RgbPicture& picture) {
    std::vector<uint8_t> out;
    putHeaders(out, picture.width, picture.height, 24, 0);
    int pad = paddedRowBytes(picture.width, 3) - picture.width * 3;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* p = picture.at(x, y);
            out.push_back(p[2]);  // the file stores blue, green, red
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
        out.insert(out.end(), size_t(pad), 0);
    }
    return writeAll(path, out);
}

bool writeBmp8(const char* path, const GreyPicture& picture) {
    std::vector<uint8_t> out;
    putHeaders(out, picture.width, picture.height, 8, greyPaletteBytes);
    for (int i = 0; i < 256; ++i) {
        out.push_back(uint8_t(i));
        out.push_back(uint8_t(i));
        out.push_back(uint8_t(i));
        out.push_back(0);
    }
    int pad = paddedRowBytes(picture.width, 1) - picture.width;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) out.push_back(picture.at(x, y));
        out.insert(out.end(), size_t(pad), 0);
    }
    return writeAll(path, out);
}
