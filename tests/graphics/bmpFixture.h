#pragma once
// Test fixtures for the graphics tests: BMP files built byte by byte, a temporary folder that
// cleans up after itself, and a scripted platform that captures message boxes.
#include <cstdint>
#include <string>
#include <vector>

#include "core/platform.h"
#include "globalsGuard.h"

// A folder under the system's temporary directory, removed with its files at destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    std::string file(const std::string& name) const { return path + "/" + name; }
    std::string path;
};

// Installs a ScriptedPlatform for the lifetime of the object so that message boxes are recorded.
class CapturedBoxes {
public:
    CapturedBoxes();
    size_t count() const { return scripted.boxTexts.size(); }
    std::string last() const { return scripted.boxTexts.empty() ? std::string() : scripted.boxTexts.back(); }
    GlobalsGuard globals;
    ScriptedPlatform scripted;
};

// Colour table entry i of the fixtures' 8-bit files: deliberately not a grey ramp.
uint32_t fixturePaletteEntry(int i);

// A complete uncompressed BMP: 54-byte header, the colour table when bits is 8, then the rows
// in file order, each padded to 4 bytes. rowBytes holds width * bits / 8 bytes per row,
// unpadded, rows one after another. A negative height writes a top-down header.
std::vector<uint8_t> makeBmp(int width, int height, int bits, const std::vector<uint8_t>& rowBytes);

void putU16(std::vector<uint8_t>& bytes, size_t offset, uint16_t value);
void putU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value);
bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
bool writeText(const std::string& path, const std::string& text);

// True when ImageMagick's convert can be run.
bool haveConvert();
// Runs convert with the arguments; true on exit status 0.
bool runConvert(const std::string& arguments);
