// The generated pictures, surface maps and font, read back as the game reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "assetsFiles.h"

namespace {

struct TileFiles {
    const char* picture;
    const char* map;
    const char* sides;  // sides of the square the road meets: B, T, L, R
};

// The tile set in type order, each picture with the surface map the track pairs it with.
const TileFiles tiles[15] = {
    {"blank", "blank", ""},
    {"cornerB2R", "cornerB2R", "BR"},
    {"cornerL2B", "cornerL2B", "LB"},
    {"cornerT2L", "cornerT2L", "TL"},
    {"cornerR2T", "cornerR2T", "RT"},
    {"straightB2T", "straightT2B", "BT"},
    {"straightL2R", "straightL2R", "LR"},
    {"straightT2B", "straightT2B", "BT"},
    {"straightR2L", "straightL2R", "LR"},
    {"finishLineL2R", "straightL2R", "LR"},
    {"finishLineR2L", "straightL2R", "LR"},
    {"blank2", "blank", ""},
    {"blank3", "blank", ""},
    {"blank4", "blank", ""},
    {"blank5", "blank", ""},
};

const char* truckNames[5] = {"metaltruck", "flatbedtruck", "tankertruck", "redtruck", "blacktruck"};

std::string tilePath(const char* name) { return std::string("track/") + name + ".bmp"; }
std::string mapPath(const char* name) { return std::string("track/physMap/") + name + ".bmp"; }

void expectBmp(const std::string& file, int side, int bits) {
    BmpHeader h;
    ASSERT_TRUE(readAssetHeader(file, h)) << file << " is missing";
    EXPECT_EQ(h.signature[0], 'B') << file;
    EXPECT_EQ(h.signature[1], 'M') << file;
    EXPECT_EQ(h.width, side) << file;
    EXPECT_EQ(h.height, side) << file;  // positive: bottom-up, as the loader expects
    EXPECT_EQ(h.bitsPerPixel, bits) << file;
    EXPECT_EQ(h.compression, 0u) << file;
    long rowBytes = (long(side) * bits / 8 + 3) / 4 * 4;
    long paletteBytes = bits == 8 ? 1024 : 0;
    EXPECT_EQ(long(h.dataOffset), 54 + paletteBytes) << file;
    EXPECT_EQ(long(h.fileSize), 54 + paletteBytes + rowBytes * side) << file;
    FILE* f = std::fopen(assetPath(file).c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 0, SEEK_END);
    EXPECT_EQ(std::ftell(f), long(h.fileSize)) << file << ": header and file length disagree";
    std::fclose(f);
}

TEST(AssetFiles, EveryFileHasItsFormAndSize) {
    for (const TileFiles& t : tiles) {
        expectBmp(tilePath(t.picture), 256, 24);
        expectBmp(mapPath(t.map), 128, 8);
    }
    expectBmp("wall.bmp", 256, 24);
    for (const char* truck : truckNames) expectBmp(std::string("trucks/") + truck + ".bmp", 128, 24);
    expectBmp("text/impactVerdana16.bmp", 512, 8);
    FILE* f = std::fopen(assetPath("text/impactVerdana16.dat").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 0, SEEK_END);
    EXPECT_EQ(std::ftell(f), 256);
    std::fclose(f);
}

// ---- Tiles and surface maps -----------------------------------------------------------

bool isAsphalt(const Image& p, int x, int y) {
    int r = sample(p, x, y, 0), g = sample(p, x, y, 1), b = sample(p, x, y, 2);
    return std::abs(r - g) < 12 && std::abs(g - b) < 14 && r > 45 && r < 125;
}

bool isGrass(const Image& p, int x, int y) {
    int r = sample(p, x, y, 0), g = sample(p, x, y, 1), b = sample(p, x, y, 2);
    return g > r + 20 && g > b + 25;
}

bool isKerbRed(const Image& p, int x, int y) { return sample(p, x, y, 0) > sample(p, x, y, 1) + 90; }

// Map pixel (i, j) lies under picture pixels 2i..2i+1, 2j..2j+1; all four must agree on
// what they show for the test to judge the map there.
template <typename Test>
bool blockIs(const Image& p, int i, int j, Test test) {
    return test(p, 2 * i, 2 * j) && test(p, 2 * i + 1, 2 * j) && test(p, 2 * i, 2 * j + 1) &&
           test(p, 2 * i + 1, 2 * j + 1);
}

TEST(AssetTiles, SurfaceMapsLieUnderTheRoadTheyShow) {
    for (const TileFiles& t : tiles) {
        Image picture, map;
        ASSERT_TRUE(loadAsset(tilePath(t.picture), picture));
        ASSERT_TRUE(loadAsset(mapPath(t.map), map));
        ASSERT_EQ(map.channels, 1);
        int asphalt = 0, grass = 0, kerb = 0, wrong = 0;
        for (int j = 0; j < 128; ++j) {
            for (int i = 0; i < 128; ++i) {
                int s = sample(map, i, j, 0);
                if (t.sides[0] && blockIs(picture, i, j, isAsphalt)) {
                    ++asphalt;
                    wrong += s > 20;
                } else if (blockIs(picture, i, j, isGrass)) {
                    ++grass;
                    wrong += s < 150;
                } else if (t.sides[0] && blockIs(picture, i, j, isKerbRed)) {
                    ++kerb;
                    wrong += s < 20 || s > 80;
                }
            }
        }
        std::printf("%-14s map %-12s asphalt %5d grass %5d kerb %4d disagreeing %d\n", t.picture, t.map, asphalt, grass,
                    kerb, wrong);
        EXPECT_EQ(wrong, 0) << t.picture;
        EXPECT_GT(grass, 2000) << t.picture;
        if (t.sides[0]) {
            EXPECT_GT(asphalt, 3000) << t.picture << ": too little road recognised";
        }
        if (std::string(t.picture).rfind("corner", 0) == 0) {
            EXPECT_GT(kerb, 20) << t.picture << ": corners carry kerbs";
        }
    }
}

TEST(AssetTiles, OffRoadSlowsATruckClearly) {
    Image blank, straight;
    ASSERT_TRUE(loadAsset(mapPath("blank"), blank));
    ASSERT_TRUE(loadAsset(mapPath("straightL2R"), straight));
    int lowest = 255;
    for (int j = 0; j < 128; ++j)
        for (int i = 0; i < 128; ++i) lowest = std::min(lowest, sample(blank, i, j, 0));
    // Drag = value / 500 + 0.6; top speed goes roughly as 1 / drag.
    double roadDrag = sample(straight, 64, 64, 0) / 500.0 + 0.6;
    double grassDrag = lowest / 500.0 + 0.6;
    std::printf("drag on the road %.3f, off it at least %.3f: top speed ratio %.2f\n", roadDrag, grassDrag,
                roadDrag / grassDrag);
    EXPECT_LT(roadDrag, 0.65);
    EXPECT_LT(roadDrag / grassDrag, 0.7);
}

// Mean and largest channel difference between two lines of pixels.
struct LineDiff {
    double mean;
    int largest;
};

// Line k of a side: side 'B' is row k, 'T' row 255 - k, 'L' column k, 'R' column 255 - k.
int edgeSample(const Image& p, char side, int k, int along, int c) {
    switch (side) {
    case 'B':
        return sample(p, along, k, c);
    case 'T':
        return sample(p, along, 255 - k, c);
    case 'L':
        return sample(p, k, along, c);
    default:
        return sample(p, 255 - k, along, c);
    }
}

LineDiff compareEdges(const Image& a, char sideA, int ka, const Image& b, char sideB, int kb, int from, int to) {
    LineDiff d{0, 0};
    for (int i = from; i < to; ++i) {
        for (int c = 0; c < 3; ++c) {
            int diff = std::abs(edgeSample(a, sideA, ka, i, c) - edgeSample(b, sideB, kb, i, c));
            d.mean += diff;
            d.largest = std::max(d.largest, diff);
        }
    }
    d.mean /= 3.0 * (to - from);
    return d;
}

TEST(AssetTiles, EveryTileMeetsItsNeighboursWithoutASeam) {
    Image blank, vertical, horizontal;
    ASSERT_TRUE(loadAsset(tilePath("blank"), blank));
    ASSERT_TRUE(loadAsset(tilePath("straightB2T"), vertical));
    ASSERT_TRUE(loadAsset(tilePath("straightL2R"), horizontal));
    const int ring = 12;      // border pixels every tile shares with the ground tile
    const int roadSpan = 95;  // road and verge lie within 128 +- this where they cross a side
    for (const TileFiles& t : tiles) {
        Image p;
        ASSERT_TRUE(loadAsset(tilePath(t.picture), p));
        for (char side : {'B', 'T', 'L', 'R'}) {
            bool road = std::string(t.sides).find(side) != std::string::npos;
            for (int k = 0; k < ring; ++k) {
                // Away from any road the border is the shared grass itself.
                LineDiff low = compareEdges(p, side, k, blank, side, k, 0, road ? 128 - roadSpan : 256);
                EXPECT_LE(low.largest, 2) << t.picture << " side " << side << " line " << k;
                if (!road) continue;
                LineDiff high = compareEdges(p, side, k, blank, side, k, 128 + roadSpan, 256);
                EXPECT_LE(high.largest, 2) << t.picture << " side " << side << " line " << k;
                // Where the road crosses, its cross-section is the straight road's; a corner
                // starts to bend away from it a few lines in.
                if (k >= 3) continue;
                const Image& straight = (side == 'B' || side == 'T') ? vertical : horizontal;
                LineDiff across = compareEdges(p, side, k, straight, side, k, 0, 256);
                EXPECT_LT(across.mean, 1.0) << t.picture << " side " << side << " line " << k;
                EXPECT_LE(across.largest, 48) << t.picture << " side " << side << " line " << k;
            }
        }
    }
}

TEST(AssetTiles, GroundTileRepeatsSeamlessly) {
    Image blank;
    ASSERT_TRUE(loadAsset(tilePath("blank"), blank));
    // Across the wrap (last line to first) the picture should change no more than between
    // any two neighbouring lines inside it.
    double inside = 0;
    for (int k = 0; k < 255; ++k) inside += compareEdges(blank, 'L', k, blank, 'L', k + 1, 0, 256).mean;
    inside /= 255;
    double wrapX = compareEdges(blank, 'R', 0, blank, 'L', 0, 0, 256).mean;
    double insideY = 0;
    for (int k = 0; k < 255; ++k) insideY += compareEdges(blank, 'B', k, blank, 'B', k + 1, 0, 256).mean;
    insideY /= 255;
    double wrapY = compareEdges(blank, 'T', 0, blank, 'B', 0, 0, 256).mean;
    std::printf("neighbouring columns differ by %.2f, across the wrap %.2f; rows %.2f, across the wrap %.2f\n", inside,
                wrapX, insideY, wrapY);
    EXPECT_LT(wrapX, inside * 1.3);
    EXPECT_LT(wrapY, insideY * 1.3);
}

TEST(AssetTiles, PicturesThatShareAMapStillDiffer) {
    // The names promise a way round: B2T and T2B (and the finish lines) must not be one picture.
    const char* pairs[][2] = {{"straightB2T", "straightT2B"},
                              {"straightL2R", "straightR2L"},
                              {"finishLineL2R", "finishLineR2L"},
                              {"straightL2R", "finishLineL2R"},
                              {"blank2", "blank3"},
                              {"blank3", "blank4"},
                              {"blank4", "blank5"},
                              {"blank", "blank2"}};
    for (auto& pair : pairs) {
        Image a, b;
        ASSERT_TRUE(loadAsset(tilePath(pair[0]), a));
        ASSERT_TRUE(loadAsset(tilePath(pair[1]), b));
        long differing = 0;
        for (int i = 0; i < a.size; i += 3) differing += std::abs(a.data[i] - b.data[i]) > 24;
        std::printf("%s vs %s: %ld pixels differ clearly\n", pair[0], pair[1], differing);
        EXPECT_GT(differing, 400) << pair[0] << " and " << pair[1];
    }
}

// ---- Trucks ----------------------------------------------------------------------------

struct PixelRect {
    int left, bottom, right, top;  // inclusive
};

// The texels a model quad (a, b, c, d over 127) touches in a 128-texel picture.
PixelRect touched(int a, int b, int c, int d) {
    auto last = [](int texel) { return int(std::floor(texel * 128.0 / 127.0)); };
    return {std::min(a, c), std::min(b, d), last(std::max(a, c)), last(std::max(b, d))};
}

const PixelRect cabRect = touched(4, 52, 50, 119);
const PixelRect trailerRect = touched(65, 2, 114, 117);
const PixelRect wheelRect = touched(0, 11, 5, 0);

bool inside(const PixelRect& r, int x, int y) { return x >= r.left && x <= r.right && y >= r.bottom && y <= r.top; }

TEST(AssetTrucks, TransparentExactlyOutsideTheParts) {
    for (const char* name : truckNames) {
        Image truck;
        ASSERT_TRUE(loadAsset(std::string("trucks/") + name + ".bmp", truck));
        ASSERT_EQ(truck.channels, 3);
        // The game's own colour keying, as truck set-up does it.
        ASSERT_TRUE(truck.applyColourKey(254, 42, 157));
        int strays = 0;
        int drawn[3] = {0, 0, 0};
        const PixelRect* rects[3] = {&cabRect, &trailerRect, &wheelRect};
        for (int y = 0; y < 128; ++y) {
            for (int x = 0; x < 128; ++x) {
                bool opaque = sample(truck, x, y, 3) == 255;
                int part = -1;
                for (int i = 0; i < 3; ++i)
                    if (inside(*rects[i], x, y)) part = i;
                if (part < 0)
                    strays += opaque;
                else
                    drawn[part] += opaque;
            }
        }
        int areas[3];
        for (int i = 0; i < 3; ++i)
            areas[i] = (rects[i]->right - rects[i]->left + 1) * (rects[i]->top - rects[i]->bottom + 1);
        std::printf("%-13s opaque: cab %.2f trailer %.2f wheel %.2f of their rectangles, %d outside\n", name,
                    double(drawn[0]) / areas[0], double(drawn[1]) / areas[1], double(drawn[2]) / areas[2], strays);
        EXPECT_EQ(strays, 0) << name;
        for (int i = 0; i < 3; ++i) EXPECT_GT(double(drawn[i]) / areas[i], 0.75) << name << " part " << i;
        // Each part is solid along its length: the centre line has no holes.
        for (int i = 0; i < 3; ++i) {
            int cx = (rects[i]->left + rects[i]->right) / 2;
            for (int y = rects[i]->bottom; y <= rects[i]->top; ++y)
                EXPECT_EQ(sample(truck, cx, y, 3), 255) << name << " part " << i << " row " << y;
        }
    }
}

TEST(AssetTrucks, PartEdgesAreDarkNotKeyColoured) {
    for (const char* name : truckNames) {
        Image truck;
        ASSERT_TRUE(loadAsset(std::string("trucks/") + name + ".bmp", truck));
        // Opaque pixels next to transparent ones are what filtering blends with the key's
        // (0, 0, 0, 0); they must be dark, or pink would not be the only fringe to worry about.
        long edgePixels = 0, brightness = 0, pinkish = 0;
        auto isKey = [&](int x, int y) {
            if (x < 0 || y < 0 || x > 127 || y > 127) return true;
            return sample(truck, x, y, 0) == 254 && sample(truck, x, y, 1) == 42 && sample(truck, x, y, 2) == 157;
        };
        for (int y = 0; y < 128; ++y) {
            for (int x = 0; x < 128; ++x) {
                if (isKey(x, y) || !(isKey(x - 1, y) || isKey(x + 1, y) || isKey(x, y - 1) || isKey(x, y + 1)))
                    continue;
                int r = sample(truck, x, y, 0), g = sample(truck, x, y, 1), b = sample(truck, x, y, 2);
                ++edgePixels;
                brightness += std::max(r, std::max(g, b));
                pinkish += r > 200 && b > 120 && g < 90;
            }
        }
        double mean = double(brightness) / double(edgePixels);
        std::printf("%-13s %ld edge pixels, mean brightness %.1f, pinkish %ld\n", name, edgePixels, mean, pinkish);
        EXPECT_LT(mean, 70.0) << name;
        EXPECT_EQ(pinkish, 0) << name;
    }
}

// ---- Font ------------------------------------------------------------------------------

struct FontFiles {
    Image atlas;
    unsigned char widths[256] = {};
    bool ok = false;

