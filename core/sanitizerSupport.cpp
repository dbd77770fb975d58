#include "core/sanitizerSupport.h"

#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>

void pinGLDrivers() {
    const char* libraries[] = {
        "libEGL_mesa.so.0", "libGLX_mesa.so.0",  "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
        "libLLVM-15.so.1",  "libgallium_dri.so",
    };
    for (const char* name : libraries) dlopen(name, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
}

// Read by LeakSanitizer at exit; it comes with pinGLDrivers, so every program that calls it has
// it. What the system's GL, X and SDL libraries allocate and keep is theirs, not the game's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:swrast_dri.so\n"
           "leak:libgallium\n"
           "leak:libEGL_mesa\n"
           "leak:libGLX_mesa\n"
           "leak:libLLVM\n"
           "leak:libX11\n"
           "leak:libxcb\n"
           "leak:libSDL2\n"
           "leak:libdbus\n"
           "leak:libfontconfig\n";
}
#else
void pinGLDrivers() {}
#endif
