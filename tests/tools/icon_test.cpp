// The desktop icon as a PNG reader checks it: every chunk's CRC, the zlib stream's Adler-32, and
// a picture that is opaque in the middle and clear in the corners.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "records/replay.h"  // the game's CRC-32 checks the generator's own

namespace {
uint32_t be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

std::vector<uint8_t> readAll(const std::string& path) {
    std::vector<uint8_t> bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return bytes;
    int c;
    while ((c = fgetc(f)) != EOF) bytes.push_back(uint8_t(c));
    fclose(f);
    return bytes;
}
}  // namespace

TEST(AssetIcon, BothSizesAreSoundPngs) {
    for (int size : {64, 256}) {
        std::string path = std::string(TD_BINARY_DIR) + "/icons/" + std::to_string(size) + "x" + std::to_string(size) +
                           "/trailerdash.png";
        std::vector<uint8_t> png = readAll(path);
        ASSERT_GT(png.size(), 8u) << path;
        ASSERT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
        std::vector<uint8_t> zlib;
        int width = 0, height = 0;
        for (size_t at = 8; at + 12 <= png.size();) {
            uint32_t length = be32(&png[at]);
            ASSERT_LE(at + 12 + length, png.size());
            std::string type(png.begin() + long(at) + 4, png.begin() + long(at) + 8);
            EXPECT_EQ(crc32Of(&png[at + 4], length + 4), be32(&png[at + 8 + length])) << type;
            if (type == "IHDR") {
                width = int(be32(&png[at + 8]));
                height = int(be32(&png[at + 12]));
                EXPECT_EQ(png[at + 16], 8);  // bits
                EXPECT_EQ(png[at + 17], 6);  // RGBA
            }
            if (type == "IDAT")
                zlib.insert(zlib.end(), png.begin() + long(at) + 8, png.begin() + long(at + 8 + length));
            at += 12 + length;
        }
        EXPECT_EQ(width, size);
        EXPECT_EQ(height, size);
        // Stored blocks only: lift the rows straight out.
        std::vector<uint8_t> raw;
        size_t at = 2;
        bool last = false;
        while (!last && at + 5 <= zlib.size()) {
            last = zlib[at] & 1;
            size_t n = size_t(zlib[at + 1]) | size_t(zlib[at + 2]) << 8;
            ASSERT_EQ(n ^ 0xFFFF, size_t(zlib[at + 3]) | size_t(zlib[at + 4]) << 8);
            raw.insert(raw.end(), zlib.begin() + long(at) + 5, zlib.begin() + long(at + 5 + n));
            at += 5 + n;
        }
        ASSERT_EQ(raw.size(), size_t(size) * (size_t(size) * 4 + 1));
        uint32_t a = 1, b = 0;
        for (uint8_t byte : raw) {
            a = (a + byte) % 65521;
            b = (b + a) % 65521;
        }
        ASSERT_EQ(at + 4, zlib.size());
        EXPECT_EQ((b << 16) | a, be32(&zlib[at]));
        auto alpha = [&](int x, int y) { return raw[size_t(y) * (size_t(size) * 4 + 1) + 1 + size_t(x) * 4 + 3]; };
        printf("%d px: %zu bytes, corner alpha %d, centre alpha %d\n", size, png.size(), alpha(0, 0),
               alpha(size / 2, size / 2));
        EXPECT_EQ(alpha(0, 0), 0);
        EXPECT_EQ(alpha(size - 1, size - 1), 0);
        EXPECT_EQ(alpha(size / 2, size / 2), 255);
    }
}
