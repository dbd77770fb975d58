#include "tools/assetgen/fontAtlas.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <string>

#include "tools/assetgen/bmpFile.h"

namespace {

const int glyphsPerBank = 128;
const int firstCharacter = 32;
const int lastPrintable = 126;  // 127 is DEL and 128..159 are control codes: left empty

// Draws one character into its cell and returns its width (the advance, at most a cell).
int renderGlyph(FT_Face face, int character, int cell, GreyPicture& atlas) {
    if (FT_Load_Char(face, FT_ULong(character), FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) return 0;
    FT_GlyphSlot slot = face->glyph;
    int width = std::clamp(int((slot->advance.x + 32) >> 6), 0, atlasCellPixels);
    // The game shows only a strip of this width, so ink hanging past the advance (the hook
    // of a 'j', the bar of a 'T') is moved inside it, widening the strip where it must.
    int inkLeft = slot->bitmap_left, inkRight = slot->bitmap_left + int(slot->bitmap.width);
    if (slot->bitmap.width > 0 && inkRight - inkLeft > width) width = std::min(inkRight - inkLeft, atlasCellPixels);
    int shift = 0;
    if (slot->bitmap.width > 0 && inkLeft < 0)
        shift = -inkLeft;
    else if (slot->bitmap.width > 0 && inkRight > width)
        shift = width - inkRight;
    // The game shows the strip of this width centred in the cell, offset rounded down.
    int offset = (atlasCellPixels - width) / 2;
    int cellLeft = (cell % atlasCellsPerRow) * atlasCellPixels;
    int cellBottom = (atlasCellsPerRow - 1 - cell / atlasCellsPerRow) * atlasCellPixels;  // rows stored bottom-up
    int penX = cellLeft + offset + shift;
    int baseline = cellBottom + fontBaselineRow;
    const FT_Bitmap& bitmap = slot->bitmap;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        int y = baseline + slot->bitmap_top - 1 - int(row);
        if (y < cellBottom || y >= cellBottom + atlasCellPixels) continue;
        for (unsigned col = 0; col < bitmap.width; ++col) {
            int x = penX + slot->bitmap_left + int(col);
            if (x < cellLeft || x >= cellLeft + atlasCellPixels) continue;
            uint8_t v = bitmap.buffer[int(row) * bitmap.pitch + int(col)];
            atlas.at(x, y) = std::max(atlas.at(x, y), v);
        }
    }
    return width;
}

bool renderBank(FT_Library library, const char* fontFile, int bank, GreyPicture& atlas, uint8_t* widths) {
    FT_Face face;
    if (FT_New_Face(library, fontFile, 0, &face) != 0) {
        std::fprintf(stderr, "assetgen: cannot open font %s\n", fontFile);
        return false;
    }
    bool ok = FT_Set_Pixel_Sizes(face, 0, fontPixelSize) == 0;
    FT_Matrix condense = {FT_Fixed(fontCondense * 65536.0 + 0.5), 0, 0, 0x10000};
    FT_Set_Transform(face, &condense, nullptr);  // also scales the advances
    for (int i = 0; ok && i < glyphsPerBank; ++i) {
        int character = firstCharacter + i;
        int cell = bank * glyphsPerBank + i;
        widths[cell] = character <= lastPrintable ? uint8_t(renderGlyph(face, character, cell, atlas)) : 0;
    }
    FT_Done_Face(face);
    if (!ok) std::fprintf(stderr, "assetgen: cannot size font %s\n", fontFile);
    return ok;
}

}  // namespace

bool writeFontAtlas(const char* basePath, const char* boldFontFile, const char* regularFontFile) {
    FT_Library library;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "assetgen: FreeType did not start\n");
        return false;
    }
    GreyPicture atlas(atlasPixels, atlasPixels);
    uint8_t widths[2 * glyphsPerBank] = {};
    bool ok = renderBank(library, boldFontFile, 0, atlas, widths);
    ok = ok && renderBank(library, regularFontFile, 1, atlas, widths);
    FT_Done_FreeType(library);
    if (!ok) return false;
    std::string base = basePath;
    if (!writeBmp8((base + ".bmp").c_str(), atlas)) return false;
    FILE* f = std::fopen((base + ".dat").c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "assetgen: cannot write %s.dat\n", basePath);
        return false;
    }
    ok = std::fwrite(widths, 1, sizeof widths, f) == sizeof widths;
    return (std::fclose(f) == 0) && ok;
}
