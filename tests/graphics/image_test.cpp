#include <gtest/gtest.h>
#include <GL/gl.h>

#include <cstring>

#include "bmpFixture.h"
#include "graphics/image.h"

namespace {

// An image with known content, to show that a refused load leaves it as it was.
Image sentinelImage() {
    Image image;
    image.allocate(2, 1, 3);
    for (int i = 0; i < image.size; i++) image.data[i] = (unsigned char)(100 + i);
    return image;
}

void expectSentinel(const Image& image) {
    ASSERT_NE(image.data, nullptr);
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 1);
    EXPECT_EQ(image.channels, 3);
    EXPECT_EQ(image.format, (unsigned)GL_RGB);
    for (int i = 0; i < 6; i++) EXPECT_EQ(image.data[i], 100 + i);
}

class ImageLoadTest : public ::testing::Test {
protected:
    TempFolder folder;
    CapturedBoxes boxes;

    std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::string path = folder.file(name);
        EXPECT_TRUE(writeBytes(path, bytes));
        return path;
    }
};

// Rows of width x 3 bytes whose every byte is distinct: row y, byte i holds 10 * y + i + 1.
std::vector<uint8_t> countingRows(int width, int rows, int bytesPerPixel) {
    std::vector<uint8_t> bytes;
    for (int y = 0; y < rows; y++)
        for (int i = 0; i < width * bytesPerPixel; i++) bytes.push_back((uint8_t)(40 * y + i + 1));
    return bytes;
}

}  // namespace

TEST_F(ImageLoadTest, TrueColourRowsSkipPaddingReverseBytesAndKeepFileOrder) {
    for (int width : {3, 4, 5}) {
        SCOPED_TRACE(width);
        std::vector<uint8_t> rows = countingRows(width, 2, 3);
        Image image;
        ASSERT_TRUE(image.LoadBMP(write("rgb.bmp", makeBmp(width, 2, 24, rows)).c_str()));
        EXPECT_EQ(image.width, width);
        EXPECT_EQ(image.height, 2);
        EXPECT_EQ(image.channels, 3);
        EXPECT_EQ(image.size, width * 2 * 3);
        EXPECT_EQ(image.format, (unsigned)GL_RGB);
        // Each pixel's blue, green, red becomes red, green, blue; the first file row is row 0.
        for (int y = 0; y < 2; y++)
            for (int x = 0; x < width; x++)
                for (int c = 0; c < 3; c++)
                    EXPECT_EQ(image.getPixel(x, y, c), rows[(size_t)(y * width + x) * 3 + 2 - c]);
    }
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(ImageLoadTest, PixelBytesTenTwentyThirtyBecomeThirtyTwentyTen) {
    Image image;
    ASSERT_TRUE(image.LoadBMP(write("one.bmp", makeBmp(1, 1, 24, {10, 20, 30})).c_str()));
    EXPECT_EQ(image.data[0], 30);
    EXPECT_EQ(image.data[1], 20);
    EXPECT_EQ(image.data[2], 10);
}

TEST_F(ImageLoadTest, EightBitFileGivesPaletteIndicesAsOneAlphaChannel) {
    // Width 5: five index bytes and three filler bytes a row. The colour table is not grey.
    std::vector<uint8_t> rows = {0, 1, 2, 200, 255, 9, 8, 7, 6, 5};
    Image image;
    ASSERT_TRUE(image.LoadBMP(write("grey.bmp", makeBmp(5, 2, 8, rows)).c_str()));
    EXPECT_EQ(image.channels, 1);
    EXPECT_EQ(image.format, (unsigned)GL_ALPHA);
    EXPECT_EQ(image.size, 10);
    EXPECT_EQ(0, memcmp(image.data, rows.data(), rows.size()));
}

TEST_F(ImageLoadTest, ThirtyTwoBitPixelsReverseAllFourBytes) {
    std::vector<uint8_t> rows = {1, 2, 3, 4, 5, 6, 7, 8};  // two pixels: blue, green, red, alpha
    std::vector<uint8_t> plain = makeBmp(2, 1, 32, rows);
    Image image;
    ASSERT_TRUE(image.LoadBMP(write("argb.bmp", plain).c_str()));
    EXPECT_EQ(image.channels, 4);
    EXPECT_EQ(image.format, (unsigned)GL_RGBA);
    const unsigned char expected[8] = {4, 3, 2, 1, 8, 7, 6, 5};
    EXPECT_EQ(0, memcmp(image.data, expected, 8));

    // Channel masks that spell the same byte order are accepted; any other order is refused.
    std::vector<uint8_t> masked = plain;
    putU32(masked, 30, 3);
    masked.insert(masked.begin() + 54, 12, 0);
    putU32(masked, 10, 66);
    putU32(masked, 54, 0x00FF0000);
    putU32(masked, 58, 0x0000FF00);
    putU32(masked, 62, 0x000000FF);
    Image withMasks;
    ASSERT_TRUE(withMasks.LoadBMP(write("masked.bmp", masked).c_str()));
    EXPECT_EQ(0, memcmp(withMasks.data, expected, 8));

    putU32(masked, 54, 0x000000FF);
    putU32(masked, 62, 0x00FF0000);
    Image swapped = sentinelImage();
    EXPECT_FALSE(swapped.LoadBMP(write("swapped.bmp", masked).c_str()));
    expectSentinel(swapped);
    EXPECT_NE(boxes.last().find("masks"), std::string::npos) << boxes.last();
}

TEST_F(ImageLoadTest, TopDownFileIsFlippedSoRowZeroStaysTheBottom) {
    std::vector<uint8_t> rows = {1, 2, 3, 4, 5, 6};  // first file row 1,2,3 is the top in a top-down file
    Image image;
    ASSERT_TRUE(image.LoadBMP(write("topdown.bmp", makeBmp(1, -2, 24, rows)).c_str()));
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.getPixel(0, 1, 0), 3);
    EXPECT_EQ(image.getPixel(0, 0, 0), 6);
    EXPECT_EQ(image.getPixel(0, 0, 2), 4);
}

