#include "race/gameFrame.h"

#include <GL/gl.h>

#include "core/input.h"
#include "graphics/text.h"
#include "race/game.h"

void runGameFrame(Game& game, void (*swapBuffers)(), bool draw, ScreenOverRace* over) {
    // First, so this frame's button edges and pointer are the ones the update sees.
    mouse.update();
    // Before the race's update, so a course chosen in this frame is the one its Space starts.
    if (over) over->update(game);
    game.update();
    if (over) over->afterUpdate(game);
    if (draw) {
        game.draw();
        if (over) over->draw(game);
        consoleDraw();
        mouse.drawCursor();
        glFlush();
        if (swapBuffers) swapBuffers();
    }
    // Last: a key counts as pressed for the whole of the frame that first sees it down.
    keys.endFrame();
}
