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

bool pinVideoDriver() {
    const char* driver = chooseVideoDriver(getenv("SDL_VIDEODRIVER"), getenv("DISPLAY"), getenv("WAYLAND_DISPLAY"));
    if (!driver) {
        fprintf(stderr, "trailerdash: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)\n");
        return false;
    }
    // With one driver named, SDL tries only that one and fails plainly when it cannot.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    return true;
}
