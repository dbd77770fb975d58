#include "app/pictureFit.h"

#include <cmath>

PictureFit fitPicture(int drawableWidth, int drawableHeight) {
    if (drawableWidth < 1) drawableWidth = 1;
    if (drawableHeight < 1) drawableHeight = 1;
    int whole = drawableWidth / pictureWidth < drawableHeight / pictureHeight ? drawableWidth / pictureWidth
                                                                              : drawableHeight / pictureHeight;
    PictureFit fit;
    if (whole >= 1) {
        fit.width = pictureWidth * whole;
        fit.height = pictureHeight * whole;
    } else if (drawableWidth * pictureHeight < drawableHeight * pictureWidth) {
        // Narrower than 4:3: the width decides.
        fit.width = drawableWidth;
        fit.height = drawableWidth * pictureHeight / pictureWidth;
    } else {
        fit.height = drawableHeight;
        fit.width = drawableHeight * pictureWidth / pictureHeight;
    }
    if (fit.width < 1) fit.width = 1;
    if (fit.height < 1) fit.height = 1;
    fit.x = (drawableWidth - fit.width) / 2;
    fit.y = (drawableHeight - fit.height) / 2;
    return fit;
}

void windowToPicture(const PictureFit& fit, int windowWidth, int windowHeight, int drawableWidth, int drawableHeight,
                     int windowX, int windowY, int& pictureX, int& pictureY) {
    // Window points to drawable pixels (HiDPI), then the picture's top-left becomes the origin.
    double sx = windowWidth > 0 ? (double)drawableWidth / windowWidth : 1.0;
    double sy = windowHeight > 0 ? (double)drawableHeight / windowHeight : 1.0;
    double top = drawableHeight - (fit.y + fit.height);
    double dx = windowX * sx - fit.x;
    double dy = windowY * sy - top;
    // Floor, so a point left of or above the picture never rounds onto its first column or row.
    pictureX = (int)std::floor(dx * pictureWidth / fit.width);
    pictureY = (int)std::floor(dy * pictureHeight / fit.height);
}
