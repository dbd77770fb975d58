// The game as a whole, timed as ratios measured side by side in one run: whole races against the
// clock, one sub-step against the collision pass alone, a drawn frame against one full-screen
// textured quad, and start-up against a bare GL context.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <chrono>
#include <cstdio>

#include "app/headlessContext.h"
#include "app/mainLoop.h"
#include "core/input.h"
#include "core/timing.h"
#include "graphics/texture.h"
#include "race/game.h"
#include "race/player.h"
#include "tools/runner/raceRunner.h"

#ifndef TD_BINARY_DIR
#define TD_BINARY_DIR "build"
#endif

namespace {
// One loaded game shared by the race benchmarks: the runner's start-up without its race loop.
RaceRunner* sharedRunner() {
    static RaceRunner* runner = nullptr;
    if (!runner) {
        RunnerOptions o;
        snprintf(o.dataFolder, sizeof o.dataFolder, "%s", TD_BINARY_DIR);
        o.drawEvery = 0;
        runner = new RaceRunner(o, stdout);
        if (!runner->start(stderr)) {
            fprintf(stderr, "bench: the game did not start (data folder %s)\n", TD_BINARY_DIR);
            delete runner;
            runner = nullptr;
        }
    }
    return runner;
}

// One undrawn frame of seconds real time, the autopilot at the wheel of truck 0, as the runner
// runs it but with the keys set directly.
void runFrame(RaceRunner& r, double seconds, bool drive) {
    Game& g = *r.game;
    if (drive) {
        DriveKeys k = r.autopilot.decide(g.trucks[0], g.tracks[g.currentTrack], seconds);
        const int codes[4] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
        const bool down[4] = {k.left, k.right, k.up, k.down};
        for (int i = 0; i < 4; i++) down[i] ? keys.keyDown(codes[i]) : keys.keyUp(codes[i]);
    }
    r.clock.counter += (int64_t)(seconds * (double)runnerClockFrequency);
    mouse.update();
    g.update();
    keys.endFrame();
}

// Back to the grid of course track with the race running (Space held for one frame).
void startRace(RaceRunner& r, int track) {
    Game& g = *r.game;
    for (int code : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) keys.keyUp(code);
    g.currentTrack = track;
    g.raceOver = false;
    g.waitingForStart = true;
    g.resetRace();
    r.autopilot.reset();
    keys.keyDown(VK_SPACE);
    runFrame(r, 1.0 / 60, false);
    keys.keyUp(VK_SPACE);
}

bool everyoneFinished(const Game& g) {
    for (int i = 0; i < g.playerCount; i++)
        if (!g.players[i]->isFinished()) return false;
    return true;
}
}  // namespace

// These two come first: the shared game below holds the one context the process may have.
// Start-up to the first drawn frame: context, data, textures, game, one frame.
static void BM_StartUp(benchmark::State& state) {
    for (auto _ : state) {
        RunnerOptions o;
        snprintf(o.dataFolder, sizeof o.dataFolder, "%s", TD_BINARY_DIR);
        o.drawEvery = 1;
        FILE* out = fopen("/dev/null", "w");
        RaceRunner runner(o, out);
        if (!runner.start(stderr)) state.SkipWithError("no game");
        runner.game->draw();
        swapHeadlessContext();
        glFinish();
        runner.shutDown();
        fclose(out);
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

// A bare context with one cleared frame.
static void BM_BareContext(benchmark::State& state) {
    for (auto _ : state) {
        createHeadlessContext(640, 480);
        glClear(GL_COLOR_BUFFER_BIT);
        swapHeadlessContext();
        glFinish();
        destroyHeadlessContext();
    }
}
BENCHMARK(BM_BareContext)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

// A whole six-lap race at 60 frames a second, undrawn, until every truck has finished: the rate
// is simulated seconds per second of this thread's time (the wall time on an idle machine).
static void BM_WholeRace(benchmark::State& state) {
    RaceRunner* r = sharedRunner();
    if (!r) return state.SkipWithError("no game");
    const double frame = 1.0 / 60;
    double simulated = 0;
    for (auto _ : state) {
        startRace(*r, (int)state.range(0));
        int frames = 0;
        while (!everyoneFinished(*r->game) && frames < 900 * 60) {
            runFrame(*r, frame, true);
            frames++;
        }
        simulated += frames * frame;
    }
    state.counters["simulated_s_per_wall_s"] = benchmark::Counter(simulated, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WholeRace)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Five seconds into course 0, where the field is still bunched.
static RaceRunner* raceUnderWay() {
    RaceRunner* r = sharedRunner();
    if (!r) return nullptr;
    startRace(*r, 0);
    for (int i = 0; i < 300; i++) runFrame(*r, 1.0 / 60, true);
    return r;
}

// One frame of 1/100 s real time is 0.009 s of game time: exactly one sub-step.
static void BM_RaceSubStep(benchmark::State& state) {
    RaceRunner* r = raceUnderWay();
    if (!r) return state.SkipWithError("no game");
    for (auto _ : state) runFrame(*r, 0.01, true);
}
BENCHMARK(BM_RaceSubStep);

static void BM_RaceEndStepAlone(benchmark::State& state) {
    RaceRunner* r = raceUnderWay();
    if (!r) return state.SkipWithError("no game");
    for (auto _ : state) {
        r->game->physics.endStep();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RaceEndStepAlone);

// What a drawn race frame costs the game: Game::draw and the swap that finishes it.
static void BM_DrawRaceFrame(benchmark::State& state) {
    RaceRunner* r = raceUnderWay();
    if (!r) return state.SkipWithError("no game");
    for (auto _ : state) {
        r->game->draw();
        glFlush();
        swapHeadlessContext();
        glFinish();
    }
}
BENCHMARK(BM_DrawRaceFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor on this driver: clear, one textured quad over the whole window, swap. Drawing runs
// on llvmpipe's own threads, so these four count wall time.
static void BM_FullScreenQuad(benchmark::State& state) {
    RaceRunner* r = sharedRunner();
    if (!r) return state.SkipWithError("no game");
    Texture* picture = r->game->trucks[0].texture;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_TEXTURE_2D);
        if (picture) picture->bind();
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex2f(-320, -240);
        glTexCoord2f(1, 0);
        glVertex2f(320, -240);
        glTexCoord2f(1, 1);
        glVertex2f(320, 240);
        glTexCoord2f(0, 1);
        glVertex2f(-320, 240);
        glEnd();
        glFlush();
        swapHeadlessContext();
        glFinish();
    }
}
BENCHMARK(BM_FullScreenQuad)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
