// P stops the race where it stands: no sub-steps run and every race stopwatch is carried
// forward by each paused frame, so the race and lap times resume where they stopped.
#include "race/game.h"

#include <GL/gl.h>

#include "graphics/font.h"
#include "graphics/rect.h"
#include "graphics/text.h"
#include "physics/physBox.h"
#include "race/panelPlace.h"

// Only a running race pauses; the title and results wait for Space anyway.
void Game::togglePause() {
    if (waitingForStart && !paused) return;
    paused = !paused;
}

void Game::holdClocks(int64_t counts) {
    raceClock.start += counts;
    for (int i = 0; i < maxTrucks; i++) trucks[i].lapTimer.start += counts;
}

// The panel's places, best first, all clear of the HUD's cells: above and below the screen's
// centre, then further out, then beside it and in the four quarters. The truck at the centre
// can cover a few of them at once when zoomed in, never all.
static const ScreenRect pausedPlaces[] = {
    {220, 300, 420, 370}, {220, 110, 420, 180}, {220, 335, 420, 405}, {220, 78, 420, 148},
    {20, 205, 220, 275},  {420, 205, 620, 275}, {420, 335, 620, 405}, {420, 78, 620, 148},
    {20, 78, 220, 148},   {20, 235, 220, 305},
};
// Clear space kept between the panel and the truck.
static const float pausedMargin = 6.0f;
// Where "Paused" stands in its panel.
static const float pausedTextX = 54, pausedTextY = 19;

bool truckCovers(const Truck& truck, const Camera2D& camera, const ScreenRect& rect, float margin) {
    PhysBox panel;
    // Clockwise from the top left, y up, as boxes are laid out.
    panel.update(rect.x1 - margin, rect.y2 + margin, rect.x2 + margin, rect.y2 + margin, rect.x2 + margin,
                 rect.y1 - margin, rect.x1 - margin, rect.y1 - margin);
    for (int b = 0; b < 2 && b < truck.body.boxCount; b++) {
        // A world point p shows at the screen centre plus zoom * (p - camera).
        float c[4][2];
        for (int k = 0; k < 4; k++) {
            c[k][0] = 320.0f + camera.zoom * (truck.body.box(b).corners[k][0] - camera.x);
            c[k][1] = 240.0f + camera.zoom * (truck.body.box(b).corners[k][1] - camera.y);
        }
        PhysBox shown;
        shown.update(c[0][0], c[0][1], c[1][0], c[1][1], c[2][0], c[2][1], c[3][0], c[3][1]);
        if (shown.overlaps(panel)) return true;
    }
    return false;
}

ScreenRect pausedPanelPlace(const Truck& truck, const Camera2D& camera) {
    for (const ScreenRect& r : pausedPlaces)
        if (!truckCovers(truck, camera, r, pausedMargin)) return r;
    return pausedPlaces[0];
}

// Wherever the user's truck is not: the camera was centred on it for this frame's world.
void Game::drawPaused() {
    ScreenRect r = pausedPanelPlace(trucks[0], views[0].camera);
    drawRect(panelShade, r.x1, r.y1, r.x2, r.y2);
    textFont.setColour(1, 1, 1);
    printText((int)(r.x1 + pausedTextX), (int)(r.y1 + pausedTextY), "Paused\n");
    glColor3f(1, 1, 1);
}
