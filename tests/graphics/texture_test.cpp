#include <GL/gl.h>

#include <cstring>
#include <set>

#include "bmpFixture.h"
#include "glTest.h"
#include "graphics/image.h"
#include "graphics/texture.h"

namespace {

class TextureTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        initTextures();
    }
    void TearDown() override {
        releaseTextures();
        GLTest::TearDown();
    }
    CapturedBoxes boxes;
};

Image squareImage(int side, int channels, unsigned char value) {
    Image image;
    image.allocate(side, side, channels);
    memset(image.data, value, (size_t)image.size);
    return image;
}

GLint boundTexture() {
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

GLint levelWidth(int level) {
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
    return width;
}

GLint texParameter(GLenum name) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

}  // namespace

TEST_F(TextureTest, RecordsAreHandedOutInTableOrderWithDistinctNames) {
    std::set<unsigned> names;
    for (int i = 0; i < textureTableSize; i++) {
        ASSERT_NE(textureRecord(i)->id, 0u);
        names.insert(textureRecord(i)->id);
    }
    EXPECT_EQ(names.size(), (size_t)textureTableSize);
    Texture* first = newTexture();
    Texture* second = newTexture();
    EXPECT_EQ(first, textureRecord(0));
    EXPECT_EQ(second, textureRecord(1));
    EXPECT_EQ(first->id, *names.begin()) << "record 0 carries the first generated name";
    EXPECT_FALSE(first->loaded);
    EXPECT_EQ(first->wrapS, (unsigned)GL_CLAMP);
    EXPECT_EQ(first->minFilter, (unsigned)GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(first->envMode, (unsigned)GL_MODULATE);
    EXPECT_EQ(first->target, (unsigned)GL_TEXTURE_2D);
    EXPECT_EQ(texturesUsed(), 2);
}

TEST_F(TextureTest, UploadSetsRepeatFiltersAndModulateAndBindOfAnUnloadedRecordChangesNothing) {
    Image image = squareImage(8, 3, 128);
    Texture* texture = createTexture(image, GL_LINEAR, GL_NEAREST);
    ASSERT_TRUE(texture->loaded);
    EXPECT_EQ(boundTexture(), (GLint)texture->id);
    EXPECT_EQ(texture->wrapS, (unsigned)GL_REPEAT);
    EXPECT_EQ(texture->wrapT, (unsigned)GL_REPEAT);
    EXPECT_EQ(texture->magFilter, (unsigned)GL_LINEAR);
    EXPECT_EQ(texture->minFilter, (unsigned)GL_NEAREST);
    EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(texParameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    GLint env = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
    EXPECT_EQ(env, GL_MODULATE);

    Texture* unused = newTexture();
    unused->bind();
    EXPECT_EQ(boundTexture(), (GLint)texture->id);
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

TEST_F(TextureTest, NonSquareOrEmptyImageIsRefusedWithoutTouchingGL) {
    Image first = squareImage(4, 3, 1);
    Texture* bound = createTexture(first, GL_NEAREST, GL_NEAREST);
    GLint wrapBefore = texParameter(GL_TEXTURE_WRAP_S);

    Image wide;
    wide.allocate(64, 32, 3);
    memset(wide.data, 0, (size_t)wide.size);
    Texture* texture = newTexture();
    EXPECT_FALSE(texture->upload(wide, GL_LINEAR, GL_LINEAR));
    EXPECT_FALSE(texture->loaded);
    EXPECT_EQ(texture->wrapS, (unsigned)GL_CLAMP);  // record as it was
    EXPECT_EQ(boundTexture(), (GLint)bound->id);
    EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_S), wrapBefore);

    Image empty;
    EXPECT_FALSE(texture->upload(empty, GL_LINEAR, GL_LINEAR));
    EXPECT_FALSE(texture->loaded);
}

TEST_F(TextureTest, OnlyPlainFilterPairsGiveASingleLevel) {
    struct Case {
        unsigned mag, min;
        bool mipmapped;
    };
    const Case cases[] = {
        {GL_NEAREST, GL_NEAREST, false},
        {GL_LINEAR, GL_LINEAR, false},
        {GL_LINEAR, GL_NEAREST, false},
        {GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR, true},
        {GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, true},
        {GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR_MIPMAP_LINEAR, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.mag << "/" << c.min);
        Image image = squareImage(8, 4, 200);
        Texture* texture = createTexture(image, c.mag, c.min);
        ASSERT_TRUE(texture->loaded);
        EXPECT_EQ(levelWidth(0), 8);
        EXPECT_EQ(levelWidth(1), c.mipmapped ? 4 : 0);
        // A mipmap value is remembered for magnification but never sent: GL keeps a plain one.
        EXPECT_EQ(texture->magFilter, c.mag);
        GLint mag = texParameter(GL_TEXTURE_MAG_FILTER);
        EXPECT_TRUE(mag == GL_LINEAR || mag == GL_NEAREST);
        if (c.mag == GL_NEAREST) {
            EXPECT_EQ(mag, GL_NEAREST);
        }
        EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    }
}

TEST_F(TextureTest, OddWidthRowsGoUpPackedAsTheImageHoldsThem) {
    Image image;
    image.allocate(3, 3, 3);
    for (int i = 0; i < image.size; i++) image.data[i] = (unsigned char)(i * 9);
    ASSERT_TRUE(createTexture(image, GL_NEAREST, GL_NEAREST)->loaded);
    unsigned char texels[27] = {0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    EXPECT_EQ(0, memcmp(texels, image.data, sizeof texels));
}

TEST_F(TextureTest, SetParametersWithZeroesChangesNeitherRecordNorGL) {
    Image image = squareImage(4, 3, 9);
    Texture* texture = createTexture(image, GL_NEAREST, GL_NEAREST);
    texture->setParameters(GL_CLAMP_TO_EDGE, 0, 0, 0, 0);
    Texture before = *texture;
    GLint wrapS = texParameter(GL_TEXTURE_WRAP_S), wrapT = texParameter(GL_TEXTURE_WRAP_T);
    GLint mag = texParameter(GL_TEXTURE_MAG_FILTER), min = texParameter(GL_TEXTURE_MIN_FILTER);
    texture->setParameters(0, 0, 0, 0, 0);
    EXPECT_EQ(0, memcmp(&before, texture, sizeof before));
    EXPECT_EQ(wrapS, GL_CLAMP_TO_EDGE);
    EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_S), wrapS);
    EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_T), wrapT);
    EXPECT_EQ(texParameter(GL_TEXTURE_MAG_FILTER), mag);
    EXPECT_EQ(texParameter(GL_TEXTURE_MIN_FILTER), min);
}

