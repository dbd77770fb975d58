#pragma once
// In-memory bitmaps of 8-bit samples and the reader for uncompressed Windows BMP files.
// Row 0 is the bottom row of the picture, as OpenGL expects its first texture row.
#include <cstdint>
#include <cstdio>

// Largest picture side the loader accepts when no GL context has told it better; the game's
// pictures are 512 at most.
const int maxImageSidePixels = 16384;

// Sets the largest side LoadBMP accepts, normally the GL's largest texture side, so that a
// picture no texture could hold is refused before its samples are allocated. Values outside
// 1..maxImageSidePixels restore maxImageSidePixels.
void setImageSideLimit(int pixels);
int imageSideLimit();

// Opens a data file for reading as raw bytes; null, like a missing file, for a folder, which
// the C library would otherwise open and read as an empty file.
FILE* openDataFile(const char* path);

// The form one of the game's pictures is drawn in: a square side and a bit depth.
struct ImageShape {
    int side;
    int bitsPerPixel;
};

// The 14-byte file header and the 40-byte information header at the start of a BMP file,
// little-endian, in file order.
class BmpHeader {
public:
    BmpHeader();

    // Reads the 54 header bytes, then skips an 8-bit file's 256-entry colour table. Bytes past
    // the end of the file read as 255. False only when the file is null.
    bool read(FILE* file);
    // Filler bytes after each row of pixel data, so that every row is a multiple of 4 bytes.
    int rowPadding() const;

    uint8_t signature[2];
    uint32_t fileSize;
    uint16_t reserved1;
    uint16_t reserved2;
    uint32_t dataOffset;
    uint32_t infoSize;
    int32_t width;
    int32_t height;
    uint16_t planes;
    uint16_t bitsPerPixel;
    uint32_t compression;
    uint32_t imageSize;
    int32_t xPixelsPerMetre;
    int32_t yPixelsPerMetre;
    uint32_t coloursUsed;
    uint32_t importantColours;
};

class Image {
public:
    Image();
    // Images own their samples, so copies are deep.
    Image(const Image& other);
    Image& operator=(const Image& other);
    ~Image();

    // Makes this image a deep copy of other.
    virtual void copyFrom(const Image& other);

    // Replaces the samples with width x height x channels uninitialised bytes. data stays null
    // (and size 0) when the memory cannot be had.
    Image& allocate(int width, int height, int channels);
    // Sets format from channels; false (format unchanged) for a count without a GL format.
    bool updateFormat();

    // Replaces the image with the pixels of a BMP file; false, with a message box and the image
    // unchanged, when the file is missing or not a form this loader reads. A file cut short
    // still loads (the missing bytes read as 255), with a warning on stderr.
    bool LoadBMP(const char* fileName);
    // True when the image has the expected shape; otherwise says on stderr how fileName differs.
    bool checkShape(const char* fileName, ImageShape expected) const;

    // Widens a 1-channel image to count (3 or 4) channels, each a copy of the sample.
    bool expandChannels(int count);
    // Widens a 3-channel image to 4 channels with alpha 0.
    bool addAlphaChannel();
    // Adds alpha: 0 (and black) where the colour equals the key, 255 elsewhere.
    bool applyColourKey(uint8_t red, uint8_t green, uint8_t blue);

    // Sample channel of pixel (x, y), the coordinates clamped to the image; 0 when there is no
    // data or no such channel. Inline: the ground's drag reads one for every truck every sub-step.
    unsigned char getPixel(int x, int y, int channel) const {
        if (!data || width <= 0 || height <= 0 || channel < 0 || channel >= channels) return 0;
        if (x < 0) x = 0;
        if (x > width - 1) x = width - 1;
        if (y < 0) y = 0;
        if (y > height - 1) y = height - 1;
        return data[((size_t)y * width + x) * channels + channel];
    }

    unsigned char* getData() const { return data; }
    int getChannels() const { return channels; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    unsigned getFormat() const { return format; }

    unsigned char* data;
    int channels;
    int width;
    int height;
    int size;
    unsigned format;

private:
    void release();
    void takeFrom(Image& other);
};