    FontFiles() {
        FILE* f = std::fopen(assetPath("text/impactVerdana16.dat").c_str(), "rb");
        ok = f && std::fread(widths, 1, 256, f) == 256;
        if (f) std::fclose(f);
        ok = loadAsset("text/impactVerdana16.bmp", atlas) && ok && atlas.channels == 1;
    }
    // Cell i's bottom-left pixel: cell 0 is the top-left cell as the picture is viewed.
    int cellLeft(int i) const { return (i % 16) * 32; }
    int cellBottom(int i) const { return (15 - i / 16) * 32; }
    int ink(int i, int x, int y) const { return sample(atlas, cellLeft(i) + x, cellBottom(i) + y, 0); }
    int cellOf(char c, int bank) const { return (int((unsigned char)c) - 32 + bank * 128) & 255; }
    // Lowest and highest rows with clear ink, or -1.
    void inkRows(int cell, int& low, int& high) const {
        low = high = -1;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (ink(cell, x, y) > 96) {
                    if (low < 0) low = y;
                    high = y;
                }
    }
    long inkTotal(int cell) const {
        long sum = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) sum += ink(cell, x, y);
        return sum;
    }
};

TEST(AssetFont, WidthsAreSane) {
    FontFiles font;
    ASSERT_TRUE(font.ok);
    for (int bank = 0; bank < 2; ++bank) {
        int space = font.widths[font.cellOf(' ', bank)];
        int w = font.widths[font.cellOf('W', bank)];
        int zero = font.widths[font.cellOf('0', bank)];
        std::printf("bank %d: space %d, W %d, digits %d\n", bank, space, w, zero);
        EXPECT_GE(space, 5);
        EXPECT_LE(space, 9);
        EXPECT_LT(space, w);
        for (char d = '1'; d <= '9'; ++d)
            EXPECT_EQ(font.widths[font.cellOf(d, bank)], zero) << "digit " << d << " bank " << bank;
        for (char c = '!'; c <= '~'; ++c)
            EXPECT_GT(font.widths[font.cellOf(c, bank)], 0) << "'" << c << "' bank " << bank;
    }
    for (int i = 0; i < 256; ++i) EXPECT_LE(font.widths[i], 32) << "cell " << i;
}

