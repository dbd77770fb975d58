#include "graphics/image.h"

#include <GL/gl.h>

#include <sys/stat.h>

#include <climits>
#include <cstring>
#include <new>

#include "core/errorBox.h"

static const int bmpHeaderBytes = 54;
static const int bmpColourTableBytes = 256 * 4;
static const uint32_t bmpRgb = 0;        // uncompressed
static const uint32_t bmpBitFields = 3;  // uncompressed with explicit channel masks

static int sideLimit = maxImageSidePixels;

void setImageSideLimit(int pixels) {
    sideLimit = pixels > 0 && pixels < maxImageSidePixels ? pixels : maxImageSidePixels;
}

int imageSideLimit() { return sideLimit; }

FILE* openDataFile(const char* path) {
    FILE* file = path ? fopen(path, "rb") : nullptr;
    struct stat info;
    if (file && fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
        fclose(file);
        file = nullptr;
    }
    return file;
}

// One byte of the file; the end of the file reads as 255, the stored value of EOF.
static uint8_t readByte(FILE* file) {
    int c = fgetc(file);
    return (uint8_t)(c == EOF ? 255 : c);
}

static uint16_t readWord(FILE* file) {
    uint16_t low = readByte(file);
    return (uint16_t)(low | readByte(file) << 8);
}

static uint32_t readDword(FILE* file) {
    uint32_t low = readWord(file);
    return low | (uint32_t)readWord(file) << 16;
}

BmpHeader::BmpHeader()
    : fileSize(0), reserved1(0), reserved2(0), dataOffset(0), infoSize(0), width(0), height(0), planes(0),
      bitsPerPixel(0), compression(0), imageSize(0), xPixelsPerMetre(0), yPixelsPerMetre(0), coloursUsed(0),
      importantColours(0) {
    signature[0] = signature[1] = 0;
}

bool BmpHeader::read(FILE* file) {
    if (!file) return false;
    signature[0] = readByte(file);
    signature[1] = readByte(file);
    fileSize = readDword(file);
    reserved1 = readWord(file);
    reserved2 = readWord(file);
    dataOffset = readDword(file);
    infoSize = readDword(file);
    width = (int32_t)readDword(file);
    height = (int32_t)readDword(file);
    planes = readWord(file);
    bitsPerPixel = readWord(file);
    compression = readDword(file);
    imageSize = readDword(file);
    xPixelsPerMetre = (int32_t)readDword(file);
    yPixelsPerMetre = (int32_t)readDword(file);
    coloursUsed = readDword(file);
    importantColours = readDword(file);
    // The colour table is never applied: 8-bit samples stay palette indices.
    if (bitsPerPixel == 8) fseek(file, bmpColourTableBytes, SEEK_CUR);
    return true;
}

int BmpHeader::rowPadding() const {
    // Unsigned so that a nonsense width cannot overflow; the result only matters mod 4.
    uint32_t rowBytes = (uint32_t)(bitsPerPixel / 8) * (uint32_t)width;
    int padding = 4 - (int)(rowBytes % 4);
    return padding == 4 ? 0 : padding;
}

Image::Image() : data(nullptr), channels(0), width(0), height(0), size(0), format(0) {}

Image::Image(const Image& other) : data(nullptr), channels(0), width(0), height(0), size(0), format(0) {
    copyFrom(other);
}

Image& Image::operator=(const Image& other) {
    if (this != &other) copyFrom(other);
    return *this;
}

Image::~Image() { release(); }

void Image::release() {
    delete[] data;
    data = nullptr;
}

void Image::copyFrom(const Image& other) {
    if (this == &other) return;
    release();
    if (!other.data) {
        // Copying an empty image gives an empty image with the same shape fields.
        width = other.width;
        height = other.height;
        channels = other.channels;
        size = 0;
        format = other.format;
        return;
    }
    allocate(other.width, other.height, other.channels);
    format = other.format;
    if (data) memcpy(data, other.data, (size_t)size);
}

