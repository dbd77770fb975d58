// Settings every test program needs, made here rather than in CTest's environment so that a test
// binary started by hand behaves exactly as under CTest.
#include <cstdlib>
#include <filesystem>

namespace {
struct TestEnvironment {
    TestEnvironment() {
        // A real Mesa context with no X server, and no sound device.
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        // Records and replays go to a folder of this run's own, never the user's.
        made = mkdtemp(dataHome) != nullptr;
        if (made) {
            setenv("XDG_DATA_HOME", dataHome, 1);
        } else {
            setenv("XDG_DATA_HOME", "/nonexistent/trailerdash-tests", 1);
        }
    }
    ~TestEnvironment() {
        std::error_code ignored;
        if (made) std::filesystem::remove_all(dataHome, ignored);
    }
    char dataHome[32] = "/tmp/trailerdash-test-XXXXXX";
    bool made = false;
} testEnvironment;
}  // namespace
