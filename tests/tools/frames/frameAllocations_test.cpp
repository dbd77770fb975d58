// Nothing is allocated per frame: every operator new of the process is counted while races run,
// undrawn and drawn, after a warm-up. In a program of its own, as it replaces the global
// operator new.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "app/mainLoop.h"
#include "core/input.h"
#include "race/game.h"
#include "tools/runner/raceRunner.h"

static long long allocations = 0;

void* operator new(std::size_t size) {
    allocations++;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    allocations++;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {
// One frame of 1/60 s with the autopilot driving, drawn through the game's own loop or not.
void runFrame(RaceRunner& r, bool drawn) {
    Game& g = *r.game;
    DriveKeys k = r.autopilot.decide(g.trucks[0], g.tracks[g.currentTrack], 1.0 / 60);
    const int codes[4] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
    const bool down[4] = {k.left, k.right, k.up, k.down};
    for (int i = 0; i < 4; i++) down[i] ? keys.keyDown(codes[i]) : keys.keyUp(codes[i]);
    r.clock.counter += runnerClockFrequency / 60;
    if (drawn) {
        r.loop->frame();
    } else {
        mouse.update();
        g.update();
        keys.endFrame();
    }
}
}  // namespace

TEST(FrameAllocations, RacingAndDrawingAllocateNothing) {
    RunnerOptions o;
    snprintf(o.dataFolder, sizeof o.dataFolder, "%s", TD_BINARY_DIR);
    FILE* out = tmpfile();
    RaceRunner r(o, out);
    ASSERT_TRUE(r.start(stderr));
    // Start-up news the game and its players: the count must see them.
    ASSERT_GT(allocations, 0) << "the counting operator new is not in use";
    // Normal's drivers, and Hard's on their racing line (laid before the race, not in a frame).
    for (Difficulty level : {Difficulty::normal, Difficulty::hard}) {
        r.game->setDifficulty(level);
        for (int course = 0; course < 2; course++) {
            r.game->currentTrack = course;
            r.game->resetRace();
            long long beforeStart = allocations;
            keys.keyDown(VK_SPACE);
            runFrame(r, false);
            keys.keyUp(VK_SPACE);
            long long start = allocations - beforeStart;
            // Warm-up: the driver builds its shaders on first use.
            for (int i = 0; i < 60; i++) runFrame(r, true);
            long long before = allocations;
            for (int i = 0; i < 1200; i++) runFrame(r, false);
            long long undrawn = allocations - before;
            before = allocations;
            for (int i = 0; i < 60; i++) runFrame(r, true);
            long long drawn = allocations - before;
            printf("%s, course %d: %lld allocations in the start frame, %lld in 1200 undrawn frames, %lld in 60 "
                   "drawn frames\n",
                   difficultyName(level), course, start, undrawn, drawn);
            EXPECT_EQ(0, start);
            EXPECT_EQ(0, undrawn);
            EXPECT_EQ(0, drawn);
        }
    }
    r.shutDown();
    fclose(out);
}
