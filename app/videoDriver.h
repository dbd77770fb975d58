#pragma once
// The video driver the game's window is made with, fixed before SDL starts. Left to itself SDL
// falls through its list when a driver fails, down to drivers that show nothing (offscreen,
// dummy), and the game would then run unseen.

// The driver to use: requested (SDL_VIDEODRIVER) when given; else X11 when display (DISPLAY) is
// set, Wayland when waylandDisplay (WAYLAND_DISPLAY) is; null when there is no display at all.
// Empty strings count as unset.
const char* chooseVideoDriver(const char* requested, const char* display, const char* waylandDisplay);

// Chooses from the environment and tells SDL; false, said on stderr, when there is no display.
bool pinVideoDriver();
