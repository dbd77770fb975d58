// P stops the race where it stands: no sub-steps run and every race stopwatch is carried
// forward by each paused frame, so the race and lap times resume where they stopped.
#include "race/game.h"

#include <GL/gl.h>

#include "graphics/font.h"
#include "graphics/rect.h"
#include "graphics/text.h"

// Only a running race pauses; the title and results wait for Space anyway.
void Game::togglePause() {
    if (waitingForStart && !paused) return;
    paused = !paused;
}

void Game::holdClocks(int64_t counts) {
    raceClock.start += counts;
    for (int i = 0; i < maxTrucks; i++) trucks[i].lapTimer.start += counts;
}

// Above the user's truck (the screen centre), clear of the HUD's cells.
void Game::drawPaused() {
    drawRect(panelShade, 220, 300, 420, 370);
    textFont.setColour(1, 1, 1);
    printText(274, 319, "Paused\n");
    glColor3f(1, 1, 1);
}
