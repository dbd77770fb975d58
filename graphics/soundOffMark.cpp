#include "graphics/soundOffMark.h"

#include <GL/gl.h>

#include "graphics/rect.h"

// Screen pixels (origin bottom-left): the backing square and the speaker inside it.
static const float markLeft = 606, markBottom = 8, markSize = 26;
static const float markShade = -0.3f;  // the panels' own veil

void drawSoundOffMark() {
    // The world is drawn next frame in whatever colour is left (the veil's is black): leave none.
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
    drawRect(markShade, markLeft, markBottom, markLeft + markSize, markBottom + markSize);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glPushMatrix();
    glTranslatef(-320 + markLeft, -240 + markBottom, 0);
    glColor3f(1, 1, 1);
    // The speaker: its magnet, then its cone opening to the right.
    glBegin(GL_QUADS);
    glVertex2f(4, 10);
    glVertex2f(8, 10);
    glVertex2f(8, 16);
    glVertex2f(4, 16);
    glVertex2f(8, 10);
    glVertex2f(14, 5);
    glVertex2f(14, 21);
    glVertex2f(8, 16);
    glEnd();
    // The cross: no sound comes out.
    glColor3f(1, 0.3f, 0.2f);
    glLineWidth(2);
    glBegin(GL_LINES);
    glVertex2f(16, 9);
    glVertex2f(23, 17);
    glVertex2f(16, 17);
    glVertex2f(23, 9);
    glEnd();
    glPopMatrix();
    glPopAttrib();
}
