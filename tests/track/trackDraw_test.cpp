// Drawing course 0 with flat-coloured pictures: the ground, each tile and each wall must show
// where the grid and the wall lines put them.
#include "courseFixture.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Distance from a point to the centre line of a wall, from the midpoints of its short sides.
float distanceToWall(const Wall& wall, float px, float py) {
    float ax = 0.5f * (wall.corners[0][0] + wall.corners[1][0]);
    float ay = 0.5f * (wall.corners[0][1] + wall.corners[1][1]);
    float bx = 0.5f * (wall.corners[2][0] + wall.corners[3][0]);
    float by = 0.5f * (wall.corners[2][1] + wall.corners[3][1]);
    float dx = bx - ax, dy = by - ay;
    float lengthSq = dx * dx + dy * dy;
    float t = lengthSq > 0 ? ((px - ax) * dx + (py - ay) * dy) / lengthSq : 0;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

bool sameColour(Rgb p, FlatColour c) {
    const int tolerance = 3;
    return std::abs(p.r - c.r) <= tolerance && std::abs(p.g - c.g) <= tolerance && std::abs(p.b - c.b) <= tolerance;
}

}  // namespace

class TrackDrawTest : public CourseTest {
protected:
    void SetUp() override {
        CourseTest::SetUp();
        ASSERT_EQ(buildCourses(*tileSet, tracks.get(), courseCount, folder.c_str()), 2);
        glEnable(GL_TEXTURE_2D);
        glDisable(GL_DEPTH_TEST);
        glColor3f(1, 1, 1);
    }

    // Clears and draws track 0 as the game's camera would show it around (x, y).
    void drawAt(float x, float y, float zoom) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glScalef(zoom, zoom, zoom);
        glTranslatef(-x, -y, 0);
        tracks[0].draw();
        glPopMatrix();
        glFinish();
        camX = x;
        camY = y;
        camZoom = zoom;
    }

    // The pixel that shows a world point, bottom-left origin.
    Rgb pixelAt(float wx, float wy) {
        int px = (int)std::floor(camZoom * (wx - camX) + 320);
        int py = (int)std::floor(camZoom * (wy - camY) + 240);
        return readPixel(px, py);
    }

    // Checks every cell of track 0 clear of walls for its tile's colour, or the ground's for the
    // two types whose pictures are missing or unusable; returns how many cells were checked.
    int checkCellColours(int missingType, int unusableType);

    float camX = 0, camY = 0, camZoom = 1;
};

int TrackDrawTest::checkCellColours(int missingType, int unusableType) {
    int checked = 0;
    for (int y = 0; y < trackGridSize; y++) {
        for (int x = 0; x < trackGridSize; x++) {
            // A point of the cell well clear of every wall.
            float wx = 256.0f * x + 128, wy = 256.0f * y + 128;
            bool clear = true;
            for (int i = 0; i < tracks[0].wallCount; i++) {
                clear = clear && distanceToWall(tracks[0].walls[i], wx, wy) > 40;
            }
            if (!clear) {
                continue;
            }
            int type = tracks[0].tileAt(x, y);
            Rgb p = pixelAt(wx, wy);
            FlatColour want = tileColour(type == missingType || type == unusableType ? 0 : type);
            EXPECT_TRUE(sameColour(p, want))
                << "cell " << x << "," << y << " type " << type << ": got " << p.r << "," << p.g << "," << p.b;
            checked++;
        }
    }
    return checked;
}

TEST_F(TrackDrawTest, EveryCellShowsItsTilePicture) {
    ASSERT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    drawAt(1024, 1024, 0.2f);
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    int checked = checkCellColours(-1, -1);
    printf("cells checked clear of walls: %d of 64\n", checked);
    EXPECT_GE(checked, 40);
}

