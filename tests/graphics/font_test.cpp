#include <GL/gl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "bmpFixture.h"
#include "glTest.h"
#include "graphics/font.h"
#include "graphics/text.h"
#include "graphics/texture.h"

namespace {

class FontTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        initTextures();
        std::vector<uint8_t> cells(512 * 512, 255);
        ASSERT_TRUE(writeBytes(atlas(), makeBmp(512, 512, 8, cells)));
    }
    void TearDown() override {
        releaseTextures();
        GLTest::TearDown();
    }
    std::string atlas() const { return folder.file("atlas.bmp"); }
    std::string widths(const std::vector<uint8_t>& bytes) {
        std::string path = folder.file("widths.dat");
        EXPECT_TRUE(writeBytes(path, bytes));
        return path;
    }
    TempFolder folder;
    CapturedBoxes boxes;
};

}  // namespace

TEST_F(FontTest, GlyphRectanglesAreCentredInTheirCells) {
    std::vector<uint8_t> bytes(256, 16);
    bytes[0] = 0;     // cell 0: row 0, column 0
    bytes[17] = 31;   // cell 17: row 1, column 1
    bytes[255] = 15;  // cell 255: row 15, column 15
    Font font;
    ASSERT_TRUE(font.load(atlas().c_str(), widths(bytes).c_str()));
    EXPECT_EQ(font.columns, 16);
    EXPECT_EQ(font.rows, 16);
    EXPECT_EQ(font.cellWidth, 32);
    EXPECT_EQ(font.cellHeight, 32);
    EXPECT_FLOAT_EQ(font.cellTexHeight, 0.0625f);
    ASSERT_NE(font.texture, nullptr);
    EXPECT_TRUE(font.texture->loaded);

    // Width 0: an empty rectangle at the cell's middle (offset 16) of the top row.
    const Glyph& empty = font.glyphs[0];
    EXPECT_FLOAT_EQ(empty.left, 16 / 512.0f);
    EXPECT_FLOAT_EQ(empty.right, empty.left);
    EXPECT_FLOAT_EQ(empty.texWidth, 0);
    EXPECT_FLOAT_EQ(empty.bottom, 15 / 16.0f);
    EXPECT_FLOAT_EQ(empty.top, 1.0f);
    // Width 31: half a pixel of spare rounds to offset 0.
    const Glyph& wide = font.glyphs[17];
    EXPECT_FLOAT_EQ(wide.left, 1 / 16.0f);
    EXPECT_FLOAT_EQ(wide.right, 1 / 16.0f + 31 / 512.0f);
    EXPECT_FLOAT_EQ(wide.bottom, 14 / 16.0f);
    // Width 15: 8.5 spare pixels give offset 8.
    const Glyph& narrow = font.glyphs[255];
    EXPECT_FLOAT_EQ(narrow.left, 15 / 16.0f + 8 / 512.0f);
    EXPECT_FLOAT_EQ(narrow.texWidth, 15 / 512.0f);
    EXPECT_FLOAT_EQ(narrow.bottom, 0);
    EXPECT_FLOAT_EQ(narrow.top, 0.0625f);
}

TEST_F(FontTest, ShortWidthFileFillsTheRestWith255AndMissingFileChangesNothing) {
    Font font;
    ASSERT_TRUE(font.load(atlas().c_str(), widths({3, 4, 5}).c_str()));
    EXPECT_EQ(font.glyphs[2].width, 5);
    EXPECT_EQ(font.glyphs[3].width, 255);
    EXPECT_EQ(font.glyphs[255].width, 255);
    EXPECT_EQ(boxes.count(), 0u);

    Font fresh;
    std::string missing = folder.file("none.dat");
    EXPECT_FALSE(fresh.load(atlas().c_str(), missing.c_str()));
    EXPECT_EQ(boxes.last(), "FontSize file " + missing + " not found");
    EXPECT_EQ(fresh.texture, nullptr);
    EXPECT_EQ(fresh.glyphs[40].width, 0);
    EXPECT_EQ(fresh.red, 1);
    EXPECT_EQ(texturesUsed(), 1);  // only the first font took a record
}

TEST_F(FontTest, CharacterCellDependsOnTheBank) {
    std::vector<uint8_t> bytes(256, 0);
    bytes[33] = 7;    // 'A' in the lower bank
    bytes[161] = 19;  // 'A' in the upper bank
    bytes[224] = 5;   // code 0 wraps to the upper bank's end
    Font font;
    ASSERT_TRUE(font.load(atlas().c_str(), widths(bytes).c_str()));
    beginText();
    EXPECT_FLOAT_EQ(drawGlyph(0, 0, 'A', 32, 32, font), 7);
    EXPECT_FLOAT_EQ(drawGlyph(0, 0, '\0', 32, 32, font), 5);
    font.setGlyphBank(true);
    EXPECT_EQ(font.glyphBank, 128);
    EXPECT_FLOAT_EQ(drawGlyph(0, 0, 'A', 32, 32, font), 19);
    // Codes above 127 are read as unsigned bytes: 161 + 128 - 32 wraps to cell 1.
    EXPECT_FLOAT_EQ(drawGlyph(0, 0, (char)161, 32, 32, font), 0);
    font.setGlyphBank(false);
    EXPECT_EQ(font.glyphBank, 0);
    EXPECT_FLOAT_EQ(drawGlyph(0, 0, (char)193, 32, 32, font), 19);
    endText();
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

TEST_F(FontTest, LoadTextFontReadsTheGameFilesFromTheWorkingDirectory) {
    char saved[PATH_MAX];
    ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
    std::string images = folder.file("images"), text = images + "/text";
    ASSERT_EQ(mkdir(images.c_str(), 0700), 0);
    ASSERT_EQ(mkdir(text.c_str(), 0700), 0);
    ASSERT_EQ(rename(atlas().c_str(), (text + "/impactVerdana16.bmp").c_str()), 0);
    ASSERT_TRUE(writeBytes(text + "/impactVerdana16.dat", std::vector<uint8_t>(256, 12)));
    ASSERT_EQ(chdir(folder.path.c_str()), 0);
    textFont.setGlyphBank(true);
    bool loaded = loadTextFont();
    ASSERT_EQ(chdir(saved), 0);
    unlink((text + "/impactVerdana16.bmp").c_str());
    unlink((text + "/impactVerdana16.dat").c_str());
    rmdir(text.c_str());
    rmdir(images.c_str());

    EXPECT_TRUE(loaded) << boxes.last();
    EXPECT_EQ(textFont.glyphBank, 0);
    EXPECT_EQ(textFont.glyphs[100].width, 12);
    ASSERT_NE(textFont.texture, nullptr);
    EXPECT_TRUE(textFont.texture->loaded);
    EXPECT_EQ(boxes.count(), 0u);
}
