#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <string>

#include "bmpFixture.h"
#include "glTest.h"
#include "graphics/font.h"
#include "graphics/rect.h"
#include "graphics/text.h"
#include "graphics/texture.h"

namespace {

// Pixel under a point given in screen units (origin bottom-left), for the centred projection
// whose 639 units span 640 pixels.
Rgb screenPixel(float x, float y) {
    const float pixelsPerUnit = 640.0f / 639.0f;
    return readPixel((int)std::floor((x - 0.5f) * pixelsPerUnit), (int)std::floor((y - 0.5f) * (480.0f / 479.0f)));
}

bool isLit(float x, float y) { return screenPixel(x, y).r > 200; }

// textFont with a plain white atlas, so that every glyph quad shows as a solid block whose
// width is the glyph's width from the file.
class TextTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        initTextures();
        glEnable(GL_TEXTURE_2D);
        std::vector<uint8_t> atlas(512 * 512, 255);
        ASSERT_TRUE(writeBytes(folder.file("atlas.bmp"), makeBmp(512, 512, 8, atlas)));
        std::vector<uint8_t> widths(256, 16);
        widths['x' - 32] = 0;
        widths['a' - 32] = 10;
        widths['b' - 32] = 1;
        widths['Z' - 32] = 8;
        ASSERT_TRUE(writeBytes(folder.file("widths.dat"), widths));
        ASSERT_TRUE(textFont.load(folder.file("atlas.bmp").c_str(), folder.file("widths.dat").c_str()));
        textFont.setColour(1, 1, 1);
        textFont.setGlyphBank(false);
        consoleClear();
    }
    void TearDown() override {
        consoleClear();
        textFont.setColour(1, 1, 1);
        releaseTextures();
        GLTest::TearDown();
    }
    TempFolder folder;
    CapturedBoxes boxes;
};

GLint integerState(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

}  // namespace

TEST_F(TextTest, PrintTextDrawsInTheFontColourAndStepsLinesDown32) {
    textFont.setColour(1, 0, 0);
    printText(10, 415, "A\nB\n");
    // 'A' fills x 10..26, y 415..447; 'B' the same columns one line lower.
    Rgb a = screenPixel(18, 431), b = screenPixel(18, 399);
    printf("A at (18,431): %d %d %d; B at (18,399): %d %d %d\n", a.r, a.g, a.b, b.r, b.g, b.b);
    EXPECT_EQ(a.r, 255);
    EXPECT_EQ(a.g, 0);
    EXPECT_EQ(b.r, 255);
    EXPECT_TRUE(isLit(11, 416));
    EXPECT_TRUE(isLit(25, 446));
    EXPECT_FALSE(isLit(28, 431));
    EXPECT_FALSE(isLit(8, 431));
    EXPECT_FALSE(isLit(18, 449));
    EXPECT_FALSE(isLit(18, 381));
}

// textWidth measures what printText draws: the widest line, glyph widths added as the pen steps.
TEST_F(TextTest, TextWidthIsTheWidestLineAsPrintTextStepsThePen) {
    struct Case {
        const char* text;
        int width;
    } cases[] = {{"", 0}, {"xx", 0}, {"ab", 11}, {"A", 16}, {"a\nZZZ", 24}, {"ZZZ\na\n", 24}, {"\n\n", 0}};
    for (const Case& c : cases) EXPECT_EQ(textWidth(c.text), c.width) << c.text;
    // And it is where printText's next glyph starts: 'A' after "ab" fills x 21..37.
    printText(10, 415, "abA");
    EXPECT_TRUE(isLit(10 + textWidth("ab") + 1, 431));
    EXPECT_FALSE(isLit(10 + textWidth("abA") + 1, 431));
}

