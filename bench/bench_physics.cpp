// Cost of the collision pass and of integration at the race's load and well beyond it.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "core/timing.h"
#include "math/matrix4.h"
#include "physics/physics.h"
#include "physics/wall.h"

// Writes a w x h box centred d along heading from (x, y), clockwise from the front left, the
// way a truck places its cab and trailer.
static void placeBox(PhysBox& box, float x, float y, float heading, float d, float w, float h) {
    Matrix4 m;
    m.setIdentity();
    m.translate(x, y, 0);
    m.rotate(heading, 0, 0, 1);
    m.translate(0, d, 0);
    const float local[4][2] = {{-w / 2, h / 2}, {w / 2, h / 2}, {w / 2, -h / 2}, {-w / 2, -h / 2}};
    float c[4][2];
    for (int i = 0; i < 4; i++) {
        Matrix4 p(m);
        p.translate(local[i][0], local[i][1], 0);
        c[i][0] = p.element(12);
        c[i][1] = p.element(13);
    }
    box.update(c[0][0], c[0][1], c[1][0], c[1][1], c[2][0], c[2][1], c[3][0], c[3][1]);
}

// Bodies scattered at the density of 256 on the 2048-unit course (some touching each other and
// the walls), over a square that grows with their number, and walls as random segments 20 thick
// over the same square.
const int maxSceneBodies = 1024;
struct Scene {
    PhysicsObject bodies[maxSceneBodies];
    PhysicsObject* moving[maxSceneBodies];
    Wall walls[128];
    PhysicsObject* statics[128];
    int bodyCount, wallCount;
    Physics world;

    Scene(int n, int m, unsigned seed = 7) : bodyCount(n), wallCount(m) {
        std::mt19937 rng(seed);
        float side = 2048.0f * std::sqrt(n / 256.0f);
        std::uniform_real_distribution<float> pos(0.0f, side), turn(-180.0f, 180.0f), len(100.0f, 400.0f);
        for (int i = 0; i < n; i++) {
            float x = pos(rng), y = pos(rng), h = turn(rng);
            bodies[i].setPosition(x, y);
            placeBox(bodies[i].box(0), x, y, h, 33, 46, 67);
            placeBox(bodies[i].box(1), x, y, h + turn(rng) * 0.3f, -43, 49, 115);
            moving[i] = &bodies[i];
            if (i < maxPhysicsObjects) world.addObject(&bodies[i], false);
        }
        for (int i = 0; i < m; i++) {
            float x = pos(rng), y = pos(rng), a = turn(rng) * 0.017453293f, l = len(rng);
            walls[i].setup(x, y, x + l * cosf(a), y + l * sinf(a), 20);
            walls[i].registerWith(world);
            statics[i] = walls[i].body;
        }
    }
};

static void BM_EndStep(benchmark::State& state) {
    // On the heap: 256 bodies and 128 walls are too much for the stack.
    Scene* scene = new Scene((int)state.range(0), (int)state.range(1));
    for (auto _ : state) {
        scene->world.endStep();
        benchmark::ClobberMemory();
    }
    state.counters["pairs"] = (double)(state.range(0) * (state.range(0) - 1) / 2 + state.range(0) * state.range(1));
    delete scene;
}
// The race: five trucks and a course's 30 walls; then ever more trucks against 128 walls.
BENCHMARK(BM_EndStep)->Args({5, 30})->Args({16, 128})->Args({64, 128})->Args({256, 128})->Unit(benchmark::kMicrosecond);

#if __has_include("physics/collisionPass.h")
#include "physics/collisionPass.h"
// endStep's collision pass over any number of bodies, with scratch of the same size.
static void collisionPass(Scene& s) {
    static BodyBounds movingBounds[maxSceneBodies], sortedBounds[maxSceneBodies], staticBounds[128];
    static int movingOrder[maxSceneBodies], staticOrder[128], candidates[128];
    static long long pairs[16384];
    static int cellStarts[maxSceneBodies + 1], entries[8 * maxSceneBodies];
    CollisionScratch scratch = {
        movingBounds, movingOrder, sortedBounds, staticBounds,   staticOrder, candidates,         128,
        pairs,        16384,       cellStarts,   maxSceneBodies, entries,     8 * maxSceneBodies, nullptr};
    collideAll(s.world, s.moving, s.bodyCount, s.statics, s.wallCount, scratch);
}
#else
// The plain double loops of endStep, over any number of bodies.
static void collisionPass(Scene& s) {
    for (int i = 0; i < s.bodyCount; i++)
        for (int j = i + 1; j < s.bodyCount; j++) s.world.collide(*s.moving[i], *s.moving[j]);
    for (int i = 0; i < s.bodyCount; i++)
        for (int j = 0; j < s.wallCount; j++) s.world.collide(*s.moving[i], *s.statics[j]);
}
#endif

// The collision pass at 16 to 1024 moving bodies (the world itself holds at most 256) against
// 128 walls, at a constant density: the growth per doubling of bodies shows how it scales.
static void BM_CollisionPass(benchmark::State& state) {
    Scene* scene = new Scene((int)state.range(0), 128);
    for (auto _ : state) {
        collisionPass(*scene);
        benchmark::ClobberMemory();
    }
    delete scene;
}
BENCHMARK(BM_CollisionPass)->Arg(16)->Arg(64)->Arg(256)->Arg(1024)->Unit(benchmark::kMicrosecond);

// The same, but eight scenes of the same density taken in turn: a scene repeated thousands of
// times lets the branch predictor learn its outcomes when it is small (256 bodies) and not when
// it is large, which flatters the small scene; a world in motion never repeats a pass exactly.
static void BM_CollisionPassVaried(benchmark::State& state) {
    const int kinds = 8;
    Scene* scenes[kinds];
    for (int k = 0; k < kinds; k++) scenes[k] = new Scene((int)state.range(0), 128, 7 + k);
    int turn = 0;
    for (auto _ : state) {
        collisionPass(*scenes[turn]);
        turn = (turn + 1) % kinds;
        benchmark::ClobberMemory();
    }
    for (Scene* scene : scenes) delete scene;
}
BENCHMARK(BM_CollisionPassVaried)->Arg(256)->Arg(1024)->Unit(benchmark::kMicrosecond);

static void BM_Integrate(benchmark::State& state) {
    frameTime = 1.0 / 60 / 2;
    PhysicsObject body;
    body.setDrag(0.6f);
    body.setHeading(0.3f, 0.9f);
    for (auto _ : state) {
        // Keep it moving sideways below the slide speed so the grip branch is timed too.
        body.velocity[0] = 30.0f;
        body.velocity[1] = 500.0f;
        body.integrate();
        benchmark::DoNotOptimize(body.position);
    }
}
BENCHMARK(BM_Integrate);

static void BM_BeginStep(benchmark::State& state) {
    frameTime = 1.0 / 60 / 2;
    Scene* scene = new Scene((int)state.range(0), 0);
    for (auto _ : state) {
        scene->world.beginStep();
        benchmark::ClobberMemory();
    }
    delete scene;
}
BENCHMARK(BM_BeginStep)->Arg(5)->Arg(256);

BENCHMARK_MAIN();
