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