// One tile without its picture, one whose picture no texture takes and one without its surface
// map: every other tile stays in its own cells; the first two show the ground beneath, and the
// tiles without a map drag as the ground does.
TEST_F(TrackDrawTest, AMissingTileKeepsEveryOtherTileInItsCell) {
    const int noPicture = 2, noMap = 3, notSquare = 4;
    std::string track = folder + "/images/track/";
    ASSERT_EQ(remove((track + courseTiles[noPicture].picture).c_str()), 0);
    ASSERT_EQ(remove((track + "physMap/" + courseTiles[noMap].physMap).c_str()), 0);
    ASSERT_TRUE(writeFlatBmp24(track + courseTiles[notSquare].picture, 16, 8, tileColour(notSquare)));
    tracks.reset(new Track[courseCount]);
    tileSet = std::make_unique<TrackTileSet>();
    ASSERT_EQ(buildCourses(*tileSet, tracks.get(), courseCount, folder.c_str()), 2);
    EXPECT_EQ(tileSet->getTileCount(), courseTileCount);
    EXPECT_EQ(platform.boxTexts.size(), 2u);

    drawAt(1024, 1024, 0.2f);
    int checked = checkCellColours(noPicture, notSquare);
    printf("cells checked clear of walls: %d of 64\n", checked);
    EXPECT_GE(checked, 40);

    float groundDrag = mapValueOf(courseTiles[0].physMap) / 500.0f + 0.6f;
    int missingCells = 0;
    for (int y = 0; y < trackGridSize; y++) {
        for (int x = 0; x < trackGridSize; x++) {
            int type = tracks[0].tileAt(x, y);
            bool missing = type == noPicture || type == noMap;
            float want = missing ? groundDrag : mapValueOf(courseTiles[type].physMap) / 500.0f + 0.6f;
            EXPECT_NEAR(tracks[0].frictionAt(256.0f * x + 128, 256.0f * y + 128), want, 1e-6)
                << "cell " << x << "," << y << " type " << type;
            missingCells += missing;
        }
    }
    EXPECT_GE(missingCells, 2);
}

TEST_F(TrackDrawTest, GroundRepeatsAroundTheGridToItsEdge) {
    drawAt(-2000, -2000, 1);
    EXPECT_TRUE(sameColour(pixelAt(-2000, -2000), tileColour(0)));
    drawAt(5120, 1000, 1);
    EXPECT_TRUE(sameColour(pixelAt(5100, 1000), tileColour(0)));
    Rgb beyond = pixelAt(5140, 1000);
    EXPECT_EQ(beyond.r + beyond.g + beyond.b, 0) << "the ground quad ends at 5120";
}

// The ground is shaded only where no tile covers it; every pixel of the view must still show
// something, at the grid's corner and zoomed out over all of it, in a window-filling viewport
// and in one set in from the window's edges (a scaled window).
TEST_F(TrackDrawTest, GroundAndTilesLeaveNoPixelUnpainted) {
    const int ports[2][4] = {{0, 0, 640, 480}, {37, 21, 500, 400}};
    const float views[3][3] = {{0, 0, 0.5f}, {1024, 1024, 0.2f}, {2048, 700, 1.3f}};
    for (const auto& port : ports) {
        glViewport(port[0], port[1], port[2], port[3]);
        for (const auto& v : views) {
            drawAt(v[0], v[1], v[2]);
            std::vector<unsigned char> rgb(3 * port[2] * port[3]);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glReadPixels(port[0], port[1], port[2], port[3], GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
            int unpainted = 0;
            for (size_t i = 0; i < rgb.size(); i += 3) unpainted += rgb[i] + rgb[i + 1] + rgb[i + 2] == 0;
            printf("viewport at %d,%d, view at %.0f,%.0f zoom %.1f: %d unpainted pixels\n", port[0], port[1], v[0],
                   v[1], v[2], unpainted);
            EXPECT_EQ(unpainted, 0);
        }
    }
    glViewport(0, 0, 640, 480);
}

TEST_F(TrackDrawTest, EveryWallShowsOverTheTiles) {
    int checked = 0;
    for (int i = 0; i < tracks[0].wallCount; i++) {
        const Wall& wall = tracks[0].walls[i];
        float mx = 0.25f * (wall.corners[0][0] + wall.corners[1][0] + wall.corners[2][0] + wall.corners[3][0]);
        float my = 0.25f * (wall.corners[0][1] + wall.corners[1][1] + wall.corners[2][1] + wall.corners[3][1]);
        if (wall.corners[0][0] == wall.corners[3][0] && wall.corners[0][1] == wall.corners[3][1]) {
            continue;  // the zero-length wall has no area to show
        }
        drawAt(mx, my, 1);
        EXPECT_TRUE(sameColour(pixelAt(mx, my), wallColour)) << "wall " << i;
        checked++;
    }
    EXPECT_EQ(checked, 17);
}
