#pragma once
// Where the game's fixed 640x480 picture lands in a drawable of any size: the largest
// aspect-kept rectangle, centred, with black bars round it. Plain arithmetic, no SDL or GL.

// The picture every frame is drawn for, in pixels.
static const int pictureWidth = 640;
static const int pictureHeight = 480;

struct PictureFit {
    int x, y;           // bottom-left corner in drawable pixels, y upward (as glViewport takes it)
    int width, height;  // the scaled picture's size in drawable pixels
};

// The largest whole-number scale when at least 1x fits (every picture pixel becomes a square
// block, so the picture stays crisp); below 1x, the largest fractional fit.
PictureFit fitPicture(int drawableWidth, int drawableHeight);

// Maps a point in window coordinates (y downward) to picture pixels (y downward, 0..479 on the
// picture; outside it the values run past its edges). The window and drawable sizes differ on
// HiDPI displays.
void windowToPicture(const PictureFit& fit, int windowWidth, int windowHeight, int drawableWidth, int drawableHeight,
                     int windowX, int windowY, int& pictureX, int& pictureY);
