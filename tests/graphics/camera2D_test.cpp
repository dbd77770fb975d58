#include "glTest.h"

#include <cmath>

#include "graphics/camera2D.h"

TEST(Camera2DZoom, StaysWithinItsLimits) {
    Camera2D camera;
    EXPECT_EQ(camera.zoom, 0.5f);
    camera.zoomBy(-1);
    EXPECT_EQ(camera.zoom, 0.2f) << "zero before clamping";
    camera.zoom = 2;
    camera.zoomBy(1);
    EXPECT_EQ(camera.zoom, 3.0f) << "4 before clamping";
    camera.zoomBy(0);
    EXPECT_EQ(camera.zoom, 3.0f);
    camera.zoom = 0.2f;
    camera.zoomBy(0);
    EXPECT_EQ(camera.zoom, 0.2f) << "the float 0.2 lies above the double 0.2 and is kept";
    camera.zoom = 1;
    camera.zoomBy(0.5f);
    EXPECT_EQ(camera.zoom, 1.5f);
    camera.zoomBy(-5);
    EXPECT_EQ(camera.zoom, 0.2f) << "a negative zoom is clamped too";
}

TEST(Camera2DZoom, NonNumbersCannotBlankTheViewForGood) {
    Camera2D camera;
    camera.zoomBy(std::nanf(""));
    EXPECT_EQ(camera.zoom, 0.2f);
    camera.zoomBy(INFINITY);
    EXPECT_EQ(camera.zoom, 3.0f);
    camera.zoomBy(1.0f);
    EXPECT_EQ(camera.zoom, 3.0f);
}

using Camera2DDraw = GLTest;

// Draws a 3x3 white square centred on the world point through the camera.
static void drawWorldMarker(Camera2D& camera, float x, float y) {
    glDisable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    glPushMatrix();
    glLoadIdentity();
    camera.apply();
    float half = 1.5f / camera.zoom;
    glBegin(GL_QUADS);
    glVertex2f(x - half, y - half);
    glVertex2f(x + half, y - half);
    glVertex2f(x + half, y + half);
    glVertex2f(x - half, y + half);
    glEnd();
    glPopMatrix();
}

TEST_F(Camera2DDraw, WorldPointLandsZoomTimesItsOffsetFromTheCentre) {
    Camera2D camera;
    camera.setPosition(100, 50);
    drawWorldMarker(camera, 300, 250);
    // The window centre (0, 0) is pixel (319.5, 239.5); 100 right and 100 up is (419.5, 339.5).
    EXPECT_EQ(readPixel(419, 339).r, 255);
    EXPECT_EQ(readPixel(420, 340).r, 255);
    EXPECT_EQ(readPixel(417, 337).r, 0);
    EXPECT_EQ(readPixel(422, 342).r, 0);
    // The point the camera looks at is the centre.
    glClear(GL_COLOR_BUFFER_BIT);
    drawWorldMarker(camera, 100, 50);
    EXPECT_EQ(readPixel(319, 239).r, 255);
    EXPECT_EQ(readPixel(320, 240).r, 255);
}

TEST_F(Camera2DDraw, ApplyLeavesTheCallersMatrixStackAlone) {
    Camera2D camera;
    camera.setPosition(10, 20);
    GLint depthBefore = 0, depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    glPushMatrix();
    camera.apply();
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glPopMatrix();
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthBefore, depthAfter);
    EXPECT_FLOAT_EQ(m[0], 0.5f);
    EXPECT_FLOAT_EQ(m[12], -5.0f);
    EXPECT_FLOAT_EQ(m[13], -10.0f);
}
