#pragma once
// An OpenGL context with no visible window, for the headless race runner and the tests. With
// SDL_VIDEODRIVER=offscreen it needs no X server. The projection is the game window's, so
// drawing code behaves exactly as in the game.

// Creates a hidden width x height double-buffered context and makes it current. False (with a
// message on stderr) when the video driver or GL is unavailable.
bool createHeadlessContext(int width = 640, int height = 480);
// Releases what createHeadlessContext acquired; safe to call twice.
void destroyHeadlessContext();
void swapHeadlessContext();
