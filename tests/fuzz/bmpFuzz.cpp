// libFuzzer target for the BMP loader, the game's one door for files from outside. Each input
// becomes the contents of an in-memory file that Image::LoadBMP opens by name; loaded images are
// then put through the operations the game applies to them.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/platform.h"
#include "graphics/image.h"

namespace {

// Message boxes are answered and forgotten, so that refusals cost nothing and memory stays flat.
class QuietPlatform : public Platform {
public:
    int64_t queryPerformanceCounter() override { return 0; }
    int64_t queryPerformanceFrequency() override { return 1; }
    void getCursorPos(int& x, int& y) override { x = y = 0; }
    void showCursor(bool) override {}
    int messageBox(const char*, const char*, unsigned) override { return IDOK; }
};

QuietPlatform quiet;
int memoryFile = -1;
char memoryFileName[64];

// Pixel bytes a header asks for; inputs that want more than this are skipped because filling
// them is slow, not because they are unsafe (the unit tests cover the size limits).
const long long maxClaimedBytes = 1 << 22;

uint32_t littleEndian(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; i--) v = v << 8 | p[i];
    return v;
}

bool claimsTooMuch(const uint8_t* data, size_t size) {
    if (size < 30) return false;  // the rest of the header reads as 255s and is refused
    long long width = (int32_t)littleEndian(data + 18, 4);
    long long height = (int32_t)littleEndian(data + 22, 4);
    long long bits = littleEndian(data + 28, 2);
    if (height < 0) height = -height;
    // Sides past the loader's limit are refused before any pixel is read.
    if (width <= 0 || width > maxImageSidePixels || height > maxImageSidePixels) return false;
    return width * height * (bits / 8 + 1) > maxClaimedBytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setPlatform(&quiet);
    memoryFile = memfd_create("bmp-fuzz", 0);
    if (memoryFile < 0) {
        perror("memfd_create");
        abort();
    }
    snprintf(memoryFileName, sizeof memoryFileName, "/proc/self/fd/%d", memoryFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (claimsTooMuch(data, size)) return 0;
    if (ftruncate(memoryFile, 0) != 0) abort();
    if (size && pwrite(memoryFile, data, size, 0) != (ssize_t)size) abort();

    Image image;
    if (!image.LoadBMP(memoryFileName)) {
        if (image.data || image.size) abort();  // a refused load must leave the image empty
        return 0;
    }
    if (image.size != image.width * image.height * image.channels) abort();
    // Touch every corner and beyond: reads are clamped inside the image.
    volatile unsigned sum = 0;
    for (int c = -1; c <= image.channels; c++)
        sum += image.getPixel(-1, -1, c) + image.getPixel(image.width, image.height, c) +
               image.getPixel(image.width - 1, 0, c);
    Image copy(image);
    if (copy.channels == 1) copy.expandChannels(4);
    if (copy.channels == 3) copy.applyColourKey(copy.data[0], copy.data[1], copy.data[2]);
    return 0;
}
