// The picture drawn once at 640x480 and shown at a whole scale: every shown pixel is the picture
// pixel under it, the bars stay black, and the GL state is left as the next frame needs it.
#include <GL/gl.h>

#include <cstdio>
#include <vector>

#include "glTest.h"

#include "app/glWindow.h"
#include "app/headlessContext.h"
#include "app/pictureUpscale.h"

namespace {

// A picture in which neighbouring pixels differ: colours blended across a fan of triangles,
// drawn in the game's projection with blending on, as its overlays leave it.
void drawPattern(float phase) {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < 12; i++) {
        float x = -320.0f + 53.0f * i + phase;
        glColor4f(1, 0.1f * i, 0, 1);
        glVertex2f(x, -240);
        glColor4f(0, 1, 0.08f * i, 1);
        glVertex2f(x + 90, 240);
        glColor4f(0.05f * i, 0, 1, 1);
        glVertex2f(x - 40, 100);
    }
    glEnd();
}

std::vector<uint8_t> readRect(int x, int y, int width, int height) {
    std::vector<uint8_t> pixels((size_t)width * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

struct ScaleCase {
    int width, height;
    bool software;
    bool upscaled;
};

class PictureUpscaleTest : public GLTest {};

}  // namespace

TEST_F(PictureUpscaleTest, EveryShownPixelIsThePicturePixelUnderIt) {
    const ScaleCase cases[] = {
        {640, 480, true, false},    {1000, 800, true, false}, {1280, 960, false, false},
        {1280, 960, true, true},    {1920, 1080, true, true}, {1920, 1440, true, true},
    };
    for (const ScaleCase& c : cases) {
        destroyHeadlessContext();
        ASSERT_TRUE(createHeadlessContext(c.width, c.height));
        GLWindow::setProjection(pictureWidth, pictureHeight);
        PictureFit fit = fitPicture(c.width, c.height);
        PictureUpscaler upscale;
        int wrong = 0, blackBarsLit = 0, stateLeaks = 0;
        // Two frames: the second shows whether the first left the state as it found it.
        for (int frame = 0; frame < 2; frame++) {
            upscale.aim(fit, c.software);
            GLint port[4];
            glGetIntegerv(GL_VIEWPORT, port);
            if (!upscale.active()) {
                EXPECT_EQ(port[0], fit.x);
                EXPECT_EQ(port[2], fit.width);
                EXPECT_EQ(port[3], fit.height);
                continue;
            }
            EXPECT_EQ(port[2], pictureWidth);
            EXPECT_EQ(port[3], pictureHeight);
            drawPattern(frame * 17.0f);
            std::vector<uint8_t> picture = readRect(0, 0, pictureWidth, pictureHeight);
            upscale.present();
            std::vector<uint8_t> shown = readRect(0, 0, c.width, c.height);
            int scale = fit.width / pictureWidth;
            for (int y = 0; y < c.height; y++) {
                for (int x = 0; x < c.width; x++) {
                    const uint8_t* s = &shown[((size_t)y * c.width + x) * 4];
                    bool inside = x >= fit.x && x < fit.x + fit.width && y >= fit.y && y < fit.y + fit.height;
                    if (!inside) {
                        blackBarsLit += (s[0] | s[1] | s[2]) != 0;
                        continue;
                    }
                    int px = (x - fit.x) / scale, py = (y - fit.y) / scale;
                    const uint8_t* p = &picture[((size_t)py * pictureWidth + px) * 4];
                    wrong += s[0] != p[0] || s[1] != p[1] || s[2] != p[2];
                }
            }
            GLint mode = 0;
            glGetIntegerv(GL_MATRIX_MODE, &mode);
            glGetIntegerv(GL_VIEWPORT, port);
            stateLeaks += mode != GL_MODELVIEW || !glIsEnabled(GL_BLEND) || glIsEnabled(GL_SCISSOR_TEST) ||
                          glIsEnabled(GL_TEXTURE_2D) || port[0] != 0 || port[2] != pictureWidth;
        }
        printf("%dx%d%s: %s, %d pixels off the picture, %d bar pixels lit, %d state leaks\n", c.width, c.height,
               c.software ? " software" : "", upscale.active() ? "upscaled" : "drawn at the fit", wrong,
               blackBarsLit, stateLeaks);
        EXPECT_EQ(upscale.active(), c.upscaled);
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(blackBarsLit, 0);
        EXPECT_EQ(stateLeaks, 0);
        upscale.release();
    }
}
