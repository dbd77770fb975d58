#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "core/platform.h"
#include "core/timing.h"
#include "globalsGuard.h"
#include "physics/physics.h"
#include "physics/wall.h"

// Writes a body's box i as the axis-aligned rectangle (x0, y0)-(x1, y1) offset by its position,
// as an owner does after the body moved.
static void placeBox(PhysicsObject& b, int i, float x0, float y0, float x1, float y1) {
    float px = b.getX(), py = b.getY();
    b.box(i).update(px + x0, py + y0, px + x0, py + y1, px + x1, py + y1, px + x1, py + y0);
}

TEST(Physics, TwoMovingBodiesOverlappingBy3EachMoveHalf) {
    Physics world;
    PhysicsObject a(1), b(1);
    placeBox(a, 0, 0, 0, 10, 10);
    placeBox(b, 0, 7, 0, 17, 10);
    world.addObject(&a, false);
    world.addObject(&b, false);
    world.endStep();
    printf("moved a %.3f, b %.3f; kicks %.3f, %.3f\n", a.getX(), b.getX(), a.velocity[0], b.velocity[0]);
    EXPECT_FLOAT_EQ(a.getX(), -1.5f);
    EXPECT_FLOAT_EQ(b.getX(), 1.5f);
    EXPECT_FLOAT_EQ(a.velocity[0], -75.0f);
    EXPECT_FLOAT_EQ(b.velocity[0], 75.0f);
    EXPECT_EQ(a.getY(), 0.0f);
    EXPECT_EQ(b.velocity[1], 0.0f);
}