TEST_F(TextureTest, RequestsPastTheTableGetASpareThatNeverLoadsOrBinds) {
    for (int i = 0; i < textureTableSize; i++) ASSERT_EQ(newTexture(), textureRecord(i));
    Image image = squareImage(4, 3, 50);
    Texture* last = textureRecord(textureTableSize - 1);
    ASSERT_TRUE(last->upload(image, GL_NEAREST, GL_NEAREST));

    testing::internal::CaptureStderr();
    Texture* spare = createTexture(image, GL_NEAREST, GL_NEAREST);
    Texture* again = newTexture();
    std::string said = testing::internal::GetCapturedStderr();
    ASSERT_NE(spare, nullptr);
    for (int i = 0; i < textureTableSize; i++) ASSERT_NE(spare, textureRecord(i));
    EXPECT_EQ(again, spare);
    EXPECT_FALSE(spare->loaded);
    EXPECT_FALSE(spare->upload(image, GL_NEAREST, GL_NEAREST));
    EXPECT_EQ(texturesUsed(), textureTableSize);
    // Said once, however many requests overflow.
    size_t first = said.find("textures");
    EXPECT_NE(first, std::string::npos) << said;
    EXPECT_EQ(said.find("textures", first + 1), std::string::npos) << said;

    // Its settings must not leak onto whichever texture is bound.
    spare->setParameters(GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE, GL_LINEAR, GL_LINEAR, 0);
    spare->bind();
    EXPECT_EQ(boundTexture(), (GLint)last->id);
    EXPECT_EQ(texParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(texParameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
}

TEST_F(TextureTest, LoadTextureConvertsGreyToFourChannelsAndLeavesFailuresUnloaded) {
    TempFolder folder;
    std::vector<uint8_t> grey = {10, 20, 30, 40};
    ASSERT_TRUE(writeBytes(folder.file("grey.bmp"), makeBmp(2, 2, 8, grey)));
    Texture* texture = loadTexture(folder.file("grey.bmp").c_str(), GL_NEAREST, GL_NEAREST, 1);
    ASSERT_TRUE(texture->loaded);
    unsigned char texels[16] = {0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    for (int i = 0; i < 4; i++)
        for (int c = 0; c < 4; c++) EXPECT_EQ(texels[i * 4 + c], grey[i]) << i << "," << c;

    // Without the conversion a grey picture is alpha only.
    Texture* alpha = loadTexture(folder.file("grey.bmp").c_str(), GL_NEAREST, GL_NEAREST, 0);
    GLint alphaBits = 0, redBits = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_RED_SIZE, &redBits);
    EXPECT_TRUE(alpha->loaded);
    EXPECT_GT(alphaBits, 0);
    EXPECT_EQ(redBits, 0);

    // Conversion 1 of a colour picture is reported and the picture goes up as it is.
    ASSERT_TRUE(writeBytes(folder.file("rgb.bmp"), makeBmp(1, 1, 24, {1, 2, 3})));
    Texture* rgb = loadTexture(folder.file("rgb.bmp").c_str(), GL_NEAREST, GL_NEAREST, 1);
    EXPECT_TRUE(rgb->loaded);
    EXPECT_EQ(boxes.last(), "Can't duplicate a multi-channel image: " + folder.file("rgb.bmp"));

    Texture* missing = loadTexture(folder.file("none.bmp").c_str(), GL_NEAREST, GL_NEAREST, 0);
    EXPECT_EQ(missing, textureRecord(3));
    EXPECT_FALSE(missing->loaded);
    EXPECT_NE(boxes.last().find("not found"), std::string::npos);
}

TEST_F(TextureTest, ReleaseDeletesEveryNameUsedOrNot) {
    Image image = squareImage(2, 3, 1);
    Texture* used = createTexture(image, GL_NEAREST, GL_NEAREST);
    ASSERT_TRUE(glIsTexture(used->id));
    releaseTextures();
    EXPECT_FALSE(glIsTexture(used->id));
    // Names can be generated again afterwards; TearDown releases this second table.
    initTextures();
    EXPECT_EQ(newTexture(), textureRecord(0));
}
