// The game as a whole, timed as ratios measured side by side in one run: whole races against the
// clock, one sub-step against the collision pass alone, a drawn frame against one full-screen
// textured quad, and start-up against a bare GL context.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/headlessContext.h"
#include "app/mainLoop.h"
#include "core/input.h"
#include "core/timing.h"
#include "front/courseProof.h"
#include "graphics/texture.h"
#include "race/game.h"
#include "race/player.h"
#include "tools/runner/raceRunner.h"
#include "track/courseGenerator.h"

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
        // Drawn, so that the runner makes its GL context and loads the pictures the drawing
        // benchmarks need (an undrawn run makes neither); the frames below never draw unasked.
        o.drawEvery = 1;
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

// The medians of two series taken in turns, and the first's over the second's.
void reportMedians(benchmark::State& state, double* a, double* b, int n, const char* nameA, const char* nameB) {
    if (n == 0) return;
    std::sort(a, a + n);
    std::sort(b, b + n);
    double ma = a[n / 2], mb = b[n / 2];
    state.counters[nameA] = ma;
    state.counters[nameB] = mb;
    state.counters["ratio"] = mb > 0 ? ma / mb : 0;
}

bool everyoneFinished(const Game& g) {
    for (int i = 0; i < g.playerCount; i++)
        if (!g.players[i]->isFinished()) return false;
    return true;
}
}  // namespace

// This comes first: the shared game below holds the one context the process may have.
// Start-up to the first drawn frame (context, data, textures, game, one frame) against a bare
// context with one cleared frame, taken in turns so that a busy machine slows both alike; the
// medians and their ratio.
static void BM_StartUpAgainstBareContext(benchmark::State& state) {
    const int most = 64;
    double game[most], bare[most];
    int n = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        {
            RunnerOptions o;
            snprintf(o.dataFolder, sizeof o.dataFolder, "%s", TD_BINARY_DIR);
            FILE* out = fopen("/dev/null", "w");
            RaceRunner runner(o, out);
            if (!runner.start(stderr)) state.SkipWithError("no game");
            runner.game->draw();
            swapHeadlessContext();
            glFinish();
            runner.shutDown();
            fclose(out);
        }
        auto t1 = std::chrono::steady_clock::now();
        createHeadlessContext(640, 480);
        glClear(GL_COLOR_BUFFER_BIT);
        swapHeadlessContext();
        glFinish();
        destroyHeadlessContext();
        auto t2 = std::chrono::steady_clock::now();
        if (n < most) {
            game[n] = std::chrono::duration<double, std::milli>(t1 - t0).count();
            bare[n] = std::chrono::duration<double, std::milli>(t2 - t1).count();
            n++;
        }
    }
    reportMedians(state, game, bare, n, "startup_ms", "bare_ms");
}
BENCHMARK(BM_StartUpAgainstBareContext)->Iterations(12)->UseRealTime()->Unit(benchmark::kMillisecond);

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

// A drawn race frame (Game::draw and the swap that finishes it) against the floor on this driver,
// one textured quad over the whole window and a swap, taken in turns; drawing runs on llvmpipe's
// own threads, so wall time counts. The medians and their ratio.
static void BM_DrawFrameAgainstQuad(benchmark::State& state) {
    RaceRunner* r = raceUnderWay();
    if (!r) return state.SkipWithError("no game");
    Texture* picture = r->game->trucks[0].texture;
    const int most = 256;
    double frame[most], quad[most];
    int n = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        r->game->draw();
        glFlush();
        swapHeadlessContext();
        glFinish();
        auto t1 = std::chrono::steady_clock::now();
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
        auto t2 = std::chrono::steady_clock::now();
        if (n < most) {
            frame[n] = std::chrono::duration<double, std::milli>(t1 - t0).count();
            quad[n] = std::chrono::duration<double, std::milli>(t2 - t1).count();
            n++;
        }
    }
    reportMedians(state, frame, quad, n, "frame_ms", "quad_ms");
}
BENCHMARK(BM_DrawFrameAgainstQuad)->Iterations(200)->UseRealTime()->Unit(benchmark::kMillisecond);

// A drawn two-player frame (two views, one above the other in the 640x480 picture, each with its
// world and HUD) against the one-player frame of the same race moment, taken in turns; the goal
// is at most 1.6 times the one view's time.
static void BM_TwoViewsAgainstOneView(benchmark::State& state) {
    RaceRunner* r = raceUnderWay();
    if (!r) return state.SkipWithError("no game");
    Game& g = *r->game;
    const int most = 256;
    double two[most], one[most];
    int n = 0;
    auto drawn = [](Game& game) {
        auto t0 = std::chrono::steady_clock::now();
        game.draw();
        glFlush();
        swapHeadlessContext();
        glFinish();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    };
    for (auto _ : state) {
        g.setHumans(2);
        double t2 = drawn(g);
        g.setHumans(1);
        double t1 = drawn(g);
        if (n < most) {
            two[n] = t2;
            one[n] = t1;
            n++;
        }
    }
    reportMedians(state, two, one, n, "two_views_ms", "one_view_ms");
}
BENCHMARK(BM_TwoViewsAgainstOneView)->Iterations(200)->UseRealTime()->Unit(benchmark::kMillisecond);

// A course offered from a seed: generated, then raced by the four computer trucks until the
// proof decides, as --generate and the title's random entry do; consecutive seeds, one a
// pass. The goal is under 0.5 s a course. Last: the proof leaves its course on the shared game.
static void BM_GenerateAndProve(benchmark::State& state) {
    RaceRunner* r = sharedRunner();
    if (!r) return state.SkipWithError("no game");
    RaceProver prover(r->game);
    uint64_t seed = 1;
    double tiles = 0, proved = 0;
    for (auto _ : state) {
        Course made;
        if (!generateCourse(seed++, made)) continue;
        prover.begin(made);
        while (prover.advance(600) == courseProving) {}  // ten seconds of race a slice, as --generate
        tiles += prover.tiles;
        proved += prover.state == courseProved ? 1 : 0;
    }
    state.counters["tiles"] = benchmark::Counter(tiles, benchmark::Counter::kAvgIterations);
    state.counters["proved"] = benchmark::Counter(proved, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_GenerateAndProve)->Iterations(50)->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