Image& Image::allocate(int newWidth, int newHeight, int newChannels) {
    release();
    width = newWidth;
    height = newHeight;
    channels = newChannels;
    size = 0;
    updateFormat();
    if (newWidth <= 0 || newHeight <= 0 || newChannels <= 0) return *this;
    long long bytes = (long long)newWidth * newHeight * newChannels;
    if (bytes > INT_MAX) return *this;
    data = new (std::nothrow) unsigned char[(size_t)bytes];
    if (data) size = (int)bytes;
    return *this;
}

bool Image::updateFormat() {
    switch (channels) {
    case 1:
        format = GL_ALPHA;
        return true;
    case 3:
        format = GL_RGB;
        return true;
    case 4:
        format = GL_RGBA;
        return true;
    default:
        return false;
    }
}

// Moves other's samples and shape into this image, leaving other empty.
void Image::takeFrom(Image& other) {
    release();
    data = other.data;
    channels = other.channels;
    width = other.width;
    height = other.height;
    size = other.size;
    format = other.format;
    other.data = nullptr;
    other.size = 0;
}

// The reason a header cannot be read by this loader, or null when it can. Sides are checked
// against the limit before anything is allocated for them.
static const char* refusalOf(const BmpHeader& header, FILE* file, long fileLength, char* reason, size_t capacity) {
    int bits = header.bitsPerPixel;
    if (bits != 8 && bits != 24 && bits != 32) return "only 8, 24 and 32 bits per pixel are read";
    if (header.compression == bmpBitFields && bits == 32) {
        // Accepted only when the masks describe the same blue, green, red, alpha byte order as
        // an uncompressed file; the masks follow the 40-byte header in every header version.
        fseek(file, bmpHeaderBytes, SEEK_SET);
        uint32_t redMask = readDword(file), greenMask = readDword(file), blueMask = readDword(file);
        if (redMask != 0x00FF0000u || greenMask != 0x0000FF00u || blueMask != 0x000000FFu)
            return "channel masks other than 8-bit blue, green, red are not read";
    } else if (header.compression != bmpRgb) {
        return "compressed files are not read";
    }
    int limit = imageSideLimit();
    if (header.width <= 0 || header.width > limit) {
        snprintf(reason, capacity, "width %d out of range (1 to %d)", (int)header.width, limit);
        return reason;
    }
    // Compared as a negative so that the most negative height cannot overflow.
    if (header.height == 0 || header.height > limit || header.height < -limit) {
        snprintf(reason, capacity, "height %d out of range (1 to %d)", (int)header.height, limit);
        return reason;
    }
    if (header.dataOffset < (uint32_t)bmpHeaderBytes) return "pixel data offset inside the header";
    if ((long)header.dataOffset > fileLength) return "pixel data offset past the end of the file";
    // A bare header would otherwise make a picture of nothing but 255s, however large it claims to be.
    if ((long)header.dataOffset == fileLength) return "no pixel data in the file";
    return nullptr;
}

