#include "app/pictureUpscale.h"

#include <GL/gl.h>

#include <cstring>

PictureUpscaler::PictureUpscaler() : fit(fitPicture(pictureWidth, pictureHeight)), on(false), texture(0) {}

bool PictureUpscaler::wanted(const PictureFit& fit, bool softwareRenderer) {
    // fitPicture gives whole scales whenever 1x fits; a fractional one below 1x is left alone.
    return softwareRenderer && fit.width >= 2 * pictureWidth && fit.width % pictureWidth == 0 &&
           fit.height % pictureHeight == 0 && fit.width / pictureWidth == fit.height / pictureHeight;
}

void PictureUpscaler::aim(const PictureFit& f, bool softwareRenderer) {
    fit = f;
    on = wanted(fit, softwareRenderer);
    if (on)
        glViewport(0, 0, pictureWidth, pictureHeight);
    else
        glViewport(fit.x, fit.y, fit.width, fit.height);
}

void PictureUpscaler::present() {
    if (!on) return;
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT | GL_VIEWPORT_BIT |
                 GL_SCISSOR_BIT | GL_TRANSFORM_BIT);
    if (!texture) {
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, upscaleTextureWidth, upscaleTextureHeight, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, nullptr);
        // Nearest at a whole scale: each picture pixel becomes an exact square block.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    }
    glBindTexture(GL_TEXTURE_2D, texture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, pictureWidth, pictureHeight);

    // The corner the picture was drawn in lies partly outside the fit, in the bars: black again.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, pictureWidth, pictureHeight);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);

    glViewport(fit.x, fit.y, fit.width, fit.height);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const float s = (float)pictureWidth / upscaleTextureWidth, t = (float)pictureHeight / upscaleTextureHeight;
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-1, -1);
    glTexCoord2f(s, 0);
    glVertex2f(1, -1);
    glTexCoord2f(s, t);
    glVertex2f(1, 1);
    glTexCoord2f(0, t);
    glVertex2f(-1, 1);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}

void PictureUpscaler::release() {
    if (texture) glDeleteTextures(1, &texture);
    texture = 0;
    on = false;
}

bool isSoftwareRenderer() {
    const char* renderer = (const char*)glGetString(GL_RENDERER);
    if (!renderer) return false;
    return strstr(renderer, "llvmpipe") || strstr(renderer, "softpipe") || strstr(renderer, "Software Rasterizer") ||
           strstr(renderer, "swrast");
}
