// The program-drawn cursor: nothing unless one was loaded, then a 32x32 picture on the pointer.
#include "glTest.h"
#include "globalsGuard.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "core/input.h"
#include "core/platform.h"
#include "graphics/texture.h"

// Writes a square 24-bit BMP of one grey level.
static bool writeGreyBmp(const std::string& path, int size, unsigned char grey) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    int rowBytes = (size * 3 + 3) & ~3;
    unsigned imageBytes = (unsigned)(rowBytes * size);
    auto put16 = [f](unsigned v) {
        fputc(v & 0xFF, f);
        fputc((v >> 8) & 0xFF, f);
    };
    auto put32 = [&](unsigned v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    fputc('B', f);
    fputc('M', f);
    put32(54 + imageBytes);
    put32(0);
    put32(54);
    put32(40);
    put32((unsigned)size);
    put32((unsigned)size);
    put16(1);
    put16(24);
    put32(0);
    put32(imageBytes);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    for (unsigned i = 0; i < imageBytes; i++) fputc(grey, f);
    return fclose(f) == 0;
}

class MouseCursorTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        platformScript.echoToStderr = false;
        setPlatform(&platformScript);
        mouse = Mouse();
        initTextures();
        glEnable(GL_TEXTURE_2D);
    }
    void TearDown() override {
        releaseTextures();
        GLTest::TearDown();
    }
    GlobalsGuard globals;
    ScriptedPlatform platformScript;
};

TEST_F(MouseCursorTest, NothingIsDrawnWithoutAnOwnCursor) {
    mouse.x = 100;
    mouse.y = 100;
    mouse.drawCursor();
    EXPECT_EQ(readPixel(100, 100).r, 0);
    EXPECT_EQ(platformScript.showCursorCalls, 0) << "the system pointer is left as it is";
}

TEST_F(MouseCursorTest, LoadedCursorIsA32PixelSquareOnThePointer) {
    std::string path = "/tmp/tdCursor" + std::to_string(getpid()) + ".bmp";
    ASSERT_TRUE(writeGreyBmp(path, 32, 255));
    EXPECT_TRUE(mouse.loadCursorImage(path.c_str()));
    unlink(path.c_str());
    EXPECT_EQ(mouse.ownCursor, 1);
    EXPECT_FALSE(platformScript.cursorShown) << "the own cursor replaces the system pointer";
    mouse.x = 200;
    mouse.y = 150;
    mouse.drawCursor();
    printf("centre %d, inside corner %d, outside %d\n", readPixel(200, 150).r, readPixel(185, 135).r,
           readPixel(217, 167).r);
    EXPECT_EQ(readPixel(200, 150).r, 255);
    EXPECT_EQ(readPixel(185, 135).r, 255);
    EXPECT_EQ(readPixel(214, 164).r, 255);
    EXPECT_EQ(readPixel(217, 167).r, 0);
    EXPECT_EQ(readPixel(182, 132).r, 0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    // Hidden, it draws nothing.
    glClear(GL_COLOR_BUFFER_BIT);
    mouse.hideCursor();
    mouse.drawCursor();
    EXPECT_EQ(readPixel(200, 150).r, 0);
}
