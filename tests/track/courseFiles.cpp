#include "courseFiles.h"

#include "track/courses.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

static void put16(uint8_t* p, unsigned v) {
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
}

static void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; i++) {
        p[i] = (uint8_t)(v >> (8 * i));
    }
}

// Writes the two headers (and, for 8-bit files, a grey-ramp palette) and the pixel rows.
static bool writeBmp(const std::string& path, int width, int height, int bytesPerPixel,
                     void (*pixel)(int x, int y, uint8_t* out, const void* user), const void* user) {
    int rowBytes = width * bytesPerPixel;
    int padding = (4 - rowBytes % 4) % 4;
    uint32_t paletteBytes = bytesPerPixel == 1 ? 1024 : 0;
    uint32_t dataOffset = 54 + paletteBytes;
    uint32_t fileSize = dataOffset + (uint32_t)((rowBytes + padding) * height);

    uint8_t header[54] = {};
    header[0] = 'B';
    header[1] = 'M';
    put32(header + 2, fileSize);
    put32(header + 10, dataOffset);
    put32(header + 14, 40);
    put32(header + 18, (uint32_t)width);
    put32(header + 22, (uint32_t)height);
    put16(header + 26, 1);
    put16(header + 28, (unsigned)(bytesPerPixel * 8));

    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    fwrite(header, 1, sizeof(header), file);
    for (uint32_t i = 0; i < paletteBytes / 4; i++) {
        uint8_t entry[4] = {(uint8_t)i, (uint8_t)i, (uint8_t)i, 0};
        fwrite(entry, 1, 4, file);
    }
    uint8_t zeros[3] = {0, 0, 0};
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            uint8_t out[4];
            pixel(x, y, out, user);
            fwrite(out, 1, (size_t)bytesPerPixel, file);
        }
        fwrite(zeros, 1, (size_t)padding, file);
    }
    return fclose(file) == 0;
}

static void flatPixel(int, int, uint8_t* out, const void* user) {
    const FlatColour* c = (const FlatColour*)user;
    // BMP stores blue, green, red.
    out[0] = c->b;
    out[1] = c->g;
    out[2] = c->r;
}

bool writeFlatBmp24(const std::string& path, int width, int height, FlatColour colour) {
    return writeBmp(path, width, height, 3, flatPixel, &colour);
}

static void samplePixel(int x, int y, uint8_t* out, const void* user) {
    uint8_t (*sampleAt)(int, int) = *(uint8_t(*const*)(int, int))user;
    out[0] = sampleAt(x, y);
}

bool writeBmp8(const std::string& path, int width, int height, uint8_t (*sampleAt)(int x, int y)) {
    return writeBmp(path, width, height, 1, samplePixel, &sampleAt);
}

std::string makeTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "trackTestXXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        return std::string();
    }
    return pattern;
}

void removeFolder(const std::string& path) {
    std::error_code ignored;
    if (!path.empty()) {
        std::filesystem::remove_all(path, ignored);
    }
}

FlatColour tileColour(int type) {
    // Far apart in every channel, so a blended or wrong tile cannot pass for another.
    return FlatColour{(uint8_t)(16 * type + 8), (uint8_t)(240 - 16 * type), (uint8_t)((80 * type) % 256)};
}

struct MapValue {
    const char* name;
    int value;
};

static const MapValue mapValues[] = {
    {"blank.bmp", 200},    {"cornerB2R.bmp", 10},   {"cornerL2B.bmp", 20},   {"cornerT2L.bmp", 30},
    {"cornerR2T.bmp", 40}, {"straightT2B.bmp", 50}, {"straightL2R.bmp", 60},
};

int mapValueOf(const char* physMapName) {
    for (const MapValue& m : mapValues) {
        if (strcmp(m.name, physMapName) == 0) {
            return m.value;
        }
    }
    return -1;
}

static int currentMapValue;
static uint8_t currentSample(int, int) { return (uint8_t)currentMapValue; }

bool writeCourseImages(const std::string& folder) {
    namespace fs = std::filesystem;
    fs::path images = fs::path(folder) / "images";
    std::error_code error;
    fs::create_directories(images / "track" / "physMap", error);
    if (error) {
        return false;
    }
    bool ok = writeFlatBmp24((images / "wall.bmp").string(), 8, 8, wallColour);
    for (int t = 0; t < courseTileCount; t++) {
        ok = ok && writeFlatBmp24((images / "track" / courseTiles[t].picture).string(), 8, 8, tileColour(t));
    }
    for (const MapValue& m : mapValues) {
        std::string path = (images / "track" / "physMap" / m.name).string();
        if (strcmp(m.name, "blank.bmp") == 0) {
            // 24-bit, with only the red sample carrying the value.
            FlatColour c = {(uint8_t)m.value, 0, 7};
            ok = ok && writeFlatBmp24(path, 128, 128, c);
        } else {
            currentMapValue = m.value;
            ok = ok && writeBmp8(path, 128, 128, currentSample);
        }
    }
    return ok;
}
