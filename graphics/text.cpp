#include "graphics/text.h"

#include <GL/gl.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/platform.h"
#include "graphics/font.h"
#include "graphics/texture.h"
#include "math/vector.h"

// The console's text; one byte more than its capacity for vsnprintf's terminator.
static char consoleBuffer[consoleCapacityChars + 1];
static int consoleChars = 0;

// Pen start of the console: the first line's cells span y 448..480.
static const float consoleTopY = 448.0f;
static const float consoleRightX = 640.0f;
static const float consoleWrapStep = 32.0f;

void beginText() {
    glPushAttrib(GL_ENABLE_BIT);
    glEnable(GL_BLEND);
    glDepthFunc(GL_ALWAYS);
    glDisable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(-320, -240, 0);
    if (textFont.texture) textFont.texture->bind();
    glColor4f(1, 1, 1, 1);
    glBegin(GL_QUADS);
}

void endText() {
    glEnd();
    glDepthFunc(GL_LEQUAL);
    glPopMatrix();
    glPopAttrib();
}

float drawGlyph(float x, float y, char c, float cellWidth, float cellHeight, Font& font) {
    const Glyph& g = font.glyphs[((unsigned char)c + font.glyphBank - 32) & 0xFF];
    // With 32-unit cells this is the glyph's width in atlas pixels: one pixel per unit.
    float advance = cellWidth * g.texWidth * 16;
    glTexCoord2f(g.left, g.bottom);
    glVertex2f(x, y);
    glTexCoord2f(g.left, g.top);
    glVertex2f(x, y + cellHeight);
    glTexCoord2f(g.right, g.top);
    glVertex2f(x + advance, y + cellHeight);
    glTexCoord2f(g.right, g.bottom);
    glVertex2f(x + advance, y);
    return advance;
}

int textWidth(const char* text) {
    int widest = 0, dx = 0;
    for (const char* p = text; *p; p++) {
        if (*p == '\n') {
            dx = 0;
            continue;
        }
        // The pen steps as printText's does, truncated to whole units glyph by glyph.
        const Glyph& g = textFont.glyphs[((unsigned char)*p + textFont.glyphBank - 32) & 0xFF];
        dx = (int)(dx + textFont.cellWidth * g.texWidth * 16);
        if (dx > widest) widest = dx;
    }
    return widest;
}

void printText(int x, int y, const char* format, ...) {
    int dx = 0, dy = 0;
    glPushAttrib(GL_TEXTURE_BIT);
    char text[printTextBufferSize];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (textFont.texture) textFont.texture->bind();
    beginText();
    glColor4f(textFont.red, textFont.green, textFont.blue, 1);
    for (const char* p = text; *p; p++) {
        if (*p == '\n') {
            dy = (int)(dy - textFont.cellHeight);
            dx = 0;
        } else {
            float advance =
                drawGlyph((float)(x + dx), (float)(y + dy), *p, textFont.cellWidth, textFont.cellHeight, textFont);
            dx = (int)(dx + advance);
        }
    }
    endText();
    glPopAttrib();
}

// Room left before the buffer's end.
static int consoleRoom() { return consoleCapacityChars - consoleChars; }

void consolePrintf(const char* format, ...) {
    if (consoleChars >= consoleLimitChars) return;
    int room = consoleRoom();
    va_list args;
    va_start(args, format);
    int written = vsnprintf(consoleBuffer + consoleChars, (size_t)room + 1, format, args);
    va_end(args);
    if (written < 0) return;
    consoleChars += written < room ? written : room;
}

void consoleAppend(const char* text) {
    if (!text || consoleChars >= consoleLimitChars) return;
    int room = consoleRoom();
    size_t length = strnlen(text, (size_t)room);
    memcpy(consoleBuffer + consoleChars, text, length);
    consoleChars += (int)length;
}

void consoleAppendUpper(char c) {
    if (consoleChars >= consoleLimitChars) return;
    // Minus 128 moves the glyph index into the other bank.
    consoleBuffer[consoleChars++] = (char)((unsigned char)c - 128);
}

void consoleClear() { consoleChars = 0; }

void consoleDraw() {
    if (consoleChars < 1) return;
    glColor4f(1, 1, 1, 1);
    beginText();
    float x = 0, y = consoleTopY;
    for (int i = 0; i < consoleChars; i++) {
        char c = consoleBuffer[i];
        // Tested before each character, so a glyph starting at the edge is drawn whole.
        if (x > consoleRightX) {
            x = 0;
            y -= consoleWrapStep;
        }
        if (c == '\n') {
            x = 0;
            y -= textFont.cellHeight;
        } else if (c == '`') {
            x = (float)(roundUpToInt(x / 10) * 10);
        } else if (c == '~') {
            x = (float)((int)(x / 32) * 32 + 32);
        } else {
            x += drawGlyph(x, y, c, textFont.cellWidth, textFont.cellHeight, textFont);
        }
    }
    endText();
}

static void listOneName(const char* name, void*) { consolePrintf("%s\n", name); }

void consoleListFiles(const char* pattern) {
    if (platform().listFiles(pattern, listOneName, nullptr, consoleListMaxNames) < 0)
        consolePrintf("ERROR: Invalid search handle\n");
}

const char* consoleText() { return consoleBuffer; }
int consoleLength() { return consoleChars; }
