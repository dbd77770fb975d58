// What the editor shows: the ground, the grid's tiles and lines, the broken cell and the cell
// under the pointer, the loop's state under the grid and the keys beside it, in the panels and
// font of the game's other screens.
#include <GL/gl.h>

#include <cstring>

#include "editor/editorScreen.h"
#include "graphics/font.h"
#include "graphics/rect.h"
#include "graphics/text.h"
#include "graphics/texture.h"
#include "track/trackTileSet.h"

// The race screens' backing panels: black at opacity 0.45.
static const float panelShade = -0.3f;
static const float gridLineShade = -0.15f;
static const int gridPixels = editorCellPixels * trackGridSize;
// Under the grid: the loop's state; beside it: the keys.
static const float statusPanel[4] = {8, 4, 632, 76};
static const float keysPanel[4] = {412, 84, 632, 468};
static const int keysTextX = 424;
// Small text for the long lines: the font's cells at this size (its own are 32).
static const int smallCellPixels = 19;
static const int smallLinePixels = 20;
static const int statusRightPixels = 620;

// Screen coordinates with the origin at the bottom-left, as the overlays use.
static void beginScreen() {
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(-320, -240, 0);
}

static void texturedQuad(const Texture* texture, float x0, float y0, float size) {
    if (!texture || !texture->loaded) return;
    const_cast<Texture*>(texture)->bind();
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(x0, y0);
    glTexCoord2f(1, 0);
    glVertex2f(x0 + size, y0);
    glTexCoord2f(1, 1);
    glVertex2f(x0 + size, y0 + size);
    glTexCoord2f(0, 1);
    glVertex2f(x0, y0 + size);
    glEnd();
}

// An untextured, translucent quad in colour.
static void colourQuad(float r, float g, float b, float a, float x0, float y0, float x1, float y1) {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(r, g, b, a);
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
    glPopAttrib();
}

// A frame of the given width round a cell.
static void cellFrame(float r, float g, float b, int x, int y, float width) {
    float x0 = (float)(editorGridLeft + x * editorCellPixels), y0 = (float)(editorGridBottom + y * editorCellPixels);
    float x1 = x0 + editorCellPixels, y1 = y0 + editorCellPixels;
    colourQuad(r, g, b, 0.9f, x0, y0, x1, y0 + width);
    colourQuad(r, g, b, 0.9f, x0, y1 - width, x1, y1);
    colourQuad(r, g, b, 0.9f, x0, y0, x0 + width, y1);
    colourQuad(r, g, b, 0.9f, x1 - width, y0, x1, y1);
}

// Text in the small cells; the font's own size is put back after.
static void smallText(int x, int y, const char* text) {
    float w = textFont.cellWidth, h = textFont.cellHeight;
    textFont.setCellSize(smallCellPixels, smallCellPixels);
    printText(x, y, "%s", text);
    textFont.cellWidth = w;
    textFont.cellHeight = h;
}

// Pixels text takes at the small size.
static float smallWidth(const char* text, size_t length) {
    float width = 0;
    for (size_t i = 0; i < length; i++) {
        const Glyph& g = textFont.glyphs[((unsigned char)text[i] + textFont.glyphBank - 32) & 0xFF];
        width += smallCellPixels * g.texWidth * 16;
    }
    return width;
}

// Up to two lines of small text from x, broken between words.
static void smallWrapped(int x, int y, const char* text) {
    const int lines = 2;
    char line[200];
    const char* rest = text;
    for (int i = 0; i < lines && *rest; i++) {
        size_t fit = strlen(rest);
        if (fit >= sizeof line) fit = sizeof line - 1;
        while (fit > 0 && smallWidth(rest, fit) > statusRightPixels - x) {
            size_t space = fit;
            while (space > 0 && rest[space - 1] != ' ') space--;
            fit = space > 1 ? space - 1 : fit - 1;
        }
        if (fit == 0) break;
        memcpy(line, rest, fit);
        line[fit] = '\0';
        smallText(x, y - i * smallLinePixels, line);
        rest += fit;
        while (*rest == ' ') rest++;
    }
}