TEST_F(ImageLoadTest, TruncatedFileReadsMissingBytesAs255) {
    std::vector<uint8_t> full = makeBmp(2, 2, 24, countingRows(2, 2, 3));
    // Keep the first row (6 bytes and 2 filler) and one byte of the second.
    std::vector<uint8_t> cut(full.begin(), full.begin() + 54 + 8 + 1);
    Image image;
    std::string cutPath = write("cut.bmp", cut);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(image.LoadBMP(cutPath.c_str()));
    std::string warning = testing::internal::GetCapturedStderr();
    // Loaded as before, but the short file is named on stderr (7 of its 16 pixel bytes are missing).
    EXPECT_NE(warning.find(cutPath + " is cut short: 7 of its 16"), std::string::npos) << warning;
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(image.getPixel(0, 0, 0), 3);
    // Second row: only its first byte (blue of pixel 0) is in the file.
    EXPECT_EQ(image.getPixel(0, 1, 2), full[62]);
    EXPECT_EQ(image.getPixel(0, 1, 1), 255);
    EXPECT_EQ(image.getPixel(0, 1, 0), 255);
    EXPECT_EQ(image.getPixel(1, 1, 0), 255);

    // A header whose pixels start exactly at the end of the file has no picture at all: refused,
    // however large it claims to be, rather than made into a block of 255s.
    std::vector<uint8_t> headerOnly(full.begin(), full.begin() + 54);
    putU32(headerOnly, 18, 16384);
    putU32(headerOnly, 22, 16384);
    std::string headerPath = write("empty.bmp", headerOnly);
    EXPECT_FALSE(image.LoadBMP(headerPath.c_str()));
    EXPECT_EQ(boxes.last(),
              "Image::LoadBMP() Error \n" + headerPath + " cannot be loaded: no pixel data in the file\n");
    EXPECT_EQ(image.width, 2);
}

