#pragma once
// The video driver the game's window is made with, fixed before SDL starts. Left to itself SDL
// falls through its list when a driver fails, down to drivers that show nothing (offscreen,
// dummy), and the game would then run unseen.

// The driver to use: requested (SDL_VIDEODRIVER) when given; else X11 when display (DISPLAY) is
// set, Wayland when waylandDisplay (WAYLAND_DISPLAY) is; null when there is no display at all.
// Empty strings count as unset.
const char* chooseVideoDriver(const char* requested, const char* display, const char* waylandDisplay);

// Chooses the driver from the environment and starts SDL's video with it, before anything is
// shown, so that the program holds its display connection from the question to the end: a bare X
// server resets when its last client goes, and a connection made during the reset fails. The
// first connection may still meet one, so a refusal is retried for up to two seconds. False,
// said on stderr, when there is no display or it cannot be reached.
bool startVideo();
// Ends what startVideo started.
void stopVideo();
