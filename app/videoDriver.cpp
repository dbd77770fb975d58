#include "app/videoDriver.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

static bool isSet(const char* value) { return value && *value; }

const char* chooseVideoDriver(const char* requested, const char* display, const char* waylandDisplay) {
    if (isSet(requested)) return requested;
    // X11 first, as SDL itself prefers it: under XWayland both are set and X11 is the tried path.
    if (isSet(display)) return "x11";
    if (isSet(waylandDisplay)) return "wayland";
    return nullptr;
}

// A refused connection is tried again this often, this many times.
static const Uint32 retryMilliseconds = 100;
static const int connectionTries = 20;

bool startVideo() {
    const char* driver = chooseVideoDriver(getenv("SDL_VIDEODRIVER"), getenv("DISPLAY"), getenv("WAYLAND_DISPLAY"));
    if (!driver) {
        fprintf(stderr, "trailerdash: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)\n");
        return false;
    }
    // With one driver named, SDL tries only that one and fails plainly when it cannot.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    for (int attempt = 1; attempt <= connectionTries; attempt++) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
        if (attempt < connectionTries) SDL_Delay(retryMilliseconds);
    }
    fprintf(stderr, "trailerdash: no window can be opened: %s\n", SDL_GetError());
    return false;
}

void stopVideo() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