bool Image::LoadBMP(const char* fileName) {
    FILE* file = openDataFile(fileName);
    if (!file) {
        errorBox("Image::LoadBMP() Error \n%s not found\n", fileName ? fileName : "(null)");
        return false;
    }
    long fileLength = -1;
    if (fseek(file, 0, SEEK_END) == 0) fileLength = ftell(file);
    fseek(file, 0, SEEK_SET);

    BmpHeader header;
    header.read(file);
    if (header.signature[0] != 'B' || header.signature[1] != 'M') {
        errorBox("Image::loadBMPEmbedded error: \nFile is not BMP format: %s", fileName);
        fclose(file);
        return false;
    }
    char reason[96];
    const char* refusal =
        fileLength < 0 ? "file length unknown" : refusalOf(header, file, fileLength, reason, sizeof reason);
    if (refusal) {
        errorBox("Image::LoadBMP() Error \n%s cannot be loaded: %s\n", fileName, refusal);
        fclose(file);
        return false;
    }

    // Load into a scratch image so that a failure leaves this one as it was.
    bool topDown = header.height < 0;
    int rows = topDown ? -header.height : header.height;
    int pixelBytes = header.bitsPerPixel / 8;
    Image loaded;
    loaded.allocate(header.width, rows, pixelBytes);
    int rowBytes = header.width * pixelBytes;
    int fileRowBytes = rowBytes + header.rowPadding();
    unsigned char* row = new (std::nothrow) unsigned char[(size_t)fileRowBytes];
    if (!loaded.data || !row) {
        delete[] row;
        errorBox("Image::LoadBMP() Error \n%s cannot be loaded: not enough memory\n", fileName);
        fclose(file);
        return false;
    }

    fseek(file, (long)header.dataOffset, SEEK_SET);
    long long missing = 0;
    for (int y = 0; y < rows; y++) {
        // A file cut short reads 255 for every missing byte.
        size_t got = fread(row, 1, (size_t)fileRowBytes, file);
        if (got < (size_t)fileRowBytes) {
            memset(row + got, 255, (size_t)fileRowBytes - got);
            missing += fileRowBytes - (long long)got;
        }
        // Row 0 is the bottom row whichever way the file is stored.
        int destRow = topDown ? rows - 1 - y : y;
        unsigned char* dest = loaded.data + (size_t)destRow * (size_t)rowBytes;
        for (int x = 0; x < header.width; x++) {
            const unsigned char* src = row + x * pixelBytes;
            unsigned char* out = dest + x * pixelBytes;
            // BMP stores blue, green, red (, alpha); reversing gives red first.
            for (int c = 0; c < pixelBytes; c++) out[c] = src[pixelBytes - 1 - c];
        }
    }
    delete[] row;
    fclose(file);
    // Loaded all the same, but a picture with a band of white deserves a word.
    if (missing > 0)
        fprintf(stderr, "Image::LoadBMP(): %s is cut short: %lld of its %lld pixel bytes are missing and read as 255\n",
                fileName, missing, (long long)fileRowBytes * rows);
    takeFrom(loaded);
    return true;
}

bool Image::checkShape(const char* fileName, ImageShape expected) const {
    // A picture that did not load has been reported by the loader.
    if (!data) return false;
    int bits = channels * 8;
    if (width == expected.side && height == expected.side && bits == expected.bitsPerPixel) return true;
    fprintf(stderr, "%s is %d x %d pixels at %d bits per pixel; the game expects %d x %d at %d\n", fileName, width,
            height, bits, expected.side, expected.side, expected.bitsPerPixel);
    return false;
}

bool Image::expandChannels(int count) {
    if (channels != 1) {
        errorBox("Can't duplicate a multi-channel image");
        return false;
    }
    if (count != 3 && count != 4) {
        errorBox("Number of destination channels must be 3 or 4");
        return false;
    }
    if (!data) return false;
    Image wide;
    wide.allocate(width, height, count);
    if (!wide.data) return false;
    int pixels = width * height;
    for (int i = 0; i < pixels; i++) memset(wide.data + (size_t)i * count, data[i], (size_t)count);
    takeFrom(wide);
    return true;
}

bool Image::addAlphaChannel() {
    if (channels != 3 || !data) return false;
    Image withAlpha;
    withAlpha.allocate(width, height, 4);
    if (!withAlpha.data) return false;
    int pixels = width * height;
    for (int i = 0; i < pixels; i++) {
        memcpy(withAlpha.data + i * 4, data + i * 3, 3);
        withAlpha.data[i * 4 + 3] = 0;
    }
    copyFrom(withAlpha);
    return true;
}

bool Image::applyColourKey(uint8_t red, uint8_t green, uint8_t blue) {
    if (!addAlphaChannel()) return false;
    int pixels = width * height;
    for (int i = 0; i < pixels; i++) {
        unsigned char* p = data + i * 4;
        if (p[0] == red && p[1] == green && p[2] == blue)
            memset(p, 0, 4);
        else
            p[3] = 255;
    }
    return true;
}

