#pragma once
// The text font: a 512 x 512 8-bit atlas of 16 x 16 cells of 32 x 32 pixels, and a
// 256-byte file of glyph widths. Bank 0 (cells 0..127) holds characters 32..159 in the
// bold face, bank 1 (cells 128..255) the same characters in the regular face.

const int atlasPixels = 512;
const int atlasCellPixels = 32;
const int atlasCellsPerRow = 16;
const int fontPixelSize = 22;  // capitals come out about 16 pixels tall
// The HUD and results layout is fixed and sized for a narrow face: glyphs are squeezed
// to this share of their natural width so that "Press SPACE to start" fits its panel.
const double fontCondense = 0.85;
const int fontBaselineRow = 7;  // baseline, in pixels above a cell's bottom edge

// Renders both faces and writes <base>.bmp and <base>.dat; false on any failure, reported.
bool writeFontAtlas(const char* basePath, const char* boldFontFile, const char* regularFontFile);