void EditorScreen::draw(const TrackTileSet& tiles) const {
    glClear(GL_COLOR_BUFFER_BIT);
    beginScreen();
    glColor4f(1, 1, 1, 1);
    // The ground all over, the grid's cells on it.
    const Texture* ground = tiles.getTexture(groundTile);
    for (int y = -2; y * editorCellPixels < 480; y++)
        for (int x = -1; x * editorCellPixels < 640; x++)
            texturedQuad(ground, (float)(editorGridLeft + x * editorCellPixels),
                         (float)(editorGridBottom + y * editorCellPixels), editorCellPixels);
    for (int y = 0; y < trackGridSize; y++)
        for (int x = 0; x < trackGridSize; x++) {
            int type = edit.tileAt(x, y);
            if (type == groundTile) continue;
            glColor4f(1, 1, 1, 1);
            texturedQuad(tiles.getTexture(type), (float)(editorGridLeft + x * editorCellPixels),
                         (float)(editorGridBottom + y * editorCellPixels), editorCellPixels);
        }
    glPopMatrix();

    // Thin lines between the cells, and the grid's edge.
    for (int i = 0; i <= trackGridSize; i++) {
        float at = (float)(i * editorCellPixels);
        drawRect(gridLineShade, editorGridLeft + at - 1, editorGridBottom, editorGridLeft + at + 1,
                 editorGridBottom + gridPixels);
        drawRect(gridLineShade, editorGridLeft, editorGridBottom + at - 1, editorGridLeft + gridPixels,
                 editorGridBottom + at + 1);
    }

    beginScreen();
    const ShapeReport& r = edit.report();
    bool brokenCell = !edit.valid() && r.at.x >= 0 && r.at.x < trackGridSize && r.at.y >= 0 && r.at.y < trackGridSize;
    if (brokenCell) {
        float x0 = (float)(editorGridLeft + r.at.x * editorCellPixels);
        float y0 = (float)(editorGridBottom + r.at.y * editorCellPixels);
        colourQuad(1, 0, 0, 0.35f, x0, y0, x0 + editorCellPixels, y0 + editorCellPixels);
        cellFrame(1, 0.1f, 0.1f, r.at.x, r.at.y, 3);
    }
    if (edit.valid()) {
        // The checkpoints, in yellow: the finish line's first.
        const Course& c = edit.course();
        for (int i = 0; i < c.checkpointCount; i++) cellFrame(1, 1, 0, c.checkpoints[i].x, c.checkpoints[i].y, 2);
    }
    if (pointerOnGrid && !naming) cellFrame(1, 1, 1, pointer.x, pointer.y, 1);
    glPopMatrix();

    drawStatus();
    drawKeys();
    textFont.setColour(1, 1, 1);
    glColor3f(1, 1, 1);
}

// Under the grid: whether the road is a course, and if not what is wrong; the name being typed;
// the last action's outcome.
void EditorScreen::drawStatus() const {
    drawRect(panelShade, statusPanel[0], statusPanel[1], statusPanel[2], statusPanel[3]);
    if (naming) {
        textFont.setColour(1, 1, 1);
        printText(20, 42, "Save as: %s_", name);
        textFont.setColour(1, 1, 0);
        smallText(20, 12, "letters, digits, - and _   Enter saves, Esc gives up");
        textFont.setColour(1, 1, 1);
        return;
    }
    const ShapeReport& r = edit.report();
    char line[64];
    if (edit.valid()) {
        textFont.setColour(0, 1, 0);
        printText(20, 42, "Loop OK");
        snprintf(line, sizeof line, "%d tiles, %d checkpoints", r.loopLength, edit.course().checkpointCount);
        textFont.setColour(1, 1, 1);
        smallText(150, 48, line);
    } else {
        textFont.setColour(1, 0.3f, 0.3f);
        printText(20, 42, "Broken");
        textFont.setColour(1, 1, 1);
        smallWrapped(150, 48, r.message);
    }
    if (note[0]) {
        textFont.setColour(noteGood ? 1.0f : 1.0f, noteGood ? 1.0f : 0.5f, noteGood ? 0.0f : 0.3f);
        smallText(20, 10, note);
    }
    textFont.setColour(1, 1, 1);
}

// Beside the grid: every key of the screen.
void EditorScreen::drawKeys() const {
    drawRect(panelShade, keysPanel[0], keysPanel[1], keysPanel[2], keysPanel[3]);
    textFont.setColour(1, 1, 1);
    printText(keysTextX, 430, "EDITOR");
    static const char* const lines[] = {
        "Left drag: lay road",  "Right drag: erase",   "F: finish line at the",
        "  pointer (again: turn)", "U, Ctrl+Z: undo",   "C: clear",
        "D: test-drive",        "  (Esc comes back)",   "S: save, type a name",
        "Esc: title",
    };
    const int count = (int)(sizeof lines / sizeof lines[0]);
    for (int i = 0; i < count; i++) {
        textFont.setColour(lines[i][0] == ' ' ? 0.8f : 1.0f, lines[i][0] == ' ' ? 0.8f : 1.0f,
                           lines[i][0] == ' ' ? 0.8f : 0.0f);
        smallText(keysTextX, 392 - i * 26, lines[i]);
    }
    // What the frames on the grid mean.
    textFont.setColour(1, 1, 0);
    smallText(keysTextX, 120, "Yellow: checkpoints");
    textFont.setColour(1, 0.4f, 0.4f);
    smallText(keysTextX, 96, "Red: where it breaks");
    textFont.setColour(1, 1, 1);
}
