// Settings every test program needs, made here rather than in CTest's environment so that a test
// binary started by hand behaves exactly as under CTest.
#include <cstdlib>

namespace {
struct TestEnvironment {
    TestEnvironment() {
        // A real Mesa context with no X server, and no sound device.
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
    }
} testEnvironment;
}  // namespace

// Allocations made and kept by the system's GL, X and SDL libraries, not by the game. Only
// sanitizer builds read this.
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