TEST(AssetFont, GlyphsSitInTheStripTheGameShows) {
    FontFiles font;
    ASSERT_TRUE(font.ok);
    for (int cell = 0; cell < 256; ++cell) {
        int width = font.widths[cell];
        // The game draws the strip of this width starting (32 - width) / 2 into the cell.
        int offset = (32 - width) / 2;
        long total = 0, outside = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                int v = font.ink(cell, x, y);
                total += v;
                if (x < offset || x >= offset + width) outside += v;
            }
        }
        if (width == 0) {
            EXPECT_EQ(total, 0) << "an empty cell " << cell << " holds ink";
            continue;
        }
        EXPECT_LE(double(outside), 0.01 * double(total)) << "cell " << cell << " ink outside its strip";
    }
}

TEST(AssetFont, LettersShareOneBaselineAndReadAtHudSize) {
    FontFiles font;
    ASSERT_TRUE(font.ok);
    for (int bank = 0; bank < 2; ++bank) {
        int low, high;
        font.inkRows(font.cellOf('H', bank), low, high);
        int capHeight = high - low + 1;
        std::printf("bank %d: 'H' stands on row %d, %d pixels tall\n", bank, low, capHeight);
        EXPECT_GE(capHeight, 14);
        EXPECT_LE(capHeight, 19);
        for (char c : {'E', 'x', 'a', 'Z', 'm', '0', '7'}) {
            int l, h;
            font.inkRows(font.cellOf(c, bank), l, h);
            EXPECT_EQ(l, low) << "'" << c << "' bank " << bank;
        }
        // Descenders stay inside the cell.
        font.inkRows(font.cellOf('g', bank), low, high);
        EXPECT_GE(low, 0);
    }
}

