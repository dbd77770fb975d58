#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cstdio>
#include <random>
#include <string>

#include "glTest.h"
#include "math/matrix4.h"

// Transforms (px, py) the way the truck does: translate a copy and read the translation.
static void transformPoint(const Matrix4& m, float px, float py, float& x, float& y) {
    Matrix4 c(m);
    c.translate(px, py, 0.0f);
    x = c.element(12);
    y = c.element(13);
}

TEST(Matrix4, DefaultIsAllZerosAndIdentityHasTheDiagonal) {
    Matrix4 m;
    for (int i = 0; i < 16; i++) EXPECT_EQ(m.element(i), 0.0f) << i;
    m.setIdentity();
    for (int i = 0; i < 16; i++) EXPECT_EQ(m.element(i), (i == 0 || i == 5 || i == 10 || i == 15) ? 1.0f : 0.0f) << i;
}

TEST(Matrix4, RotationComesBeforeTranslationInAChain) {
    Matrix4 m;
    m.setIdentity();
    m.translate(10, 20, 0);
    m.rotate(90, 0, 0, 1);
    float x, y;
    transformPoint(m, 0, 1, x, y);
    EXPECT_NEAR(x, 9.0f, 1e-5f);
    EXPECT_NEAR(y, 20.0f, 1e-5f);

    Matrix4 r;
    r.setIdentity();
    r.rotate(-90, 0, 0, 1);
    transformPoint(r, 0, 1, x, y);
    EXPECT_NEAR(x, 1.0f, 1e-6f);
    EXPECT_NEAR(y, 0.0f, 1e-6f);
}

TEST(Matrix4, MultiplyByIdentityAndBySelf) {
    Matrix4 m;
    for (int i = 0; i < 16; i++) m.element(i) = (float)(i + 1);
    Matrix4 before(m), id;
    id.setIdentity();
    m.multiply(id);
    for (int i = 0; i < 16; i++) EXPECT_EQ(m.element(i), before.element(i)) << i;

    // Squaring in place must use the old values throughout.
    m.multiply(m);
    for (int c = 0; c < 4; c++) {
        for (int r = 0; r < 4; r++) {
            float want = 0;
            for (int k = 0; k < 4; k++) want += before.element(k * 4 + r) * before.element(c * 4 + k);
            EXPECT_EQ(m.element(c * 4 + r), want) << c << "," << r;
        }
    }
}

TEST(Matrix4, TransposeAddSubtractAndElementGuard) {
    Matrix4 m, n;
    for (int i = 0; i < 16; i++) m.element(i) = (float)i;
    n.set(m);
    m.transpose();
    EXPECT_EQ(m.element(1), 4.0f);
    EXPECT_EQ(m.element(4), 1.0f);
    EXPECT_EQ(m.element(14), 11.0f);
    m.transpose();
    m.add(n);
    EXPECT_EQ(m.element(7), 14.0f);
    m.subtract(n);
    m.subtract(n);
    EXPECT_EQ(m.element(7), 0.0f);
    // Writing through a bad index leaves the matrix alone.
    m.element(16) = 99.0f;
    m.element(-1) = 99.0f;
    for (int i = 0; i < 16; i++) EXPECT_EQ(m.element(i), 0.0f) << i;
}

static std::string printed;
static void collect(const char* text) { printed += text; }

TEST(Matrix4, PrintWritesOneColumnPerLine) {
    Matrix4 m;
    m.setIdentity();
    m.element(12) = 2.5f;
    printed.clear();
    m.print(collect);
    EXPECT_EQ(printed,
              "1.000000 0.000000 0.000000 0.000000 \n"
              "0.000000 1.000000 0.000000 0.000000 \n"
              "0.000000 0.000000 1.000000 0.000000 \n"
              "2.500000 0.000000 0.000000 1.000000 \n");
    m.print(nullptr);
}

using Matrix4GL = GLTest;

// A random chain of translations and rotations composes exactly as OpenGL's modelview stack.
TEST_F(Matrix4GL, RandomChainMatchesTheModelviewStack) {
    std::mt19937 rng(1234);
    std::uniform_real_distribution<float> pos(-500.0f, 500.0f), ang(-720.0f, 720.0f);
    float worst = 0.0f;
    for (int trial = 0; trial < 50; trial++) {
        Matrix4 m;
        m.setIdentity();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        for (int step = 0; step < 6; step++) {
            if (rng() % 2) {
                float x = pos(rng), y = pos(rng);
                m.translate(x, y, 0);
                glTranslatef(x, y, 0);
            } else {
                float a = ang(rng);
                m.rotate(a, 0, 0, 1);
                glRotatef(a, 0, 0, 1);
            }
        }
        float gl[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, gl);
        glPopMatrix();
        for (int i = 0; i < 16; i++) {
            float d = fabsf(gl[i] - m.element(i));
            if (d > worst) worst = d;
            // Translations reach a few thousand units; GL and we round sin/cos differently.
            ASSERT_NEAR(m.element(i), gl[i], 5e-3f) << "trial " << trial << " element " << i;
        }
    }
    printf("largest element difference from GL: %g\n", worst);
}