TEST_F(TextTest, PrintTextOfNothingDrawsNothingAndRestoresState) {
    GLint attribDepth = integerState(GL_ATTRIB_STACK_DEPTH);
    GLint matrixDepth = integerState(GL_MODELVIEW_STACK_DEPTH);
    GLint binding = integerState(GL_TEXTURE_BINDING_2D);
    printText(100, 100, "%s", "");
    EXPECT_EQ(integerState(GL_ATTRIB_STACK_DEPTH), attribDepth);
    EXPECT_EQ(integerState(GL_MODELVIEW_STACK_DEPTH), matrixDepth);
    EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D), binding);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    EXPECT_FALSE(isLit(110, 110));
}

TEST_F(TextTest, PrintTextCutsTextAtItsBuffer) {
    // 997 invisible glyphs, then A and B fill the buffer's last places; C is cut.
    std::string text(997, 'x');
    text += "ABC";
    printText(10, 100, "%s", text.c_str());
    EXPECT_TRUE(isLit(18, 116));
    EXPECT_TRUE(isLit(34, 116));
    EXPECT_FALSE(isLit(50, 116));
    // Far longer than the buffer: cut the same way, no write past it.
    std::string huge(100000, 'x');
    printText(0, 0, "%s%s", huge.c_str(), "A");
    EXPECT_FALSE(isLit(8, 16));
}

TEST(ConsoleTest, AcceptsAppendsBelow9500AndNeverWritesPastItsBuffer) {
    consoleClear();
    std::string filler(consoleLimitChars - 1, 'q');
    consoleAppend(filler.c_str());
    ASSERT_EQ(consoleLength(), 9499);
    consolePrintf("%s", "0123456789");
    EXPECT_EQ(consoleLength(), 9509);
    EXPECT_EQ(0, memcmp(consoleText() + 9499, "0123456789", 10));
    consoleAppend("more");
    consolePrintf("%d", 5);
    consoleAppendUpper('A');
    EXPECT_EQ(consoleLength(), 9509);

    // Exactly 9500 accepts nothing; 9499 accepts one append of any length, cut at capacity.
    consoleClear();
    consoleAppend(std::string(consoleLimitChars, 'q').c_str());
    consoleAppend("x");
    EXPECT_EQ(consoleLength(), 9500);
    consoleClear();
    consoleAppend(filler.c_str());
    std::string huge(1 << 20, 'h');
    consoleAppend(huge.c_str());
    EXPECT_EQ(consoleLength(), consoleCapacityChars);
    EXPECT_EQ(consoleText()[consoleCapacityChars - 1], 'h');
    consoleClear();
    consoleAppend(filler.c_str());
    consolePrintf("%s", huge.c_str());
    EXPECT_EQ(consoleLength(), consoleCapacityChars);
    consoleClear();
    EXPECT_EQ(consoleLength(), 0);
}

TEST(ConsoleTest, AppendCopiesTextUnchangedAndUpperCharactersMoveBank) {
    consoleClear();
    consoleAppend("100%s\n");
    consolePrintf("%03d", 7);
    consoleAppendUpper('A');
    ASSERT_EQ(consoleLength(), 10);
    EXPECT_EQ(std::string(consoleText(), 9), "100%s\n007");
    // 'A' - 128 is drawn from cell 161 while the lower bank is selected.
    EXPECT_EQ((unsigned char)consoleText()[9], 65 + 128);
    consoleClear();
}

