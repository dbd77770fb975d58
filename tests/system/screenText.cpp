// Reads the game's own text off a screenshot of its window, for the system tests. The text
// is drawn one glyph strip per character at one atlas pixel per screen unit, so the font's
// atlas and width file say exactly which pixels of a strip carry ink; a strip is compared
// with the picture pixel by pixel, ignoring the blended edges.
//
//   screenText SHOT.ppm IMAGES is X Y R G B TEXT
//       exit 0 when TEXT in colour R G B (0..1) stands with its first cell's bottom-left at
//       screen (X, Y) (origin bottom-left), 1 when not
//   screenText SHOT.ppm IMAGES read X Y N
//       prints the N characters of white digits, colons and spaces at (X, Y), as "00:12:34"
//       or " 7"; exit 1 when they do not read cleanly
//   screenText SHOT.ppm IMAGES exact is|read ...
//       the same for text in a two-player view, whose projection puts a unit on each pixel
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/image.h"

namespace {

const int screenWidth = 640, screenHeight = 480;
const int cellPixels = 32;
const int fullInk = 230;         // atlas level of a glyph's solid body
const int noInk = 20;            // atlas level well outside it
const int colourSlack = 40;      // a solid text pixel is this close to the text colour per channel
const double cleanShare = 0.05;  // mismatched pixels allowed per glyph, as a share of those compared

struct Shot {
    std::vector<unsigned char> rgb;  // top row first, as PPM stores it
    bool load(const char* path) {
        FILE* f = std::fopen(path, "rb");
        if (!f) return false;
        int w = 0, h = 0, maxValue = 0;
        bool ok = std::fscanf(f, "P6 %d %d %d", &w, &h, &maxValue) == 3 && std::fgetc(f) != EOF;
        ok = ok && w == screenWidth && h == screenHeight && maxValue == 255;
        if (ok) {
            rgb.resize(size_t(w) * h * 3);
            ok = std::fread(rgb.data(), 1, rgb.size(), f) == rgb.size();
        }
        std::fclose(f);
        return ok;
    }
    // Screen pixel (x, y), y up, as the game addresses the window.
    const unsigned char* at(int x, int y) const {
        return &rgb[(size_t(screenHeight - 1 - y) * screenWidth + size_t(x)) * 3];
    }
};

struct Font {
    Image atlas;
    unsigned char widths[256] = {};
    bool load(const std::string& images) {
        std::string base = images + "/text/impactVerdana16";
        FILE* f = std::fopen((base + ".dat").c_str(), "rb");
        if (!f) return false;
        bool ok = std::fread(widths, 1, 256, f) == 256;
        std::fclose(f);
        return ok && atlas.LoadBMP((base + ".bmp").c_str()) && atlas.channels == 1 && atlas.width == 512;
    }
    int cellOf(char c) const { return (int((unsigned char)c) - 32) & 255; }
};

struct Tally {
    int compared = 0, mismatched = 0;
    double worstShare = 0;  // of the glyphs added
    double share() const { return compared ? double(mismatched) / compared : 1.0; }
    void add(const Tally& glyph) {
        compared += glyph.compared;
        mismatched += glyph.mismatched;
        worstShare = std::max(worstShare, glyph.share());
    }
};

// Text coordinates of a pixel's centre. The window's projection spans 639 x 479 units over
// 640 x 480 pixels, centred, and text is shifted by (-320, -240) on top of it, so a pixel
// centre falls a little off a whole unit and the atlas is sampled between texels.
// A two-player view's projection is exact instead: a unit a pixel, text cells on pixel edges.
bool exactUnits = false;
double textX(int pixel) { return exactUnits ? pixel + 0.5 : (pixel + 0.5) * (319.5 / 320.0) + 0.5; }
double textY(int pixel) { return exactUnits ? pixel + 0.5 : (pixel + 0.5) * (239.5 / 240.0) + 0.5; }

// Bilinear sample of the atlas at texel coordinates (u, v), texel centres on the halves.
double sampleAtlas(const Image& atlas, double u, double v) {
    double fu = u - 0.5, fv = v - 0.5;
    int iu = int(std::floor(fu)), iv = int(std::floor(fv));
    double au = fu - iu, av = fv - iv;
    auto at = [&](int x, int y) { return double(atlas.getPixel(x, y, 0)); };
    return (1 - av) * ((1 - au) * at(iu, iv) + au * at(iu + 1, iv)) +
           av * ((1 - au) * at(iu, iv + 1) + au * at(iu + 1, iv + 1));
}

// Compares character c's strip, drawn at text coordinates (x, y), with the shot; colour in 0..255.
Tally compareGlyph(const Shot& shot, const Font& font, char c, int x, int y, const int colour[3]) {
    Tally t;
    int cell = font.cellOf(c);
    int width = font.widths[cell];
    double left = (cell % 16) * cellPixels + (cellPixels - width) / 2;
    double bottom = (15 - cell / 16) * cellPixels;
    for (int sy = std::max(0, y - 2); sy < std::min(screenHeight, y + cellPixels + 2); ++sy) {
        double ty = textY(sy) - y;
        if (ty < 0 || ty >= cellPixels) continue;
        for (int sx = std::max(0, x - 2); sx < std::min(screenWidth, x + width + 2); ++sx) {
            double tx = textX(sx) - x;
            if (tx < 0 || tx >= width) continue;
            double a = sampleAtlas(font.atlas, left + tx, bottom + ty);
            if (a > noInk && a < fullInk) continue;  // blended edge: depends on the background
            const unsigned char* p = shot.at(sx, sy);
            bool textColoured = std::abs(p[0] - colour[0]) <= colourSlack &&
                                std::abs(p[1] - colour[1]) <= colourSlack && std::abs(p[2] - colour[2]) <= colourSlack;
            ++t.compared;
            if (textColoured != (a >= fullInk)) ++t.mismatched;
        }
    }
    return t;
}

int usage() {
    std::fprintf(stderr, "usage: screenText SHOT.ppm IMAGES is X Y R G B TEXT | read X Y N\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // "exact" before the command: the text stands in a two-player view, a unit a pixel.
    if (argc > 3 && !std::strcmp(argv[3], "exact")) {
        exactUnits = true;
        for (int k = 3; k + 1 < argc; ++k) argv[k] = argv[k + 1];
        --argc;
    }
    if (argc < 6) return usage();
    Shot shot;
    Font font;
    if (!shot.load(argv[1])) {
        std::fprintf(stderr, "screenText: %s is not a 640x480 PPM picture\n", argv[1]);
        return 2;
    }
    if (!font.load(argv[2])) {
        std::fprintf(stderr, "screenText: no font under %s\n", argv[2]);
        return 2;
    }
    int x = std::atoi(argv[4]), y = std::atoi(argv[5]);
    if (!std::strcmp(argv[3], "is") && argc == 10) {
        int colour[3];
        for (int k = 0; k < 3; ++k) colour[k] = int(std::atof(argv[6 + k]) * 255.0 + 0.5);
        Tally all;
        for (const char* c = argv[9]; *c; x += font.widths[font.cellOf(*c)], ++c) {
            all.add(compareGlyph(shot, font, *c, x, y, colour));
        }
        std::printf("\"%s\": %d of %d pixels differ, at worst %.1f%% of a glyph's\n", argv[9], all.mismatched,
                    all.compared, 100.0 * all.worstShare);
        return all.worstShare <= cleanShare ? 0 : 1;
    }
    if (!std::strcmp(argv[3], "read") && argc == 7) {
        const int white[3] = {255, 255, 255};
        const char candidates[] = "0123456789: ";
        int count = std::atoi(argv[6]);
        std::string text;
        Tally all;
        // Greedy, left to right: every candidate's strip starts where the previous one ended.
        for (int k = 0; k < count && k < 64; ++k) {
            char best = '?';
            Tally bestTally;
            for (const char* c = candidates; *c; ++c) {
                Tally t = compareGlyph(shot, font, *c, x, y, white);
                if (t.share() < bestTally.share()) best = *c, bestTally = t;
            }
            text += best;
            all.add(bestTally);
            if (best == '?') break;
            x += font.widths[font.cellOf(best)];
        }
        std::printf("%s\n", text.c_str());
        std::fprintf(stderr, "screenText: \"%s\", %d of %d pixels differ, at worst %.1f%% of a glyph's\n", text.c_str(),
                     all.mismatched, all.compared, 100.0 * all.worstShare);
        // Blank background reads as spaces; the values read here always hold a digit.
        bool anyDigit = text.find_first_of("0123456789") != std::string::npos;
        return anyDigit && all.worstShare <= cleanShare ? 0 : 1;
    }
    return usage();
}
