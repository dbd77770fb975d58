#include "graphics/font.h"

#include <GL/gl.h>

#include <cstdio>

#include "core/errorBox.h"
#include "graphics/image.h"
#include "graphics/texture.h"
#include "math/vector.h"

Font textFont;

// The atlas format: 512 pixels square, 16 cells a side, 32 pixels a cell.
static const double atlasPixels = 512.0;
static const double atlasCells = 16.0;
static const int fontCellPixels = 32;
static const ImageShape atlasShape = {512, 8};

Font::Font()
    : columns(0), rows(0), cellWidth(0), cellHeight(0), texture(nullptr), glyphs(), red(1), green(1), blue(1),
      cellTexHeight(0), glyphBank(0) {}

Font::~Font() {}

bool Font::load(const char* atlasPath, const char* widthsPath) {
    FILE* file = openDataFile(widthsPath);
    if (!file) {
        errorBox("FontSize file %s not found", widthsPath);
        return false;
    }
    int widthsRead = 0;
    bool overwide = false;
    for (int i = 0; i < fontGlyphCount; i++) {
        // A short file leaves the missing widths at 255, the byte value of EOF.
        int c = fgetc(file);
        glyphs[i].width = (uint8_t)(c == EOF ? 255 : c);
        if (c != EOF) {
            widthsRead++;
            overwide = overwide || c > fontCellPixels;
        }
    }
    bool longer = fgetc(file) != EOF;
    fclose(file);
    // Text still draws from such a file, but garbled, so say which file to look at.
    if (widthsRead < fontGlyphCount)
        fprintf(stderr, "FontSize file %s holds %d of its %d widths; the rest read as 255\n", widthsPath, widthsRead,
                fontGlyphCount);
    else if (longer)
        fprintf(stderr, "FontSize file %s is longer than its %d widths\n", widthsPath, fontGlyphCount);
    if (overwide)
        fprintf(stderr, "FontSize file %s has glyphs wider than their %d-pixel cells\n", widthsPath, fontCellPixels);

    setGridSize(16, 16);
    texture = loadTexture(atlasPath, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR_MIPMAP_LINEAR, 1, &atlasShape);
    cellWidth = cellHeight = (float)fontCellPixels;
    cellTexHeight = 0.0625f;

    // Cell 0 is the top-left cell as the picture is viewed; texture t = 0 is its bottom edge.
    int i = 0;
    for (int j = 0; j < rows; j++) {
        for (int k = 0; k < columns && i < fontGlyphCount; k++, i++) {
            Glyph& g = glyphs[i];
            int offset = roundToInt((cellWidth - g.width) / 2);
            double left = k / atlasCells + offset / atlasPixels;
            double texWidth = g.width / atlasPixels;
            g.left = (float)left;
            g.texWidth = (float)texWidth;
            g.right = (float)(left + texWidth);
            g.bottom = (float)((15 - j) / atlasCells);
            g.top = (float)(g.bottom + (double)cellTexHeight);
        }
    }
    return true;
}

void Font::setColour(float r, float g, float b) {
    red = r;
    green = g;
    blue = b;
}

void Font::setGlyphBank(bool upper) { glyphBank = upper ? 128 : 0; }

void Font::setGridSize(int newColumns, int newRows) {
    columns = newColumns;
    rows = newRows;
}

void Font::setCellSize(int width, int height) {
    cellWidth = (float)width;
    cellHeight = (float)height;
}

void Font::setTexture(Texture* newTexture) { texture = newTexture; }

bool loadTextFont() {
    bool ok = textFont.load("images/text/impactVerdana16.bmp", "images/text/impactVerdana16.dat");
    textFont.setGlyphBank(false);
    return ok;
}
