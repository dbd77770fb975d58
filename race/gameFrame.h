#pragma once
// One frame of the game in the order the main loop runs it: mouse, update, drawing, console,
// cursor, flush, swap, key roll-over. The loop, the headless runner and the race tests share it,
// so a frame cannot mean one thing in the game and another in its tests.

class Game;

// Runs one frame. swapBuffers shows the drawn picture (null where nothing is shown); an undrawn
// frame (draw false) moves the world and the input exactly as a drawn one and leaves the picture.
void runGameFrame(Game& game, void (*swapBuffers)(), bool draw = true);
