// trailerdash-runner: races with no window, driven by an autopilot, for tests and timing.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "core/sanitizerSupport.h"
#include "tools/runner/raceRunner.h"
#include "tools/runner/stopSignals.h"

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
    // Before SDL starts, which then leaves these handlers in place.
    catchStopSignals();
    // Headless by design: no X server needed, no sound device touched.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    auto wallStart = std::chrono::steady_clock::now();
    int code = 2;
    double simulated = 0.0;  // seconds of the runner's clock: the frames' own real time
    {
        RaceRunner runner(options, stdout);
        if (options.generate) {
            // Proving races are the four computer trucks' alone, undrawn.
            runner.options.idle = true;
            runner.options.drawEvery = 0;
        }
        if (runner.start(stderr)) code = options.generate ? runner.generate() : runner.runRaces();
        simulated = (double)runner.clock.counter / (double)runner.clock.frequency;
    }
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    // End to end, start-up included: what proving courses by headless racing costs.
    printf("Wall clock: %.2f s for %.1f s of frames, %.0fx real time\n", wall, simulated,
           wall > 0.0 ? simulated / wall : 0.0);
    if (fflush(stdout) != 0 && code == 0) {
        fprintf(stderr, "trailerdash-runner: cannot write the results\n");
        code = runnerOutputFailed;
    }
    return code;
}
