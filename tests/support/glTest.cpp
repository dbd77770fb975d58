#include "glTest.h"

#include "app/headlessContext.h"

Rgb readPixel(int x, int y) {
    uint8_t p[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Rgb{p[0], p[1], p[2]};
}

void GLTest::SetUp() {
    ASSERT_TRUE(createHeadlessContext(640, 480)) << "no offscreen GL context (SDL_VIDEODRIVER=offscreen?)";
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

void GLTest::TearDown() { destroyHeadlessContext(); }
