#pragma once
// One frame of the game in the order the main loop runs it: mouse, update, drawing, console,
// cursor, flush, swap, key roll-over. The loop, the headless runner and the race tests share it,
// so a frame cannot mean one thing in the game and another in its tests.

class Game;

// A screen above the race (the title's choice of course): it reads the frame's keys before the
// race does, and draws over the race's picture before it is shown.
class ScreenOverRace {
public:
    virtual ~ScreenOverRace() = default;
    virtual void update(Game& game) = 0;
    virtual void draw(const Game& game) = 0;
    // Right after the race's update, so a screen can hide keys from the race and give them back.
    virtual void afterUpdate(Game&) {}
    // True while Escape is the screen's (a menu to close) rather than the program's end.
    virtual bool takesEscape(const Game&) const { return false; }
};

// Runs one frame. swapBuffers shows the drawn picture (null where nothing is shown); an undrawn
// frame (draw false) moves the world and the input exactly as a drawn one and leaves the picture.
// over, when given, takes its turn at the keys and the picture.
void runGameFrame(Game& game, void (*swapBuffers)(), bool draw = true, ScreenOverRace* over = nullptr);
