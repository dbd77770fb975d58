// Trailer Dash: a top-down race for articulated trucks.
#include "app/dataFolder.h"
#include "app/mainLoop.h"
#include "app/sdlPlatform.h"

#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>

// Sanitizer builds only. The GL driver keeps some start-up allocations until exit but is
// unloaded before LeakSanitizer looks, which leaves nameless frames that no suppression can
// match; pinned in memory, the driver keeps its names.
static void pinGLDrivers() {
    const char* libraries[] = {
        "libEGL_mesa.so.0", "libGLX_mesa.so.0", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
        "libLLVM-15.so.1", "libgallium_dri.so",
    };
    for (const char* name : libraries) dlopen(name, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
}

// What the system's GL, X and SDL libraries allocate and keep is theirs, not the game's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:swrast_dri.so\nleak:libgallium\nleak:libEGL_mesa\nleak:libGLX_mesa\nleak:libLLVM\n"
           "leak:libX11\nleak:libxcb\nleak:libSDL2\nleak:libdbus\nleak:libfontconfig\n";
}
#else
static void pinGLDrivers() {}
#endif

int main() {
    pinGLDrivers();
    SdlPlatform desktop;
    setPlatform(&desktop);
    enterDataFolder();
    int exitCode = runGame();
    setPlatform(nullptr);
    return exitCode;
}
