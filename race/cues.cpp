// Tells the user why a lap did not count: crossing the line with checkpoints still to take
// shows a short text and, until the missed checkpoint is taken, an arrow pointing to it.
#include "race/game.h"

#include <GL/gl.h>
#include <cmath>

#include "graphics/font.h"
#include "graphics/rect.h"
#include "graphics/text.h"

// The arrow circles the screen centre (where the camera holds the user's truck) at this radius,
// in screen units; its tip is arrowLength ahead of its base.
static const float arrowRadius = 64.0f;
static const float arrowLength = 22.0f;
static const float arrowHalfWidth = 10.0f;

// Once a frame after the sub-steps. Only the entry onto the line's tile counts, so a truck
// standing on it shows the text once.
void Game::watchUserCheckpoints() {
    const Truck& t = trucks[0];
    if (waitingForStart || !t.track) {
        userOnLine = false;
        return;
    }
    bool onLine = t.track->checkpointAt(t.getX(), t.getY()) == 0;
    // A counted crossing has already moved the next checkpoint on to 1 in this frame's update.
    if (onLine && !userOnLine && t.nextCheckpoint != 1) {
        missedCueUntil = raceClock.elapsedSeconds() + missedCueSeconds;
        missedCheckpoint = t.nextCheckpoint;
    }
    userOnLine = onLine;
    if (missedCheckpoint >= 0 && t.nextCheckpoint != missedCheckpoint) missedCheckpoint = -1;
}

// Over the HUD, while racing.
void Game::drawCues() {
    const Truck& t = trucks[0];
    if (raceClock.elapsedSeconds() < missedCueUntil) {
        drawRect(panelShade, 110, 110, 530, 160);
        textFont.setColour(1, 1, 1);
        printText(124, 120, "Missed checkpoint - go back\n");
    }
    const Track* track = t.track;
    if (missedCheckpoint >= 0 && track && missedCheckpoint < track->checkpointCount() &&
        missedCheckpoint < Track::maxCheckpoints) {
        const TileCoord& c = track->checkpoints[missedCheckpoint];
        float dx = (float)(c.x * tileSizeUnits + tileSizeUnits / 2) - t.getX();
        float dy = (float)(c.y * tileSizeUnits + tileSizeUnits / 2) - t.getY();
        float length = std::sqrt(dx * dx + dy * dy);
        if (length > 1.0f) {
            // The camera neither turns nor mirrors, so the world direction is the screen's.
            float ux = dx / length, uy = dy / length;
            float bx = 320 + ux * arrowRadius, by = 240 + uy * arrowRadius;
            glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
            glDisable(GL_TEXTURE_2D);
            glPushMatrix();
            glTranslatef(-320, -240, 0);  // screen coordinates, as drawRect uses
            glColor3f(1, 1, 0);
            glBegin(GL_TRIANGLES);
            glVertex2f(bx + ux * arrowLength, by + uy * arrowLength);
            glVertex2f(bx - uy * arrowHalfWidth, by + ux * arrowHalfWidth);
            glVertex2f(bx + uy * arrowHalfWidth, by - ux * arrowHalfWidth);
            glEnd();
            glPopMatrix();
            glPopAttrib();
        }
    }
    textFont.setColour(1, 1, 1);
    glColor3f(1, 1, 1);
}