TEST(Physics, ABodyTwoIntoAWallMovesTwoOutAndTheWallStays) {
    Physics world;
    Wall wall;
    wall.setup(0, 0, 100, 0, 20);
    PhysicsObject truck(1);
    placeBox(truck, 0, 40, 8, 60, 28);
    world.addObject(&truck, false);
    wall.registerWith(world);
    EXPECT_EQ(world.staticCount, 1);
    world.endStep();
    EXPECT_NEAR(truck.getX(), 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(truck.getY(), 2.0f);
    EXPECT_FLOAT_EQ(truck.velocity[1], 100.0f);
    EXPECT_EQ(wall.body->getX(), 0.0f);
    EXPECT_EQ(wall.body->getY(), 0.0f);
    EXPECT_EQ(wall.body->velocity[1], 0.0f);
    EXPECT_EQ(wall.body->box(0).maxY, 10.0f);

    // The static body may come first in a pair: the moving one still takes all of it.
    PhysicsObject other(1);
    placeBox(other, 0, 40, -28, 60, -8);
    world.collide(*wall.body, other);
    EXPECT_FLOAT_EQ(other.getY(), -2.0f);
    EXPECT_FLOAT_EQ(other.velocity[1], -100.0f);
    EXPECT_EQ(wall.body->getY(), 0.0f);
}

TEST(Physics, TouchingOrBarelyPenetratingBodiesAreNotMoved) {
    Physics world;
    PhysicsObject a(1), b(1), c(1);
    placeBox(a, 0, 0, 0, 10, 10);
    placeBox(b, 0, 10, 0, 20, 10);
    placeBox(c, 0, -10.005f, 0, 0.005f - 0.01f, 10);
    world.addObject(&a, false);
    world.addObject(&b, false);
    world.addObject(&c, false);
    world.endStep();
    EXPECT_EQ(a.getX(), 0.0f);
    EXPECT_EQ(b.getX(), 0.0f);
    EXPECT_EQ(c.getX(), 0.0f);
    EXPECT_EQ(a.velocity[0], 0.0f);
}

TEST(Physics, EmptyOrLonelyWorldsDoNothing) {
    Physics world;
    world.beginStep();
    world.endStep();
    Wall wall;
    wall.setup(0, 0, 100, 0, 20);
    wall.registerWith(world);
    world.endStep();
    EXPECT_EQ(wall.body->getX(), 0.0f);
    PhysicsObject lone(1);
    placeBox(lone, 0, 200, 200, 210, 210);
    world.addObject(&lone, false);
    world.endStep();
    EXPECT_EQ(lone.getX(), 0.0f);
}

TEST(Physics, ListsAreFixedAt256AndCanBeCleared) {
    static PhysicsObject bodies[257];
    Physics world;
    for (int i = 0; i < 256; i++) ASSERT_TRUE(world.addObject(&bodies[i], false));
    // The first refusal is reported, once, however many follow.
    ScriptedPlatform boxes;
    boxes.echoToStderr = false;
    setPlatform(&boxes);
    EXPECT_FALSE(world.addObject(&bodies[256], false));
    EXPECT_FALSE(world.addObject(&bodies[256], false));
    setPlatform(nullptr);
    ASSERT_EQ(boxes.boxTexts.size(), 1u);
    EXPECT_NE(boxes.boxTexts[0].find("at most 256 moving bodies"), std::string::npos) << boxes.boxTexts[0];
    EXPECT_EQ(world.movingCount, 256);
    EXPECT_EQ(world.movingObjects[255], &bodies[255]);
    EXPECT_TRUE(world.addObject(&bodies[256], true));
    EXPECT_FALSE(world.addObject(nullptr, true));
    EXPECT_EQ(world.staticCount, 1);
    world.removeAll();
    EXPECT_EQ(world.movingCount, 0);
    EXPECT_EQ(world.staticCount, 0);

    BoxPairList list;
    for (int i = 0; i < maxBoxPairs; i++) ASSERT_TRUE(list.add(i, i));
    EXPECT_FALSE(list.add(999, 999));
    EXPECT_EQ(list.count, maxBoxPairs);
    EXPECT_EQ(list.pairs[maxBoxPairs - 1][0], maxBoxPairs - 1);
}

// The deepest pair wins and only it is resolved: a two-box body touching a wall from the top with
// one box and the wall's end with the other needs two sub-steps to come free.
TEST(Physics, DeepOverlapsTakeSeveralSubStepsToClear) {
    Physics world;
    Wall wall;
    wall.setup(0, 0, 100, 0, 20);
    PhysicsObject truck(2);
    world.addObject(&truck, false);
    wall.registerWith(world);
    int steps = 0;
    for (int i = 0; i < 5; i++) {
        placeBox(truck, 0, -18, -5, 2, 5);
        placeBox(truck, 1, 40, 6, 60, 26);
        BoxPairList list;
        if (!truck.findOverlappingBoxes(*wall.body, list)) break;
        if (steps == 0) {
            EXPECT_EQ(list.count, 2);
            Contact c = world.findDeepestContact(truck, *wall.body, list);
            EXPECT_FLOAT_EQ(c.depth, 4.0f);
        }
        world.endStep();
        steps++;
    }
    printf("cleared after %d sub-steps at (%.3f, %.3f)\n", steps, truck.getX(), truck.getY());
    EXPECT_EQ(steps, 2);
    EXPECT_FLOAT_EQ(truck.getX(), -2.0f);
    EXPECT_FLOAT_EQ(truck.getY(), 4.0f);
}

// The responses to a body's pairs add up, while its boxes stay where the owner wrote them, so the
// middle body of a row is pushed both ways and ends where it was.
TEST(Physics, ResponsesAddUpWhileBoxesStayPut) {
    Physics world;
    PhysicsObject a(1), b(1), c(1);
    placeBox(a, 0, 0, 0, 10, 10);
    placeBox(b, 0, 8, 0, 18, 10);
    placeBox(c, 0, 16, 0, 26, 10);
    world.addObject(&a, false);
    world.addObject(&b, false);
    world.addObject(&c, false);
    world.endStep();
    EXPECT_FLOAT_EQ(a.getX(), -1.0f);
    EXPECT_FLOAT_EQ(b.getX(), 0.0f);
    EXPECT_FLOAT_EQ(c.getX(), 1.0f);
    EXPECT_FLOAT_EQ(b.velocity[0], 0.0f);
}

// A body whose state went non-finite (a bug, which a debug build's integrate stops at) must not
// poison the bodies around it through the collisions.
TEST(Physics, ANonFiniteBodyLeavesOthersAlone) {
    float nan = std::numeric_limits<float>::quiet_NaN();
    GlobalsGuard globals;
    frameTime = 0.01;
    Physics world;
    PhysicsObject lost(1), sound(1);
    lost.setPosition(nan, nan);
    lost.velocity[0] = nan;
    placeBox(lost, 0, 0, 0, 10, 10);
    placeBox(sound, 0, 0, 0, 10, 10);
    world.addObject(&lost, false);
    world.addObject(&sound, false);
    Wall wall;
    wall.setup(0, 5, 10, 5, 20);
    wall.registerWith(world);
    world.endStep();
    EXPECT_TRUE(std::isfinite(sound.getX()) && std::isfinite(sound.getY()));
    EXPECT_TRUE(std::isfinite(sound.velocity[0]) && std::isfinite(sound.velocity[1]));
    // The sound body still bounces off the wall it sits in.
    EXPECT_NE(sound.getX() * sound.getX() + sound.getY() * sound.getY(), 0.0f);
    EXPECT_TRUE(std::isfinite(wall.body->getX()));
}

// A pair list naming boxes the bodies do not have is ignored rather than read out of bounds.
TEST(Physics, ContactSearchSkipsBadBoxIndices) {
    Physics world;
    PhysicsObject a(1), b(1);
    placeBox(a, 0, 0, 0, 10, 10);
    placeBox(b, 0, 7, 0, 17, 10);
    BoxPairList list;
    list.add(5, 0);
    list.add(0, -1);
    Contact c = world.findDeepestContact(a, b, list);
    EXPECT_EQ(c.depth, 0.0f);
    world.resolve(a, b, list);
    EXPECT_EQ(a.getX(), 0.0f);
    list.add(0, 0);
    c = world.findDeepestContact(a, b, list);
    EXPECT_FLOAT_EQ(c.depth, 3.0f);
    EXPECT_EQ(c.side, 0);
    EXPECT_FLOAT_EQ(c.push[0], 3.0f);
}
