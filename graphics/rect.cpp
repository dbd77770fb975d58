#include "graphics/rect.h"

#include <GL/gl.h>

void drawRect(float shade, float x1, float y1, float x2, float y2) {
    glPushAttrib(GL_ENABLE_BIT);
    glEnable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPushMatrix();
    // Screen coordinates put the origin at the bottom-left of the centred projection.
    glTranslatef(-320, -240, 0);
    if (shade < 0) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(0, 0, 0, -shade * 1.5f);
    } else {
        glBlendFunc(GL_ONE, GL_ONE);
        glColor4f(shade / 2, shade / 2, shade / 2, shade / 2);
    }
    glBegin(GL_QUADS);
    glVertex2i((int)x1, (int)y1);
    glVertex2i((int)x2, (int)y1);
    glVertex2i((int)x2, (int)y2);
    glVertex2i((int)x1, (int)y2);
    glEnd();
    glPopMatrix();
    glPopAttrib();
}
