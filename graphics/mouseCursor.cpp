// The program-drawn mouse cursor: a 32x32 texture centred on the pointer.
#include <GL/gl.h>

#include "core/input.h"
#include "graphics/texture.h"

bool Mouse::loadCursorImage(const char* path) {
    // A one-channel picture is widened to four channels so it can blend.
    cursorTexture = loadTexture(path, GL_NEAREST, GL_NEAREST, 1);
    setOwnCursor(1);
    // A missing picture has already been reported by the loader; the cursor is then blank.
    return true;
}

void Mouse::drawCursor() {
    if (!cursorVisible || ownCursor != 1 || !cursorTexture) return;
    const float half = 16.0f;  // half the cursor's 32-pixel size
    float cx = (float)x, cy = (float)y;
    glEnable(GL_BLEND);
    // Adds the picture and darkens by its colour: a cursor visible on light and dark ground.
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_COLOR);
    cursorTexture->bind();
    glColor4f(1, 1, 1, 1);
    glPushMatrix();
    // Screen pixels with the origin at the bottom-left corner.
    glTranslatef(-320, -240, 0);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(cx - half, cy - half);
    glTexCoord2f(1, 0);
    glVertex2f(cx + half, cy - half);
    glTexCoord2f(1, 1);
    glVertex2f(cx + half, cy + half);
    glTexCoord2f(0, 1);
    glVertex2f(cx - half, cy + half);
    glEnd();
    glPopMatrix();
    glDisable(GL_BLEND);
}
