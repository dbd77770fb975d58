// The window's centred projection, in a file of its own so that the headless contexts of the
// tools and tests can set it without bringing in the window.
#include <GL/gl.h>

#include "app/glWindow.h"

void GLWindow::setProjection(int width, int height) {
    // The span is one unit short of the pixel count, so the corner points (±319.5, ±239.5) are
    // the surface's corners and the origin is its centre; a unit is 640/639 of a pixel.
    double w = (width - 1) / 2.0;
    double h = (height - 1) / 2.0;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-w, w, -h, h, 0, 2);
    glMatrixMode(GL_MODELVIEW);
}
