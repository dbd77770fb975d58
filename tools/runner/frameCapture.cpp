#include "tools/runner/frameCapture.h"

#include <GL/gl.h>

#include <cstdio>
#include <vector>

// Larger than any window the game opens; keeps the buffer size far from overflow.
static const int maxCaptureSide = 4096;

bool captureFrame(const char* path, int width, int height) {
    if (!path || width <= 0 || height <= 0 || width > maxCaptureSide || height > maxCaptureSide) return false;
    std::vector<unsigned char> pixels((size_t)width * (size_t)height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    FILE* file = fopen(path, "wb");
    if (!file) return false;
    bool ok = fprintf(file, "P6\n%d %d\n255\n", width, height) > 0;
    // GL's first row is the bottom one; PPM's is the top.
    for (int row = height - 1; ok && row >= 0; row--)
        ok = fwrite(pixels.data() + (size_t)row * width * 3, 1, (size_t)width * 3, file) == (size_t)width * 3;
    if (fclose(file) != 0) ok = false;
    return ok;
}
