#include "glTest.h"

using GLContextTest = GLTest;

// The corner of the centred projection is the top-right pixel of the 640x480 surface.
TEST_F(GLContextTest, TopRightCornerPointLandsOnTopRightPixel) {
    glDisable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    // A one-unit square whose top-right corner is (319.5, 239.5).
    glBegin(GL_QUADS);
    glVertex2f(318.5f, 238.5f);
    glVertex2f(319.5f, 238.5f);
    glVertex2f(319.5f, 239.5f);
    glVertex2f(318.5f, 239.5f);
    glEnd();
    Rgb p = readPixel(639, 479);
    EXPECT_EQ(p.r, 255);
    EXPECT_EQ(readPixel(638, 478).r, 0);
}
