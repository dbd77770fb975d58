#include <gtest/gtest.h>

#include <GL/gl.h>

#include "glTest.h"
#include "physics/physics.h"
#include "physics/wall.h"

TEST(Wall, SetupLaysClockwiseCornersAndWorldTextureCoordinates) {
    Wall w;
    EXPECT_TRUE(w.body->isStaticObject());
    EXPECT_EQ(w.body->boxCount, 1);
    w.setup(0, 0, 100, 0, 20);
    const float corners[4][2] = {{0, -10}, {0, 10}, {100, 10}, {100, -10}};
    const float tex[4][2] = {{0, -0.0390625f}, {0, 0.0390625f}, {0.390625f, 0.0390625f}, {0.390625f, -0.0390625f}};
    for (int i = 0; i < 4; i++) {
        EXPECT_FLOAT_EQ(w.corners[i][0], corners[i][0]) << i;
        EXPECT_FLOAT_EQ(w.corners[i][1], corners[i][1]) << i;
        EXPECT_FLOAT_EQ(w.texCoords[i][0], tex[i][0]) << i;
        EXPECT_FLOAT_EQ(w.texCoords[i][1], tex[i][1]) << i;
        EXPECT_EQ(w.body->box(0).corners[i][0], w.corners[i][0]) << i;
        EXPECT_EQ(w.body->box(0).corners[i][1], w.corners[i][1]) << i;
    }
}

// Walls in every direction (and with a negative width) must give boxes that stop a body.
TEST(Wall, EveryDirectionAndSignOfWidthStopsABody) {
    const float ends[4][4] = {{0, 0, 100, 0}, {100, 0, 0, 0}, {0, 0, 0, 100}, {0, 100, 0, 0}};
    for (int k = 0; k < 8; k++) {
        Wall w;
        const float* e = ends[k % 4];
        w.setup(e[0], e[1], e[2], e[3], k < 4 ? 20.0f : -20.0f);
        PhysBox probe;
        probe.update(-3, -3, -3, 3, 3, 3, 3, -3);
        EXPECT_TRUE(probe.overlaps(w.body->box(0))) << "wall " << k;
        EXPECT_TRUE(w.body->box(0).overlaps(probe)) << "wall " << k;
    }
}

TEST(Wall, ZeroLengthWallStopsNothing) {
    Wall w;
    w.setup(50, 50, 50, 50, 20);
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(w.corners[i][0], 50.0f);
        EXPECT_EQ(w.corners[i][1], 50.0f);
    }
    Physics world;
    PhysicsObject body(1);
    body.box(0).update(40, 40, 40, 60, 60, 60, 60, 40);
    world.addObject(&body, false);
    w.registerWith(world);
    world.endStep();
    EXPECT_EQ(body.getX(), 0.0f);
    EXPECT_EQ(body.getY(), 0.0f);
}

// The track keeps its walls by value; copies and assignments must each own one body.
TEST(Wall, CopiesOwnTheirBodies) {
    Wall* original = new Wall;
    original->setup(0, 0, 100, 0, 20);
    Wall copy(*original);
    Wall assigned[2];
    assigned[1] = *original;
    assigned[0] = assigned[0];
    EXPECT_NE(copy.body, original->body);
    EXPECT_NE(assigned[1].body, original->body);
    delete original;
    EXPECT_TRUE(copy.body->isStaticObject());
    EXPECT_EQ(copy.body->box(0).maxX, 100.0f);
    EXPECT_EQ(assigned[1].corners[2][1], 10.0f);
    EXPECT_EQ(assigned[1].body->box(0).maxY, 10.0f);

    Physics world;
    EXPECT_TRUE(copy.registerWith(world));
    EXPECT_FALSE(copy.registerWith(nullptr));
    EXPECT_EQ(world.staticCount, 1);
    EXPECT_EQ(world.staticObjects[0], copy.body);
}

using WallGL = GLTest;

// The quad lands where the corners say, with the last corner's (100, -10) texture coordinate current.
TEST_F(WallGL, EmitVerticesDrawsTheCorners) {
    Wall w;
    w.setup(-100, 0, 100, 0, 20);
    glDisable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    w.emitVertices();
    glEnd();
    EXPECT_EQ(readPixel(320, 240).r, 255);
    EXPECT_EQ(readPixel(230, 245).r, 255);
    EXPECT_EQ(readPixel(320, 255).r, 0);
    EXPECT_EQ(readPixel(425, 240).r, 0);
    float tc[4];
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, tc);
    EXPECT_FLOAT_EQ(tc[0], 100.0f / 256.0f);
    EXPECT_FLOAT_EQ(tc[1], -10.0f / 256.0f);
}
