#pragma once
// A proportional bitmap font: an atlas of 16 x 16 cells of 32 x 32 pixels and a 256-byte file
// of glyph widths, turned into one texture rectangle per cell that hugs its glyph.
#include <cstdint>

struct Texture;

const int fontGlyphCount = 256;

struct Glyph {
    uint8_t width;  // visible width in atlas pixels
    float left;     // texture coordinates of the glyph rectangle
    float right;
    float bottom;
    float top;
    float texWidth;  // width / 512
};

class Font {
public:
    Font();
    virtual ~Font();

    // Reads the widths, loads the atlas texture and lays out every glyph. False (with a message
    // box, nothing changed) when the width file cannot be opened.
    bool load(const char* atlasPath, const char* widthsPath);
    void setColour(float red, float green, float blue);
    // The upper bank draws characters 32..159 from cells 128..255.
    void setGlyphBank(bool upper);
    void setGridSize(int columns, int rows);
    void setCellSize(int width, int height);
    void setTexture(Texture* texture);

    int columns;
    int rows;
    float cellWidth;
    float cellHeight;
    Texture* texture;
    Glyph glyphs[fontGlyphCount];
    float red, green, blue;
    float cellTexHeight;
    int glyphBank;
};

// The font of every screen text.
extern Font textFont;

// Loads textFont from "images/text/impactVerdana16.bmp" and ".dat" and selects the lower bank.
bool loadTextFont();
