#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "physics/physics.h"
#include "physics/wall.h"

// Two boxes per body, rotated rectangles around (x, y), clockwise as the world needs them.
static void placeBody(PhysicsObject& body, float x, float y, float heading) {
    body.setPosition(x, y);
    body.velocity[0] = 10.0f;
    const float c = std::cos(heading), s = std::sin(heading);
    const float halves[2][2] = {{23.0f, 33.5f}, {24.5f, 57.5f}};
    const float centres[2] = {33.0f, -43.0f};
    for (int b = 0; b < 2; b++) {
        const float w = halves[b][0], h = halves[b][1];
        const float local[4][2] = {{-w, h}, {w, h}, {w, -h}, {-w, -h}};
        float q[4][2];
        for (int i = 0; i < 4; i++) {
            float lx = local[i][0], ly = local[i][1] + centres[b];
            q[i][0] = x + c * lx - s * ly;
            q[i][1] = y + s * lx + c * ly;
        }
        body.box(b).update(q[0][0], q[0][1], q[1][0], q[1][1], q[2][0], q[2][1], q[3][0], q[3][1]);
    }
}

// The broad phase must resolve exactly the pairs of the plain double loop, in its order: a scene
// spread thin (the grid), one packed tight (more meeting pairs than the sweep keeps, so the plain
// loops run), one with a body whose corners went NaN, one with a body stretched over every grid
// cell, and one with an infinite corner (no grid: the sweep). A race's few bodies take the plain
// loops with the walls kept by place between passes: bodies near the course, some beyond it
// (tested against every wall), a lost and a stretched one, and walls moved between passes (the
// places built again). Positions and velocities must agree to the bit after every pass.
TEST(CollisionPass, ResolvesThePairsOfThePlainLoopInItsOrder) {
    enum Odd { none, lost, stretched, infinite };
    struct Case {
        int bodies;
        float spread;
        Odd odd;
        int passes;
        bool wallsMove;  // laid again elsewhere before each pass after the first
    };
    const Case cases[] = {
        {200, 2048.0f, none, 1, false},     {256, 150.0f, none, 1, false},     {60, 600.0f, lost, 1, false},
        {150, 1500.0f, stretched, 1, false}, {120, 1200.0f, infinite, 1, false}, {8, 700.0f, none, 3, true},
        {12, 2600.0f, none, 2, false},       {8, 700.0f, lost, 2, false},       {8, 700.0f, stretched, 2, false},
    };
    for (const Case& k : cases) {
        std::mt19937 rng(k.bodies);
        std::uniform_real_distribution<float> pos(0.0f, k.spread), turn(-3.2f, 3.2f), len(50.0f, 400.0f);
        std::vector<PhysicsObject> swept(k.bodies), plain;
        for (PhysicsObject& b : swept) placeBody(b, pos(rng), pos(rng), turn(rng));
        if (k.odd == lost) swept[7].box(1).update(NAN, 0, 1, 1, 2, 0, 1, -1);
        if (k.odd == stretched) swept[7].box(1).update(0, k.spread, k.spread, k.spread, k.spread, 0, 0, 0);
        if (k.odd == infinite) swept[7].box(1).update(-INFINITY, 0, 1, 1, 2, 0, 1, -1);
        plain = swept;
        std::vector<Wall> walls(40);
        Physics world, reference;
        for (PhysicsObject& b : swept) world.addObject(&b, false);
        for (Wall& w : walls) w.registerWith(world);
        int moved = 0, differing = 0;
        for (int pass = 0; pass < k.passes; pass++) {
            if (pass == 0 || k.wallsMove) {
                for (Wall& w : walls) {
                    float x = pos(rng), y = pos(rng), a = turn(rng), l = len(rng);
                    w.setup(x, y, x + l * std::cos(a), y + l * std::sin(a), 20);
                }
            }
            world.endStep();
            for (int i = 0; i < k.bodies; i++)
                for (int j = i + 1; j < k.bodies; j++) reference.collide(plain[i], plain[j]);
            for (int i = 0; i < k.bodies; i++)
                for (Wall& w : walls) reference.collide(plain[i], *world.staticObjects[&w - &walls[0]]);
            for (int i = 0; i < k.bodies; i++) {
                if (plain[i].velocity[0] != 10.0f || plain[i].velocity[1] != 0.0f) moved++;
                if (memcmp(plain[i].position, swept[i].position, sizeof plain[i].position) ||
                    memcmp(plain[i].velocity, swept[i].velocity, sizeof plain[i].velocity))
                    differing++;
            }
        }
        printf("%d bodies over %.0f units, %d passes: %d pushed, %d differ\n", k.bodies, k.spread, k.passes, moved,
               differing);
        EXPECT_GT(moved, 0);
        EXPECT_EQ(differing, 0);
    }
}
