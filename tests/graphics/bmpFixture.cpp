#include "bmpFixture.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

TempFolder::TempFolder() {
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/td-graphics-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data())) path = name.data();
}

TempFolder::~TempFolder() {
    if (path.empty()) return;
    if (DIR* dir = opendir(path.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") unlink(file(name).c_str());
        }
        closedir(dir);
    }
    rmdir(path.c_str());
}

CapturedBoxes::CapturedBoxes() {
    scripted.echoToStderr = false;
    setPlatform(&scripted);
}

uint32_t fixturePaletteEntry(int i) { return (uint32_t)((255 - i) << 16 | i << 8 | 7); }

void putU16(std::vector<uint8_t>& bytes, size_t offset, uint16_t value) {
    if (bytes.size() < offset + 2) bytes.resize(offset + 2);
    bytes[offset] = (uint8_t)value;
    bytes[offset + 1] = (uint8_t)(value >> 8);
}

void putU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    putU16(bytes, offset, (uint16_t)value);
    putU16(bytes, offset + 2, (uint16_t)(value >> 16));
}

std::vector<uint8_t> makeBmp(int width, int height, int bits, const std::vector<uint8_t>& rowBytes) {
    int rows = height < 0 ? -height : height;
    int stride = width * (bits / 8);
    int padded = (stride + 3) / 4 * 4;
    size_t tableBytes = bits == 8 ? 1024 : 0;
    size_t offset = 54 + tableBytes;
    std::vector<uint8_t> bytes(offset, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    putU32(bytes, 2, (uint32_t)(offset + (size_t)padded * rows));
    putU32(bytes, 10, (uint32_t)offset);
    putU32(bytes, 14, 40);
    putU32(bytes, 18, (uint32_t)width);
    putU32(bytes, 22, (uint32_t)height);
    putU16(bytes, 26, 1);
    putU16(bytes, 28, (uint16_t)bits);
    putU32(bytes, 30, 0);
    putU32(bytes, 34, (uint32_t)(padded * rows));
    if (bits == 8)
        for (int i = 0; i < 256; i++) putU32(bytes, 54 + (size_t)i * 4, fixturePaletteEntry(i));
    for (int y = 0; y < rows; y++) {
        for (int i = 0; i < stride; i++) {
            size_t src = (size_t)y * stride + i;
            bytes.push_back(src < rowBytes.size() ? rowBytes[src] : 0);
        }
        // Filler bytes with a value no pixel uses, so a loader that keeps them shows it.
        for (int i = stride; i < padded; i++) bytes.push_back(0xEE);
    }
    return bytes;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

bool writeText(const std::string& path, const std::string& text) {
    return writeBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

bool haveConvert() { return system("command -v convert >/dev/null 2>&1") == 0; }

bool runConvert(const std::string& arguments) { return system(("convert " + arguments + " 2>/dev/null").c_str()) == 0; }
