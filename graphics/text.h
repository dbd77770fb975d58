#pragma once
// Screen text in fixed screen coordinates (0..640 x 0..480, origin bottom-left) with textFont,
// and the debug console: accumulated text drawn every frame from the top-left corner.

#include "core/errorBox.h"  // TD_PRINTF

class Font;

// Longest text one printText call draws; longer text is cut.
const int printTextBufferSize = 1000;
// The console takes appends while it holds fewer characters than this...
const int consoleLimitChars = 9500;
// ...and one append may run past the limit by up to this many characters before it is cut.
const int consoleOverrunChars = 4096;
const int consoleCapacityChars = consoleLimitChars + consoleOverrunChars;
// Names one consoleListFiles call lists at most.
const int consoleListMaxNames = 128;

// Opens a GL_QUADS batch of text in screen coordinates; pair with endText.
void beginText();
void endText();
// printf-style text in textFont's colour; (x, y) is the bottom-left of the first line's first
// cell and each newline moves down one cell height.
void printText(int x, int y, const char* format, ...) TD_PRINTF(3, 4);
// The width printText gives text's widest line, in screen units, with textFont as it is.
int textWidth(const char* text);
// One glyph quad inside an open batch; returns the pen advance.
float drawGlyph(float x, float y, char c, float cellWidth, float cellHeight, Font& font);

void consolePrintf(const char* format, ...) TD_PRINTF(1, 2);
void consoleAppend(const char* text);
// Appends a character that shows from the font's upper bank while the lower one is selected.
void consoleAppendUpper(char c);
void consoleClear();
void consoleDraw();
// Appends the names of the files matching pattern ('*' and '?' in its last part), one a line.
void consoleListFiles(const char* pattern);

// The console's characters (not NUL-terminated) and how many there are.
const char* consoleText();
int consoleLength();