// The GL's largest texture side bounds what the loader accepts, checked before allocating.
TEST_F(ImageLoadTest, SidesPastTheTextureLimitAreRefused) {
    std::vector<uint8_t> bytes = makeBmp(65, 1, 8, std::vector<uint8_t>(65, 7));
    std::string path = write("wide.bmp", bytes);
    setImageSideLimit(64);
    Image image;
    EXPECT_FALSE(image.LoadBMP(path.c_str()));
    EXPECT_EQ(boxes.last(),
              "Image::LoadBMP() Error \n" + path + " cannot be loaded: width 65 out of range (1 to 64)\n");
    putU32(bytes, 18, 1);
    putU32(bytes, 22, (uint32_t)-65);
    EXPECT_FALSE(image.LoadBMP(write("tall.bmp", bytes).c_str()));
    EXPECT_NE(boxes.last().find("height -65 out of range"), std::string::npos) << boxes.last();
    // No limit, or a nonsense one, puts the fixed limit back.
    setImageSideLimit(0);
    EXPECT_EQ(imageSideLimit(), maxImageSidePixels);
    EXPECT_TRUE(image.LoadBMP(path.c_str()));
}

TEST_F(ImageLoadTest, MissingFileAndWrongSignatureAreReportedAndLeaveTheImage) {
    Image image = sentinelImage();
    std::string missing = folder.file("nothere.bmp");
    EXPECT_FALSE(image.LoadBMP(missing.c_str()));
    EXPECT_EQ(boxes.last(), "Image::LoadBMP() Error \n" + missing + " not found\n");
    expectSentinel(image);

    std::vector<uint8_t> bytes = makeBmp(1, 1, 24, {1, 2, 3});
    bytes[1] = 'A';
    std::string ba = write("ba.bmp", bytes);
    EXPECT_FALSE(image.LoadBMP(ba.c_str()));
    EXPECT_EQ(boxes.last(), "Image::loadBMPEmbedded error: \nFile is not BMP format: " + ba);
    expectSentinel(image);

    // A folder in the picture's place cannot be opened, as on systems where fopen refuses one.
    EXPECT_FALSE(image.LoadBMP(folder.path.c_str()));
    EXPECT_EQ(boxes.last(), "Image::LoadBMP() Error \n" + folder.path + " not found\n");
    expectSentinel(image);
    EXPECT_EQ(boxes.count(), 3u);
}

