// A two-player race on one screen: each human's view over its part of the whole drawable (not
// squeezed into the 640x480 picture), with its own camera, heads-up display and cue. The classic
// race never comes here: it draws through Game::draw's single picture.
#include <GL/gl.h>

#include "core/timing.h"
#include "graphics/font.h"
#include "graphics/rect.h"
#include "graphics/text.h"
#include "race/game.h"
#include "race/player.h"

void Game::drawViews() {
    glClear(GL_COLOR_BUFFER_BIT);
    // The app's viewport (the picture's place) is given back for the overlays drawn after.
    GLint picture[4];
    glGetIntegerv(GL_VIEWPORT, picture);
    ViewRect rects[2];
    int count = layOutViews(drawable, humanCount, rects);
    for (int v = 0; v < count; v++) drawView(v, rects[v]);
    glViewport(picture[0], picture[1], picture[2], picture[3]);
}

void Game::drawView(int human, const ViewRect& rect) {
    float width = viewUnits(rect.width, drawable), height = viewUnits(rect.height, drawable);
    glViewport(rect.x, rect.y, rect.width, rect.height);
    // The world centred as the picture's projection centres it: a span one unit short of the
    // view, so its corner points are the view's corners.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-(width - 1) / 2, (width - 1) / 2, -(height - 1) / 2, (height - 1) / 2, 0, 2);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    Camera2D& eye = views[human].camera;
    eye.setPosition(trucks[human].getX(), trucks[human].getY());
    eye.apply();
    tracks[currentTrack].draw();
    for (int i = 0; i < trucksInUse(); i++) trucks[i].draw();
    glPopMatrix();
    // Screen units from the view's bottom-left: the screen drawing's shift by (-320, -240) lands
    // there, and a unit covers whole pixels, so the text's cells sit on pixel edges.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-320, -320 + width, -240, -240 + height, 0, 2);
    glMatrixMode(GL_MODELVIEW);
    drawViewHud(human, height);
    drawViewCue(human, width, height);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

// The HUD of one human, laid out from the view's corners so it fits a view as small as 320 x 240
// units: name and race time, position, lap and lap time at the top left; speed and power at the
// bottom left, where the classic HUD has them.
void Game::drawViewHud(int human, float height) {
    const Truck& t = trucks[human];
    const int top = (int)height;
    char time[raceTimeTextSize];
    drawRect(panelShade, viewHudMargin, (float)top - viewHeadingPanelDepth, viewHeadingPanelRight,
             (float)top - viewHudMargin);
    drawRect(panelShade, viewHudMargin, viewHudMargin, viewSpeedPanelRight, viewSpeedPanelTop);

    const Player* driver = players[human];
    textFont.setColour(1, 1, 0);
    printText(10, top - 34, "%.10s", driver ? driver->getName() : "");
    textFont.setColour(1, 1, 1);
    raceClock.formatElapsed(time);
    printText(150, top - 34, "%s", time);
    // A finished player's place is held (raceOrder.cpp) while the race goes on round their truck.
    bool finished = driver && driver->isFinished();
    printText(10, top - 64, "%s %d/%d", finished ? "Finished" : "Position", t.getRacePosition(), truckCount);
    // A finished player's lap stops at the last.
    int lap = t.getLapCount() + 1 > lapsToRace ? lapsToRace : t.getLapCount() + 1;
    formatRaceTime(t.getLapTime(), time);
    printText(10, top - 94, "Lap %d/%d", lap, lapsToRace);
    printText(150, top - 94, "%s", time);

    drawSpeedAndPower(t);
}
