#pragma once
// Escape's menu over a race of the menu's modes: Resume, Restart, Back to the title, Quit. The
// race is held while it shows; what a choice means beyond that is the mode's.
#include "front/menu.h"

class Game;

class PauseMenu {
public:
    enum Choice { none, resume, restart, toTitle, quit };

    // Opens on Resume and holds the race.
    void open(Game& game);
    // One frame while open. Resume (or Escape) closes it and gives the race back unless
    // stillHeld (the countdown keeps it); Quit posts the quit message, as the window's close.
    Choice update(Game& game, bool stillHeld);
    void draw() const;

    bool isOpen = false;
    MenuList list;
};