TEST_F(ImageLoadTest, HeadersThisLoaderCannotReadSafelyAreRefused) {
    struct Case {
        const char* what;
        size_t offset;
        int fieldBytes;
        uint32_t value;
        const char* reason;
    };
    const Case cases[] = {
        {"zero width", 18, 4, 0, "width"},
        {"negative width", 18, 4, (uint32_t)-3, "width"},
        {"width past the side limit", 18, 4, 16385, "width"},
        {"huge width", 18, 4, 0x7FFFFFFF, "width"},
        {"zero height", 22, 4, 0, "height"},
        {"height past the side limit", 22, 4, 16385, "height"},
        {"top-down past the side limit", 22, 4, (uint32_t)-16385, "height"},
        {"most negative height", 22, 4, 0x80000000u, "height"},
        {"16 bits per pixel", 28, 2, 16, "bits per pixel"},
        {"1 bit per pixel", 28, 2, 1, "bits per pixel"},
        {"0 bits per pixel", 28, 2, 0, "bits per pixel"},
        {"run-length compression", 30, 4, 1, "compressed"},
        {"JPEG inside", 30, 4, 4, "compressed"},
        {"bit fields on 24 bits", 30, 4, 3, "compressed"},
        {"pixels past the end", 10, 4, 100000, "past the end"},
        {"offset of -1", 10, 4, 0xFFFFFFFFu, "past the end"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = makeBmp(2, 2, 24, countingRows(2, 2, 3));
        if (c.fieldBytes == 2)
            putU16(bytes, c.offset, (uint16_t)c.value);
        else
            putU32(bytes, c.offset, c.value);
        Image image = sentinelImage();
        size_t before = boxes.count();
        std::string path = write("bad.bmp", bytes);
        EXPECT_FALSE(image.LoadBMP(path.c_str()));
        expectSentinel(image);
        ASSERT_EQ(boxes.count(), before + 1);
        EXPECT_EQ(boxes.last().rfind("Image::LoadBMP() Error \n" + path + " cannot be loaded: ", 0), 0u)
            << boxes.last();
        EXPECT_NE(boxes.last().find(c.reason), std::string::npos) << boxes.last();
    }
}

TEST_F(ImageLoadTest, FileShorterThanItsHeaderIsRefused) {
    // Everything after "BM" reads as 255: a width of -1 and 65535 bits per pixel.
    Image image = sentinelImage();
    EXPECT_FALSE(image.LoadBMP(write("stub.bmp", {'B', 'M', 1, 2}).c_str()));
    expectSentinel(image);
    EXPECT_EQ(boxes.count(), 1u);
}

TEST_F(ImageLoadTest, LargestSideLimitStillLoads) {
    // 16384 x 1 at 8 bits: the limit itself is accepted (and read from a truncated file).
    std::vector<uint8_t> bytes = makeBmp(1, 1, 8, {7});
    putU32(bytes, 18, 16384);
    Image image;
    ASSERT_TRUE(image.LoadBMP(write("wide.bmp", bytes).c_str()));
    EXPECT_EQ(image.width, 16384);
    EXPECT_EQ(image.getPixel(0, 0, 0), 7);
    EXPECT_EQ(image.getPixel(16383, 0, 0), 255);
}

// Files written by ImageMagick, to check the loader against a writer that is not ours.
class ConvertedBmpTest : public ImageLoadTest {
protected:
    void SetUp() override {
        if (!haveConvert()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    }
};

TEST_F(ConvertedBmpTest, TrueColourOddWidthsLoadAsRgb) {
    for (int width : {3, 4, 5}) {
        SCOPED_TRACE(width);
        std::string path = folder.file("im" + std::to_string(width) + ".bmp");
        ASSERT_TRUE(
            runConvert("-size " + std::to_string(width) + "x2 xc:'rgb(30,20,10)' -type truecolor BMP3:" + path));
        Image image;
        ASSERT_TRUE(image.LoadBMP(path.c_str()));
        EXPECT_EQ(image.channels, 3);
        for (int y = 0; y < 2; y++)
            for (int x = 0; x < width; x++) {
                EXPECT_EQ(image.getPixel(x, y, 0), 30);
                EXPECT_EQ(image.getPixel(x, y, 1), 20);
                EXPECT_EQ(image.getPixel(x, y, 2), 10);
            }
    }
}

TEST_F(ConvertedBmpTest, BottomRowOfThePictureIsRowZero) {
    // Red above blue: ImageMagick writes bottom-up, so blue must come out as row 0.
    std::string path = folder.file("stack.bmp");
    ASSERT_TRUE(runConvert("-size 3x1 xc:red -size 3x1 xc:blue -append -type truecolor BMP3:" + path));
    Image image;
    ASSERT_TRUE(image.LoadBMP(path.c_str()));
    EXPECT_EQ(image.getPixel(1, 0, 2), 255);
    EXPECT_EQ(image.getPixel(1, 0, 0), 0);
    EXPECT_EQ(image.getPixel(1, 1, 0), 255);
}

TEST_F(ConvertedBmpTest, PaletteFileGivesIndicesThatLookUpItsOwnColours) {
    // Twenty colours force 8-bit indices; "-compress none" keeps ImageMagick from RLE8.
    std::string ppm = folder.file("colours.ppm");
    std::string text = "P3 5 4 255\n";
    for (int i = 0; i < 20; i++) text += std::to_string(i * 12) + " " + std::to_string(255 - i * 3) + " 17\n";
    ASSERT_TRUE(writeText(ppm, text));
    std::string path = folder.file("palette.bmp");
    ASSERT_TRUE(runConvert(ppm + " -type palette -compress none BMP3:" + path));
    FILE* f = fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::vector<uint8_t> file(65536);
    file.resize(fread(file.data(), 1, file.size(), f));
    fclose(f);
    ASSERT_GT(file.size(), 54u);
    ASSERT_EQ(file[28], 8) << "convert did not write 8 bits per pixel";
    ASSERT_EQ(file[30], 0) << "convert compressed the file";
    uint32_t tableOffset = 14 + (file[14] | file[15] << 8);

    Image image;
    ASSERT_TRUE(image.LoadBMP(path.c_str()));
    EXPECT_EQ(image.channels, 1);
    EXPECT_EQ(image.width, 5);
    // The sample is the index; the file's own table turns it back into the pixel's colour.
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 5; x++) {
            int i = (3 - y) * 5 + x;  // PPM rows run top-down
            size_t entry = tableOffset + 4u * image.getPixel(x, y, 0);
            ASSERT_LT(entry + 2, file.size());
            EXPECT_EQ(file[entry + 2], i * 12) << x << "," << y;
            EXPECT_EQ(file[entry + 1], 255 - i * 3) << x << "," << y;
        }
}

TEST_F(ConvertedBmpTest, AlphaFileWithChannelMasksLoadsAsFourChannels) {
    std::string path = folder.file("alpha.bmp");
    ASSERT_TRUE(runConvert("-size 4x4 xc:'rgba(200,100,50,1)' -type truecoloralpha BMP:" + path));
    Image image;
    ASSERT_TRUE(image.LoadBMP(path.c_str())) << boxes.last();
    EXPECT_EQ(image.channels, 4);
    // Blue, green, red, alpha reversed: alpha first.
    EXPECT_EQ(image.getPixel(2, 2, 0), 255);
    EXPECT_EQ(image.getPixel(2, 2, 1), 200);
    EXPECT_EQ(image.getPixel(2, 2, 2), 100);
    EXPECT_EQ(image.getPixel(2, 2, 3), 50);
}

TEST_F(ConvertedBmpTest, RunLengthAndOldHeaderFilesAreRefused) {
    std::string rle = folder.file("rle.bmp");
    ASSERT_TRUE(runConvert("-size 32x32 plasma: -type palette -colors 200 -compress RLE BMP3:" + rle));
    std::string os2 = folder.file("os2.bmp");
    ASSERT_TRUE(runConvert("-size 3x2 xc:red -type truecolor BMP2:" + os2));
    for (const std::string& path : {rle, os2}) {
        Image image = sentinelImage();
        EXPECT_FALSE(image.LoadBMP(path.c_str())) << path;
        expectSentinel(image);
    }
    EXPECT_EQ(boxes.count(), 2u);
}

TEST(ImageTest, GetPixelClampsToTheNearestEdgeAndRefusesWhatIsNotThere) {
    Image image;
    EXPECT_EQ(image.getPixel(0, 0, 0), 0);  // no data
    image.allocate(3, 2, 1);
    for (int i = 0; i < 6; i++) image.data[i] = (unsigned char)(i + 1);
    EXPECT_EQ(image.getPixel(-5, 0, 0), 1);
    EXPECT_EQ(image.getPixel(3, 0, 0), 3);
    EXPECT_EQ(image.getPixel(99, -1, 0), 3);
    EXPECT_EQ(image.getPixel(1, 2, 0), 5);
    EXPECT_EQ(image.getPixel(-1, 99, 0), 4);
    // A channel the image does not have reads 0 rather than a neighbour's byte.
    EXPECT_EQ(image.getPixel(2, 1, 1), 0);
    EXPECT_EQ(image.getPixel(0, 0, -1), 0);
}

TEST(ImageTest, ColourKeyClearsKeyPixelsAndMakesTheRestOpaque) {
    CapturedBoxes boxes;
    Image image;
    image.allocate(2, 1, 3);
    const unsigned char pixels[6] = {254, 42, 157, 254, 42, 156};
    memcpy(image.data, pixels, 6);
    ASSERT_TRUE(image.applyColourKey(254, 42, 157));
    EXPECT_EQ(image.channels, 4);
    EXPECT_EQ(image.size, 8);
    EXPECT_EQ(image.format, (unsigned)GL_RGBA);
    const unsigned char expected[8] = {0, 0, 0, 0, 254, 42, 156, 255};
    EXPECT_EQ(0, memcmp(image.data, expected, 8));

    // Already four channels, or one: refused without a message and unchanged.
    EXPECT_FALSE(image.applyColourKey(254, 42, 156));
    EXPECT_EQ(0, memcmp(image.data, expected, 8));
    Image grey;
    grey.allocate(1, 1, 1);
    grey.data[0] = 9;
    EXPECT_FALSE(grey.applyColourKey(9, 9, 9));
    EXPECT_EQ(grey.channels, 1);
    EXPECT_EQ(grey.data[0], 9);
    EXPECT_EQ(boxes.count(), 0u);
}

TEST(ImageTest, ExpandChannelsRepeatsTheGreyLevel) {
    CapturedBoxes boxes;
    Image image;
    image.allocate(2, 1, 1);
    image.data[0] = 0;
    image.data[1] = 200;
    ASSERT_TRUE(image.expandChannels(4));
    EXPECT_EQ(image.channels, 4);
    EXPECT_EQ(image.size, 8);
    EXPECT_EQ(image.format, (unsigned)GL_RGBA);
    const unsigned char expected[8] = {0, 0, 0, 0, 200, 200, 200, 200};
    EXPECT_EQ(0, memcmp(image.data, expected, 8));

    Image rgb;
    rgb.allocate(1, 1, 1);
    rgb.data[0] = 77;
    ASSERT_TRUE(rgb.expandChannels(3));
    EXPECT_EQ(rgb.format, (unsigned)GL_RGB);
    EXPECT_EQ(rgb.getPixel(0, 0, 2), 77);

    EXPECT_FALSE(image.expandChannels(4));
    EXPECT_EQ(boxes.last(), "Can't duplicate a multi-channel image");
    EXPECT_EQ(0, memcmp(image.data, expected, 8));

    Image grey;
    grey.allocate(1, 1, 1);
    grey.data[0] = 5;
    EXPECT_FALSE(grey.expandChannels(2));
    EXPECT_EQ(boxes.last(), "Number of destination channels must be 3 or 4");
    EXPECT_EQ(grey.channels, 1);
    EXPECT_EQ(grey.data[0], 5);
}

TEST(ImageTest, CopiesAreDeepAndFormatsFollowChannels) {
    Image a;
    a.allocate(2, 2, 3);
    memset(a.data, 9, (size_t)a.size);
    Image b(a);
    Image c;
    c = a;
    ASSERT_NE(b.data, a.data);
    ASSERT_NE(c.data, a.data);
    a.data[0] = 1;
    EXPECT_EQ(b.data[0], 9);
    EXPECT_EQ(c.data[3], 9);
    EXPECT_EQ(b.format, (unsigned)GL_RGB);
    Image& same = c;
    c = same;  // self-assignment keeps the samples
    EXPECT_EQ(c.data[0], 9);

    // Two channels have no GL format: updateFormat refuses and keeps the previous one.
    a.channels = 2;
    EXPECT_FALSE(a.updateFormat());
    EXPECT_EQ(a.format, (unsigned)GL_RGB);
}
