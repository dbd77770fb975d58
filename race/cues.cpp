// Tells the user why a lap did not count: crossing the line with checkpoints still to take
// shows a short text and, until the missed checkpoint is taken, an arrow pointing to it.
#include "race/game.h"

#include <GL/gl.h>
#include <cmath>

#include "graphics/font.h"
#include "graphics/rect.h"
#include "graphics/smoothShape.h"
#include "graphics/text.h"

// The arrow, in screen units: a shaft and a broad head, yellow inside a dark rim, so it reads
// on grass, asphalt and the trucks alike. It stands clear of the user's truck as far as the
// zoom allows, and always inside the screen's middle, away from the HUD's rows.
static const float arrowLength = 56.0f;
static const float arrowHeadLength = 26.0f;
static const float arrowHeadHalfWidth = 21.0f;
static const float arrowShaftHalfWidth = 7.0f;
static const float arrowGap = 14.0f;         // from the truck's outline to the arrow's tail
static const float arrowMinRadius = 60.0f;   // tail from the screen centre, at least
static const float arrowRimWidth = 2.5f;
static const float arrowFeather = 1.5f;
// The arrow's tip stays inside this part of the screen (left, bottom, right, top); a view keeps
// it this far inside its own edges.
static const float arrowArea[4] = {40.0f, 90.0f, 600.0f, 390.0f};
static const float viewArrowMargin = 20.0f;

// Draws the arrow with its tail at (bx, by), pointing along the unit vector (ux, uy).
static void drawArrow(float bx, float by, float ux, float uy) {
    float vx = -uy, vy = ux;  // to the arrow's left
    float neck = arrowLength - arrowHeadLength;
    // The shaft runs a little into the head, so no seam shows between them.
    const float shaft[4][2] = {
        {bx + vx * arrowShaftHalfWidth, by + vy * arrowShaftHalfWidth},
        {bx - vx * arrowShaftHalfWidth, by - vy * arrowShaftHalfWidth},
        {bx + ux * (neck + 2) - vx * arrowShaftHalfWidth, by + uy * (neck + 2) - vy * arrowShaftHalfWidth},
        {bx + ux * (neck + 2) + vx * arrowShaftHalfWidth, by + uy * (neck + 2) + vy * arrowShaftHalfWidth},
    };
    const float head[3][2] = {
        {bx + ux * neck + vx * arrowHeadHalfWidth, by + uy * neck + vy * arrowHeadHalfWidth},
        {bx + ux * neck - vx * arrowHeadHalfWidth, by + uy * neck - vy * arrowHeadHalfWidth},
        {bx + ux * arrowLength, by + uy * arrowLength},
    };
    const float rim[4] = {0.05f, 0.05f, 0.0f, 0.85f};
    const float fill[4] = {1.0f, 0.85f, 0.05f, 1.0f};
    fillSmoothConvex(shaft, 4, arrowRimWidth, arrowFeather, rim);
    fillSmoothConvex(head, 3, arrowRimWidth, arrowFeather, rim);
    fillSmoothConvex(shaft, 4, 0.0f, arrowFeather, fill);
    fillSmoothConvex(head, 3, 0.0f, arrowFeather, fill);
}

// How far from the middle of area (where the camera holds the truck) the arrow's tail goes: past
// the truck's outline along (ux, uy) at this zoom, but never so far that the tip leaves area.
static float arrowRadius(const Truck& t, float zoom, float ux, float uy, const float area[4]) {
    float reach = 0.0f;
    for (int b = 0; b < 2 && b < t.body.boxCount; b++) {
        for (int c = 0; c < 4; c++) {
            const float* p = t.body.box(b).corners[c];
            float along = ((p[0] - t.getX()) * ux + (p[1] - t.getY()) * uy) * zoom;
            if (along > reach) reach = along;
        }
    }
    float radius = reach + arrowGap;
    if (radius < arrowMinRadius) radius = arrowMinRadius;
    // The tip, centre + (radius + length) * u, within the area along each axis.
    const float centre[2] = {(area[0] + area[2]) / 2, (area[1] + area[3]) / 2};
    const float u[2] = {ux, uy};
    for (int axis = 0; axis < 2; axis++) {
        float room = u[axis] > 0 ? area[axis + 2] - centre[axis] : centre[axis] - area[axis];
        float speed = u[axis] > 0 ? u[axis] : -u[axis];
        if (speed > 1e-3f && radius > room / speed - arrowLength) radius = room / speed - arrowLength;
    }
    return radius;
}

