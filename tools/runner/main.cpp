// trailerdash-runner: races with no window, driven by an autopilot, for tests and timing.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "tools/runner/raceRunner.h"

#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>

// Sanitizer builds only: a GL driver unloaded before LeakSanitizer looks leaves nameless frames
// that no suppression can match, so its libraries stay in memory.
static void pinGLDrivers() {
    const char* libraries[] = {
        "libEGL_mesa.so.0", "libGLX_mesa.so.0", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
        "libLLVM-15.so.1", "libgallium_dri.so",
    };
    for (const char* name : libraries) dlopen(name, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
}

// The system's GL, X and SDL libraries keep some allocations until exit.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:swrast_dri.so\nleak:libgallium\nleak:libEGL_mesa\nleak:libGLX_mesa\nleak:libLLVM\n"
           "leak:libX11\nleak:libxcb\nleak:libSDL2\nleak:libdbus\nleak:libfontconfig\n";
}
#else
static void pinGLDrivers() {}
#endif

int main(int argc, char** argv) {
    RunnerOptions options;
    if (!parseRunnerOptions(argc, argv, options, stderr)) {
        printRunnerUsage(stderr);
        return 2;
    }
    if (options.help) {
        printRunnerUsage(stdout);
        return 0;
    }
    pinGLDrivers();
    // Headless by design: no X server needed, no sound device touched.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    auto wallStart = std::chrono::steady_clock::now();
    int code = 2;
    {
        RaceRunner runner(options, stdout);
        if (runner.start(stderr)) code = runner.runRaces();
    }
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    printf("Wall clock: %.2f s\n", wall);
    return code;
}
