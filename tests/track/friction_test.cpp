// Surface drag read from the tiles' surface maps, including cells and points without a map.
#include "track/track.h"
#include "track/trackTileSet.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

const int mapSide = 128;
const TileCoord noCells[1] = {{0, 0}};

// A 1-channel map of one value everywhere.
void fillMap(Image& map, int value) {
    map.allocate(mapSide, mapSide, 1);
    for (int i = 0; i < map.size; i++) {
        map.data[i] = (unsigned char)value;
    }
}

// A map whose sample is its column, plus 100 in the top half, so each lookup shows where it read.
void fillColumnMap(Image& map) {
    map.allocate(mapSide, mapSide, 1);
    for (int y = 0; y < mapSide; y++) {
        for (int x = 0; x < mapSide; x++) {
            map.data[y * mapSide + x] = (unsigned char)(x + (y >= mapSide / 2 ? 100 : 0));
        }
    }
}

float sampleFriction(int sample) { return (float)(sample / 500.0 + 0.6); }

}  // namespace

class TrackFriction : public ::testing::Test {
protected:
    void SetUp() override {
        tiles = std::make_unique<TrackTileSet>();
        track = std::make_unique<Track>();
        for (int r = 0; r < trackGridSize; r++) {
            for (int c = 0; c < trackGridSize; c++) {
                layout[r][c] = 0;
            }
        }
    }

    void build(int tileCount) {
        tiles->count = tileCount;
        track->build(layout, noCells, 0, noCells, 0, *tiles, nullptr);
    }

    // Sets the cell (x, y) of the grid through the written layout.
    void setCell(int x, int y, int type) { layout[trackGridSize - 1 - y][x] = type; }

    std::unique_ptr<TrackTileSet> tiles;
    std::unique_ptr<Track> track;
    int layout[trackGridSize][trackGridSize];
};

TEST_F(TrackFriction, BlackWhiteAndGreyPixelsGiveTheirDrag) {
    fillMap(tiles->physMaps[0], 0);
    fillMap(tiles->physMaps[1], 255);
    fillMap(tiles->physMaps[2], 100);
    setCell(1, 0, 1);
    setCell(2, 0, 2);
    build(3);

    float black = track->frictionAt(128, 128);
    float white = track->frictionAt(256 + 128, 128);
    float grey = track->frictionAt(512 + 128, 128);
    printf("drag black %.6f white %.6f grey %.6f\n", black, white, grey);
    EXPECT_NEAR(black, 0.6, 1e-6);
    EXPECT_NEAR(white, 1.11, 1e-6);
    EXPECT_NEAR(grey, 0.8, 1e-6);
}

TEST_F(TrackFriction, MapPixelsCoverTwoWorldUnitsAndSplitAtTheCellEdge) {
    fillColumnMap(tiles->physMaps[0]);
    fillColumnMap(tiles->physMaps[1]);
    setCell(1, 0, 1);
    build(2);

    EXPECT_FLOAT_EQ(track->frictionAt(255.9f, 10), sampleFriction(127));  // column 0, map column 127
    EXPECT_FLOAT_EQ(track->frictionAt(256.0f, 10), sampleFriction(0));    // column 1, map column 0
    EXPECT_FLOAT_EQ(track->frictionAt(256 + 21.9f, 10), sampleFriction(10));
    EXPECT_FLOAT_EQ(track->frictionAt(256 + 21.9f, 128.5f), sampleFriction(110));  // map row 64
    EXPECT_FLOAT_EQ(track->frictionAt(256 + 21.9f, 127.9f), sampleFriction(10));   // map row 63
}

TEST_F(TrackFriction, OffTheGridReadsTheGroundMapClamped) {
    fillColumnMap(tiles->physMaps[0]);
    fillMap(tiles->physMaps[1], 255);
    for (int y = 0; y < trackGridSize; y++) {
        for (int x = 0; x < trackGridSize; x++) {
            setCell(x, y, 1);
        }
    }
    build(2);

    EXPECT_FLOAT_EQ(track->frictionAt(-10, 100), sampleFriction(255));  // truncation keeps it in cell (0, 0)
    EXPECT_FLOAT_EQ(track->frictionAt(-300, 100), sampleFriction(0));   // cell (-1, 0): ground, clamped
    EXPECT_FLOAT_EQ(track->frictionAt(2048 + 1, 10), sampleFriction(0));
    EXPECT_FLOAT_EQ(track->frictionAt(1e30f, -1e30f), sampleFriction(127));
}

// A tile that failed to load leaves cells whose type the set does not hold.
TEST_F(TrackFriction, CellOfAMissingTileReadsAsGround) {
    fillMap(tiles->physMaps[0], 50);
    fillMap(tiles->physMaps[1], 255);
    fillMap(tiles->physMaps[2], 255);  // loaded but beyond the count: must not be read
    setCell(0, 0, 1);
    setCell(1, 0, 2);
    setCell(2, 0, 14);
    setCell(3, 0, -4);
    build(2);

    EXPECT_FLOAT_EQ(track->frictionAt(100, 100), sampleFriction(255));
    EXPECT_FLOAT_EQ(track->frictionAt(256 + 100, 100), sampleFriction(50));
    EXPECT_FLOAT_EQ(track->frictionAt(512 + 100, 100), sampleFriction(50));
    EXPECT_FLOAT_EQ(track->frictionAt(768 + 100, 100), sampleFriction(50));
}

TEST_F(TrackFriction, NoTilesAtAllGiveTheDragOfBlackGround) {
    setCell(3, 3, 5);
    build(0);
    EXPECT_FLOAT_EQ(track->frictionAt(3 * 256 + 5, 3 * 256 + 5), 0.6f);
    EXPECT_FLOAT_EQ(track->frictionAt(-5000, 9000), 0.6f);

    // A fresh track that was never built behaves the same.
    auto fresh = std::make_unique<Track>();
    EXPECT_FLOAT_EQ(fresh->frictionAt(100, 100), 0.6f);
}

TEST_F(TrackFriction, ColourMapsReadTheirRedSample) {
    Image& map = tiles->physMaps[0];
    map.allocate(mapSide, mapSide, 3);
    for (int i = 0; i < map.size; i += 3) {
        map.data[i] = 100;  // red
        map.data[i + 1] = 0;
        map.data[i + 2] = 255;
    }
    build(1);
    EXPECT_NEAR(track->frictionAt(700, 700), 0.8, 1e-6);
}