// Once a frame after the sub-steps, for one human's truck. Only the entry onto the line's tile
// counts, so a truck standing on it shows the text once.
void Game::watchCheckpoints(int human) {
    const Truck& t = trucks[human];
    CheckpointCue& cue = views[human].cue;
    if (waitingForStart || !t.track) {
        cue.onLine = false;
        return;
    }
    bool on = t.track->checkpointAt(t.getX(), t.getY()) == 0;
    // A counted crossing has already moved the next checkpoint on to 1 in this frame's update.
    if (on && !cue.onLine && t.nextCheckpoint != 1) {
        cue.until = raceClock.elapsedSeconds() + missedCueSeconds;
        cue.checkpoint = t.nextCheckpoint;
    }
    cue.onLine = on;
    if (cue.checkpoint >= 0 && t.nextCheckpoint != cue.checkpoint) cue.checkpoint = -1;
}

// The unit vector from truck t to the centre of checkpoint's tile; false when there is none.
static bool towardsCheckpoint(const Truck& t, int checkpoint, float& ux, float& uy) {
    const Track* track = t.track;
    if (checkpoint < 0 || !track || checkpoint >= track->checkpointCount() || checkpoint >= Track::maxCheckpoints)
        return false;
    const TileCoord& c = track->checkpoints[checkpoint];
    float dx = (float)(c.x * tileSizeUnits + tileSizeUnits / 2) - t.getX();
    float dy = (float)(c.y * tileSizeUnits + tileSizeUnits / 2) - t.getY();
    float length = std::sqrt(dx * dx + dy * dy);
    if (length <= 1.0f) return false;
    ux = dx / length;
    uy = dy / length;
    return true;
}

// A view's cue, in its own screen units (width x height): the text in a panel under its middle
// (the recovery's words take it while they show) and the arrow round its centre, where its
// camera holds the truck.
void Game::drawViewCue(int human, float width, float height) {
    const View& view = views[human];
    const char* text = recoverCueText(human);
    bool recovering = text != nullptr;
    if (!text && raceClock.elapsedSeconds() < view.cue.until) text = "Missed checkpoint - go back\n";
    if (text) {
        ViewCuePanel p = viewCuePanel(width, height, textWidth(text));
        drawRect(panelShade, p.left, p.bottom, p.right, p.top);
        textFont.setColour(1, 1, recovering ? 0 : 1);
        printText((int)p.textLeft, (int)(p.bottom + viewCueTextRise), "%s", text);
    }
    float ux, uy;
    if (towardsCheckpoint(trucks[human], view.cue.checkpoint, ux, uy)) {
        const float area[4] = {viewArrowMargin, viewArrowMargin, width - viewArrowMargin, height - viewArrowMargin};
        float radius = arrowRadius(trucks[human], view.camera.zoom, ux, uy, area);
        glPushMatrix();
        glTranslatef(-320, -240, 0);  // screen coordinates, as drawRect uses
        drawArrow(width / 2 + ux * radius, height / 2 + uy * radius, ux, uy);
        glPopMatrix();
    }
    textFont.setColour(1, 1, 1);
    glColor3f(1, 1, 1);
}

// Over the HUD, while racing.
void Game::drawCues() {
    const Truck& t = trucks[0];
    // The recovery's words take the line while they show; the arrow still points the way.
    const View& view = views[0];
    if (!drawRecoverCue() && raceClock.elapsedSeconds() < view.cue.until) {
        drawRect(panelShade, 110, 110, 530, 160);
        textFont.setColour(1, 1, 1);
        printText(124, 120, "Missed checkpoint - go back\n");
    }
    float ux, uy;
    if (towardsCheckpoint(t, view.cue.checkpoint, ux, uy)) {
        // The camera neither turns nor mirrors, so the world direction is the screen's.
        float radius = arrowRadius(t, view.camera.zoom, ux, uy, arrowArea);
        glPushMatrix();
        glTranslatef(-320, -240, 0);  // screen coordinates, as drawRect uses
        drawArrow(320 + ux * radius, 240 + uy * radius, ux, uy);
        glPopMatrix();
    }
    textFont.setColour(1, 1, 1);
    glColor3f(1, 1, 1);
}
