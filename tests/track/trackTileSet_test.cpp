// Adding tiles: wrap modes by position, the set's limit and what a failed file leaves behind.
#include "core/platform.h"
#include "courseFiles.h"
#include "globalsGuard.h"
#include "glTest.h"
#include "graphics/texture.h"
#include "track/trackTileSet.h"

#include <memory>
#include <string>

namespace {

uint8_t mapSample(int x, int y) { return (uint8_t)(x + y); }

}  // namespace

class TrackTileSetTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        initTextures();
        setPlatform(&platform);
        folder = makeTempFolder();
        ASSERT_FALSE(folder.empty());
        ASSERT_TRUE(writeFlatBmp24(path("red.bmp"), 8, 8, FlatColour{255, 0, 0}));
        ASSERT_TRUE(writeFlatBmp24(path("wide.bmp"), 16, 8, FlatColour{0, 255, 0}));
        ASSERT_TRUE(writeBmp8(path("map.bmp"), 128, 128, mapSample));
        tiles = std::make_unique<TrackTileSet>();
    }

    void TearDown() override {
        tiles.reset();
        removeFolder(folder);
        releaseTextures();
        GLTest::TearDown();
    }

    std::string path(const char* name) const { return folder + "/" + name; }

    bool add(const char* picture, const char* map) { return tiles->addTile(path(picture).c_str(), path(map).c_str()); }

    // The wrap modes OpenGL holds for a texture, read back after binding it.
    static void glWrap(Texture* texture, GLint& s, GLint& t) {
        glBindTexture(GL_TEXTURE_2D, texture->id);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &s);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &t);
    }

    GlobalsGuard globals;
    ScriptedPlatform platform;
    std::string folder;
    std::unique_ptr<TrackTileSet> tiles;
};

TEST_F(TrackTileSetTest, GroundTileRepeatsAndLaterTilesClamp) {
    ASSERT_TRUE(add("red.bmp", "map.bmp"));
    ASSERT_TRUE(add("red.bmp", "map.bmp"));
    ASSERT_TRUE(add("red.bmp", "map.bmp"));
    ASSERT_EQ(tiles->getTileCount(), 3);
    EXPECT_TRUE(platform.boxTexts.empty());

    GLint s = 0, t = 0;
    Texture* ground = tiles->getTexture(0);
    ASSERT_NE(ground, nullptr);
    EXPECT_EQ(ground->wrapS, (unsigned)GL_REPEAT);
    EXPECT_EQ(ground->wrapT, (unsigned)GL_REPEAT);
    EXPECT_EQ(ground->minFilter, (unsigned)GL_LINEAR_MIPMAP_LINEAR);
    glWrap(ground, s, t);
    EXPECT_EQ(s, GL_REPEAT);
    EXPECT_EQ(t, GL_REPEAT);

    for (int type = 1; type < 3; type++) {
        Texture* tile = tiles->getTexture(type);
        ASSERT_NE(tile, nullptr);
        EXPECT_NE(tile, ground);
        EXPECT_TRUE(tile->loaded);
        EXPECT_EQ(tile->wrapS, (unsigned)GL_CLAMP_TO_EDGE);
        EXPECT_EQ(tile->wrapT, (unsigned)GL_CLAMP_TO_EDGE);
        glWrap(tile, s, t);
        EXPECT_EQ(s, GL_CLAMP_TO_EDGE);
        EXPECT_EQ(t, GL_CLAMP_TO_EDGE);
    }

    // One map file loaded for several tiles gives separate copies of the same samples.
    EXPECT_NE(tiles->getPhysMap(0)->data, tiles->getPhysMap(1)->data);
    EXPECT_EQ(tiles->getPhysMap(2)->getPixel(5, 7, 0), 12);
    EXPECT_EQ(tiles->getPhysMap(0)->getWidth(), 128);
}

TEST_F(TrackTileSetTest, TheThirtyThirdTileIsRefused) {
    for (int i = 0; i < TrackTileSet::maxTiles; i++) {
        ASSERT_TRUE(add("red.bmp", "map.bmp")) << "tile " << i;
    }
    int texturesBefore = texturesUsed();
    EXPECT_FALSE(add("red.bmp", "map.bmp"));
    EXPECT_EQ(tiles->getTileCount(), TrackTileSet::maxTiles);
    EXPECT_EQ(texturesUsed(), texturesBefore);  // nothing was loaded
    EXPECT_TRUE(platform.boxTexts.empty());
    EXPECT_EQ(tiles->getTexture(TrackTileSet::maxTiles), nullptr);
    EXPECT_EQ(tiles->getPhysMap(-1), nullptr);
}

TEST_F(TrackTileSetTest, MissingFilesLeaveTheTileUncounted) {
    ASSERT_TRUE(add("red.bmp", "map.bmp"));

    // A missing picture: reported, nothing taken from the texture table.
    int texturesBefore = texturesUsed();
    EXPECT_FALSE(add("absent.bmp", "map.bmp"));
    EXPECT_EQ(tiles->getTileCount(), 1);
    EXPECT_EQ(texturesUsed(), texturesBefore);
    ASSERT_EQ(platform.boxTexts.size(), 1u);
    EXPECT_NE(platform.boxTexts[0].find("absent.bmp"), std::string::npos);

    // A missing map: reported, not counted; the next tile takes over the slot.
    EXPECT_FALSE(add("red.bmp", "absentMap.bmp"));
    EXPECT_EQ(tiles->getTileCount(), 1);
    EXPECT_EQ(platform.boxTexts.size(), 2u);
    EXPECT_EQ(tiles->getPhysMap(1)->data, nullptr);
    Texture* orphan = tiles->getTexture(1);
    ASSERT_TRUE(add("red.bmp", "map.bmp"));
    EXPECT_EQ(tiles->getTileCount(), 2);
    EXPECT_NE(tiles->getTexture(1), orphan);
    EXPECT_EQ(tiles->getPhysMap(1)->getPixel(1, 1, 0), 2);
}

// A refused upload leaves the previous tile's texture bound; its wrap modes must not change.
TEST_F(TrackTileSetTest, ANonSquarePictureLeavesTheGroundRepeating) {
    ASSERT_TRUE(add("red.bmp", "map.bmp"));
    ASSERT_TRUE(add("wide.bmp", "map.bmp"));
    EXPECT_EQ(tiles->getTileCount(), 2);
    EXPECT_FALSE(tiles->getTexture(1)->loaded);

    GLint s = 0, t = 0;
    glWrap(tiles->getTexture(0), s, t);
    EXPECT_EQ(s, GL_REPEAT);
    EXPECT_EQ(t, GL_REPEAT);
    EXPECT_EQ(tiles->getTexture(0)->wrapS, (unsigned)GL_REPEAT);
}
