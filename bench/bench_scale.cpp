// A drawn race frame in a window of 1x, 2x and 3x the picture's size, against the floor of the
// driver at that size: one textured quad over the whole window. Each scale has a context of its
// own, sized as the game's window would be, and the two are timed in turns.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/headlessContext.h"
#include "app/pictureFit.h"
#include "app/pictureUpscale.h"
#include "core/input.h"
#include "graphics/texture.h"
#include "race/game.h"
#include "tools/runner/raceRunner.h"

#ifndef TD_BINARY_DIR
#define TD_BINARY_DIR "build"
#endif

namespace {
// One undrawn frame of 1/60 s with Up held: the race moves on between timed frames.
void advance(RaceRunner& r) {
    keys.keyDown(VK_UP);
    r.clock.counter += runnerClockFrequency / 60;
    r.game->update();
    keys.endFrame();
}

// The quad the floor draws: the whole window, one texture, as plain as drawing gets.
void drawFloorQuad(Texture* texture, int width, int height) {
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    if (texture) texture->bind();
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

// The game's frame as its window shows it at this size, scaled as the window scales it.
void drawGameFrame(Game& game, PictureUpscaler& upscale, int width, int height) {
    upscale.aim(fitPicture(width, height), isSoftwareRenderer());
    game.draw();
    glFlush();
    upscale.present();
    swapHeadlessContext();
    glFinish();
}
}  // namespace

static void BM_DrawFrameAtScale(benchmark::State& state) {
    const int scale = (int)state.range(0);
    const int width = pictureWidth * scale, height = pictureHeight * scale;
    // The context is made at the window's size first; the runner then keeps it.
    if (!createHeadlessContext(width, height)) return state.SkipWithError("no GL context");
    RunnerOptions o;
    snprintf(o.dataFolder, sizeof o.dataFolder, "%s", TD_BINARY_DIR);
    o.drawEvery = 0;
    FILE* out = fopen("/dev/null", "w");
    {
        RaceRunner r(o, out);
        if (!r.start(stderr)) {
            fclose(out);
            return state.SkipWithError("the game did not start");
        }
        Game& g = *r.game;
        keys.keyDown(VK_SPACE);
        advance(r);
        keys.keyUp(VK_SPACE);
        for (int i = 0; i < 300; i++) advance(r);
        Texture* picture = g.trucks[0].texture;
        PictureUpscaler upscale;
        const int most = 256;
        double frame[most], quad[most];
        int n = 0;
        for (auto _ : state) {
            advance(r);
            auto t0 = std::chrono::steady_clock::now();
            drawGameFrame(g, upscale, width, height);
            auto t1 = std::chrono::steady_clock::now();
            drawFloorQuad(picture, width, height);
            auto t2 = std::chrono::steady_clock::now();
            if (n < most) {
                frame[n] = std::chrono::duration<double, std::milli>(t1 - t0).count();
                quad[n] = std::chrono::duration<double, std::milli>(t2 - t1).count();
                n++;
            }
        }
        std::sort(frame, frame + n);
        std::sort(quad, quad + n);
        if (n > 0) {
            state.counters["frame_ms"] = frame[n / 2];
            state.counters["quad_ms"] = quad[n / 2];
            state.counters["ratio"] = quad[n / 2] > 0 ? frame[n / 2] / quad[n / 2] : 0;
            state.counters["fps"] = frame[n / 2] > 0 ? 1000.0 / frame[n / 2] : 0;
            state.counters["upscaled"] = upscale.active();
        }
        upscale.release();
        r.shutDown();
    }
    fclose(out);
}
BENCHMARK(BM_DrawFrameAtScale)->Arg(1)->Arg(2)->Arg(3)->Iterations(120)->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
