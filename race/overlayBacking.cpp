// Veils under the HUD's text cells and the results rows, so that green on grass and white on
// kerbs and walls stay readable, and the frame that picks out the user's own results row.
#include "race/game.h"

#include <GL/gl.h>

#include "graphics/font.h"
#include "graphics/rect.h"
#include "graphics/text.h"

// One veil per group of cells, each a few units round its text (cells are 32 tall).
void Game::drawHudBacking() {
    bool lapped = trucks[0].getLapCount() != 0;
    drawRect(panelShade, 4, lapped ? 310.0f : 360.0f, 150, 474);
    if (lapped) drawRect(panelShade, 150, 310, 190, 390);
    drawRect(panelShade, 244, 410, 350, 474);
    drawRect(panelShade, 364, 410, 430, 474);
    drawRect(panelShade, 4, 4, 200, 74);
    if (showFrameRate != 0.0f) drawRect(panelShade, 514, 436, 636, 474);
    if (showInfo != 0.0f) drawRect(panelShade, 294, 4, 560, 74);
}

// Under one results row whose text cells start at rowY; the user's row also gets a bright frame.
void Game::drawResultsRowBacking(int rowY, bool usersRow) {
    float y = (float)rowY;
    drawRect(panelShade, 150, y - 4, 478, y + 34);
    if (!usersRow) return;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
    glDisable(GL_TEXTURE_2D);
    glLineWidth(2.0f);
    glPushMatrix();
    glTranslatef(-320, -240, 0);  // screen coordinates, as drawRect uses
    glColor3f(1, 1, 1);
    glBegin(GL_LINE_LOOP);
    glVertex2f(152, y - 2);
    glVertex2f(476, y - 2);
    glVertex2f(476, y + 32);
    glVertex2f(152, y + 32);
    glEnd();
    glPopMatrix();
    glPopAttrib();
}

// Small labels right of the three lap times (best, last, current), in cells small enough to stay
// inside the lap block's own rows.
void Game::drawLapLabels() {
    const float labelScale = 0.65f;
    float cellWidth = textFont.cellWidth, cellHeight = textFont.cellHeight;
    textFont.setCellSize((int)(cellWidth * labelScale), (int)(cellHeight * labelScale));
    textFont.setColour(0.85f, 0.85f, 0.85f);
    printText(132, 369, "best");
    printText(132, 344, "last");
    printText(132, 319, "now");
    textFont.setCellSize((int)cellWidth, (int)cellHeight);
    textFont.setColour(1, 1, 1);
}
