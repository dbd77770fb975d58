#pragma once
// Showing the picture at a whole-number scale on a software renderer: the frame is drawn once at
// 640x480 in the drawable's corner and then shown scaled as one texture. Drawn at the window's
// resolution instead, every textured pixel of the world is shaded again for each pixel of the
// scale (four times at 2x, nine at 3x), which is where a software renderer spends its frame.
#include "app/pictureFit.h"

// The texture holding the picture: the powers of two above 640x480, as GL 1.1 needs; RGBA as
// the back buffer is, so the copy into it converts nothing.
const int upscaleTextureWidth = 1024;
const int upscaleTextureHeight = 512;

class PictureUpscaler {
public:
    PictureUpscaler();

    // Whether a picture fitted as fit is drawn once and scaled: a whole scale above 1 on a
    // software renderer. A GPU draws at the window's resolution for the sharper picture.
    static bool wanted(const PictureFit& fit, bool softwareRenderer);
    // Decides for this fit and points the viewport where the frame is to be drawn: the corner
    // when upscaling, the fit itself otherwise.
    void aim(const PictureFit& fit, bool softwareRenderer);
    // After the frame is drawn, before the swap: copies the corner into the texture and draws it
    // over the fit, leaving the GL state and the viewport as the next frame expects them.
    // Nothing when not upscaling.
    void present();
    // Gives back the texture; the context must still be current.
    void release();
    bool active() const { return on; }

private:
    PictureFit fit;
    bool on;
    unsigned texture;  // 0 until the first upscaled frame
};

// True when GL_RENDERER names one of Mesa's software rasterisers.
bool isSoftwareRenderer();