// The screens place their texts at fixed positions; each must end before the next text on
// its line or its panel's edge. Widths are in screen units (one atlas pixel each).
TEST(AssetFont, ScreenTextsFitTheirPlaces) {
    FontFiles font;
    ASSERT_TRUE(font.ok);
    auto width = [&](const char* text) {
        int sum = 0;
        for (const char* c = text; *c; ++c) sum += font.widths[font.cellOf(*c, 0)];
        return sum;
    };
    struct Place {
        const char* text;
        int x, limit;  // starts at x, must end at or before limit
    };
    const Place places[] = {
        {"Press SPACE to start", 196, 440},  // the start prompt's panel
        {"Total  Time", 10, 250},            // HUD top row: next is "Position"
        {"00:00:00", 10, 250},
        {"Position", 250, 370},  // next is "Lap"
        {"5/5", 250, 370},
        {"Lap", 370, 520},  // next is the frame rate
        {"6/6", 370, 520},
        {"Speed", 10, 110},  // next is "Power"
        {"99", 10, 110},
        {"RACE RESULTS", 230, 470},  // the results panel
        {"5", 160, 210},             // place, then the name column
        {"UserPlayer", 210, 370},    // the players' names, then the time
        {" AIplayer4", 210, 370},
        {"88:88:88", 370, 470},
        {"TRAILER DASH", 140, 520},  // the title panel
        {"Up drives, arrows steer", 140, 520},
        {"E editor, H/F1 help, Esc quits", 140, 520},
        {"KEYS AND BUTTONS", 212, 428},  // the help's title, centred on the screen
    };
    for (const Place& p : places) {
        int end = p.x + width(p.text);
        std::printf("\"%s\" from %d ends at %d (limit %d)\n", p.text, p.x, end, p.limit);
        EXPECT_LE(end, p.limit) << p.text;
    }
}

TEST(AssetFont, UpperBankIsTheBoldFace) {
    FontFiles font;
    ASSERT_TRUE(font.ok);
    // Bank 0 (the upper half of the picture) is bold: the same letters carry more ink.
    for (char c : {'A', 'H', 'o', '5'}) {
        long bold = font.inkTotal(font.cellOf(c, 0)), regular = font.inkTotal(font.cellOf(c, 1));
        EXPECT_GT(double(bold), 1.2 * double(regular)) << "'" << c << "'";
    }
    EXPECT_EQ(font.inkTotal(font.cellOf(' ', 0)), 0);
}

}  // namespace