TEST_F(TextTest, ConsoleTabsMoveThePenToTheirColumnsAndLongLinesWrap) {
    textFont.setColour(0, 1, 0);                  // the console is white whatever the font colour
    consoleAppend("aaa`Z\n");                     // pen at 30: the grave stays; Z at 30..38
    consoleAppend("aaab`Z\n");                    // pen at 31: the grave moves to 40
    consoleAppend("~Z\n");                        // 0 -> 32
    consoleAppend("~~Z\n");                       // 0 -> 32 -> 64
    consoleAppend(std::string(65, 'a').c_str());  // the 65th starts at 640 and runs past the edge
    consoleAppend("Z");                           // starts past 640: wraps down 32
    consoleDraw();

    Rgb first = screenPixel(34, 464);
    printf("console glyph at (34,464): %d %d %d\n", first.r, first.g, first.b);
    EXPECT_EQ(first.r, 255);
    EXPECT_EQ(first.b, 255);
    EXPECT_FALSE(isLit(40, 464));
    EXPECT_FALSE(isLit(35, 432));
    EXPECT_TRUE(isLit(44, 432));
    EXPECT_FALSE(isLit(16, 400));
    EXPECT_TRUE(isLit(36, 400));
    EXPECT_FALSE(isLit(48, 368));
    EXPECT_TRUE(isLit(68, 368));
    EXPECT_TRUE(isLit(635, 336));
    EXPECT_TRUE(isLit(4, 304));
    EXPECT_FALSE(isLit(12, 304));
    // Drawing keeps the text: it stays until cleared.
    EXPECT_EQ(consoleLength(), 6 + 7 + 3 + 4 + 65 + 1);
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

TEST(ConsoleTest, ListFilesAppendsMatchingNamesUpTo128) {
    TempFolder folder;
    for (const char* name : {"one.bmp", "two.bmp", "three.txt"}) ASSERT_TRUE(writeText(folder.file(name), "x"));
    consoleClear();
    consoleListFiles((folder.path + "/*.bmp").c_str());
    std::string listed(consoleText(), (size_t)consoleLength());
    EXPECT_NE(listed.find("one.bmp\n"), std::string::npos) << listed;
    EXPECT_NE(listed.find("two.bmp\n"), std::string::npos) << listed;
    EXPECT_EQ(listed.size(), strlen("one.bmp\ntwo.bmp\n"));

    consoleClear();
    consoleListFiles((folder.path + "/no-such-folder/*").c_str());
    EXPECT_EQ(std::string(consoleText(), (size_t)consoleLength()), "ERROR: Invalid search handle\n");

    TempFolder many;
    for (int i = 0; i < 130; i++) ASSERT_TRUE(writeText(many.file("f" + std::to_string(i)), ""));
    consoleClear();
    consoleListFiles((many.path + "/f*").c_str());
    int lines = 0;
    for (int i = 0; i < consoleLength(); i++) lines += consoleText()[i] == '\n';
    EXPECT_EQ(lines, consoleListMaxNames);
    consoleClear();
}

TEST_F(TextTest, RectanglesDarkenOrBrightenWhatIsBelow) {
    glClearColor(0.2f, 0.4f, 0.6f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    Rgb under = screenPixel(250, 150);
    drawRect(-0.3f, 100, 100, 200, 200);
    drawRect(0.6f, 300.7f, 100, 400, 200);
    Rgb dark = screenPixel(150, 150), bright = screenPixel(350, 150), outside = screenPixel(250, 150);
    printf("below %d %d %d, dark %d %d %d, bright %d %d %d\n", under.r, under.g, under.b, dark.r, dark.g, dark.b,
           bright.r, bright.g, bright.b);
    // A black veil of opacity 0.45 keeps 0.55 of the colour; the bright panel adds 0.3 (76.5).
    const int tolerance = 2;
    EXPECT_NEAR(dark.r, 0.55 * under.r, tolerance);
    EXPECT_NEAR(dark.g, 0.55 * under.g, tolerance);
    EXPECT_NEAR(dark.b, 0.55 * under.b, tolerance);
    EXPECT_NEAR(bright.r, under.r + 76.5, tolerance);
    EXPECT_NEAR(bright.g, under.g + 76.5, tolerance);
    EXPECT_NEAR(bright.b, under.b + 76.5, tolerance);
    EXPECT_EQ(outside.r, under.r);
    // Corners are truncated to whole units: 300.7 starts at 300.
    EXPECT_NE(screenPixel(300.6f, 150).r, under.r);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(integerState(GL_MODELVIEW_STACK_DEPTH), 1);
}
