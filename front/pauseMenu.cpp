#include "front/pauseMenu.h"

#include "core/platform.h"
#include "race/game.h"

static const char* const pauseLabels[] = {"Resume", "Restart", "Back to the title", "Quit"};
static const int pauseCount = 4;

void PauseMenu::open(Game& game) {
    isOpen = true;
    list.selected = 0;
    game.held = true;
}

PauseMenu::Choice PauseMenu::update(Game& game, bool stillHeld) {
    if (!isOpen) return none;
    MenuMove move = list.handle(pauseCount);
    if (move == menuBack || (move == menuChosen && list.selected == 0)) {
        isOpen = false;
        game.held = stillHeld;
        return resume;
    }
    if (move != menuChosen) return none;
    isOpen = false;
    if (list.selected == 1) return restart;
    if (list.selected == 2) return toTitle;
    // The quit message ends the loop as closing the window does; the menu stays on its last frame.
    isOpen = true;
    platform().postQuitMessage(0);
    return quit;
}

void PauseMenu::draw() const {
    if (!isOpen) return;
    MenuRow rows[pauseCount];
    for (int i = 0; i < pauseCount; i++) rows[i] = {pauseLabels[i], nullptr, false};
    drawMenuPanel("PAUSED", rows, pauseCount, list.selected, "Return, Esc resumes");
}
