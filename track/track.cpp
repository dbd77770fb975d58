#include "track/track.h"

#include "core/errorBox.h"
#include "graphics/image.h"
#include "graphics/texture.h"
#include "graphics/windowMap.h"
#include "physics/physics.h"
#include "track/trackTileSet.h"

#include <GL/gl.h>

// Every wall of a course is this thick, in world units.
static const float wallThicknessUnits = 20.0f;

// Drag of a black surface-map pixel, and the drag added per unit of pixel value.
static const double baseFriction = 0.6;
static const double frictionPerSample = 1.0 / 500.0;

// Far beyond any course, yet small enough to truncate to an int without overflow.
static const float farCells = 1.0e6f;

// Far beyond any surface map's side, for the same safe truncation of map coordinates.
static const float farLocalUnits = 65536.0f;

// Clamps before truncating: a float outside the int range (or NaN) cannot be converted safely.
static int truncateClamped(float value, float limit) {
    if (!(value > -limit)) {
        value = -limit;
    }
    if (value > limit) {
        value = limit;
    }
    return (int)value;
}

void worldToTile(float x, float y, int& tileX, int& tileY) {
    tileX = truncateClamped(x / tileSizeUnits, farCells);
    tileY = truncateClamped(y / tileSizeUnits, farCells);
}

Track::Track()
    : wallTexture(nullptr), penX(0), penY(0), penUp(true), numCheckpoints(0), numWaypoints(0), drawCount(0),
      wallCount(0), tileCount(0), wallLimitReported(false), startGrid(builtInGrid) {
    for (int i = 0; i < maxCheckpoints; i++) {
        checkpoints[i] = TileCoord{0, 0};
    }
    for (int i = 0; i < maxWaypoints; i++) {
        waypoints[i] = TileCoord{0, 0};
    }
    for (int i = 0; i < maxDrawEntries; i++) {
        drawList[i] = TileDraw{0, 0, 0};
    }
    for (int y = 0; y < trackGridSize; y++) {
        for (int x = 0; x < trackGridSize; x++) {
            grid[y][x] = 0;
        }
    }
    for (int i = 0; i < maxTileTypes; i++) {
        tileTextures[i] = nullptr;
        tilePhysMaps[i] = nullptr;
    }
}

// The walls release their own bodies.
Track::~Track() {}

void Track::addWall(float x1, float y1, float x2, float y2) {
    if (wallCount >= maxWalls) {
        // A dropped wall is a gap the trucks drive through; saying it once is enough.
        if (!wallLimitReported) {
            errorBox("Track::addWall() Error \nA track holds at most %d walls; the rest are left out.\n", maxWalls);
            wallLimitReported = true;
        }
        return;
    }
    walls[wallCount].setup(x1, y1, x2, y2, wallThicknessUnits);
    wallCount++;
}

// Continues the wall line to (x, y), or starts one there when the pen is up.
void Track::wallTo(float x, float y) {
    if (penUp) {
        penUp = false;
    } else {
        addWall(penX, penY, x, y);
    }
    penX = x;
    penY = y;
}

void Track::liftPen() { penUp = true; }

void Track::removeWalls() {
    wallCount = 0;
    penUp = true;
    wallLimitReported = false;
}

// Fills the grid, the lists and the draw order; walls are added separately.
void Track::build(const int layout[trackGridSize][trackGridSize], const TileCoord* checkpointList, int checkpointTotal,
                  const TileCoord* waypointList, int waypointTotal, TrackTileSet& tileSet, Texture* texture) {
    copyTiles(tileSet);
    // Whoever lays a course file names it afterwards.
    courseHash = 0;
    courseName[0] = '\0';

    // Entries beyond the fixed lists are dropped; a negative total or a missing list is none.
    numCheckpoints = 0;
    for (int i = 0; checkpointList != nullptr && i < checkpointTotal && i < maxCheckpoints; i++) {
        checkpoints[numCheckpoints++] = checkpointList[i];
    }
    numWaypoints = 0;
    for (int i = 0; waypointList != nullptr && i < waypointTotal && i < maxWaypoints; i++) {
        waypoints[numWaypoints++] = waypointList[i];
    }

    // The layout is written north up: its first row is the top of the grid.
    for (int y = 0; y < trackGridSize; y++) {
        for (int x = 0; x < trackGridSize; x++) {
            grid[y][x] = layout[trackGridSize - 1 - y][x];
        }
    }

    wallTexture = texture;

    // Grouped by type so that drawing binds each tile texture once; cells of a type the set
    // does not hold are left out.
    drawCount = 0;
    for (int t = 0; t < tileCount; t++) {
        for (int y = 0; y < trackGridSize; y++) {
            for (int x = 0; x < trackGridSize; x++) {
                if (grid[y][x] == t && drawCount < maxDrawEntries) {
                    drawList[drawCount++] = TileDraw{t, x, y};
                }
            }
        }
    }
    // The course changed: its line is laid again when next asked for.
    laidLine.clear();
    lineLaid = false;
}

const RacingLine& Track::racingLine() const {
    if (!lineLaid) {
        laidLine.build(*this);
        lineLaid = true;
    }
    return laidLine;
}

void Track::copyTiles(TrackTileSet& tileSet) {
    tileCount = tileSet.getTileCount();
    if (tileCount > maxTileTypes) {
        tileCount = maxTileTypes;
    }
    for (int t = 0; t < tileCount; t++) {
        tileTextures[t] = tileSet.getTexture(t);
        tilePhysMaps[t] = tileSet.getPhysMap(t);
    }
}

// Adds the walls as static bodies; race set-up calls it after adding the trucks.
void Track::registerWalls(Physics& physics) {
    for (int i = 0; i < wallCount; i++) {
        walls[i].registerWith(physics);
    }
}

int Track::tileAt(int tileX, int tileY) const {
    if (tileX < 0 || tileX >= trackGridSize || tileY < 0 || tileY >= trackGridSize) {
        return 0;
    }
    return grid[tileY][tileX];
}

// Drag of the ground at a world point, from the surface map of the tile under it.
float Track::frictionAt(float x, float y) const {
    int tileX, tileY;
    worldToTile(x, y, tileX, tileY);

    // One map pixel covers 2 x 2 world units, so a 128-pixel map spans its tile.
    float u = (x - (float)(tileSizeUnits * tileX)) * 0.5f;
    float v = (y - (float)(tileSizeUnits * tileY)) * 0.5f;

    // A cell whose tile failed to load has no map of its own: it reads as ground.
    int type = tileAt(tileX, tileY);
    if (type < 0 || type >= tileCount) {
        type = 0;
    }
    const Image* map = tileCount > 0 ? tilePhysMaps[type] : nullptr;
    if (map != nullptr && map->getData() == nullptr) {
        map = tilePhysMaps[0];
    }
    if (map == nullptr) {
        return (float)baseFriction;
    }

    int sample = map->getPixel(truncateClamped(u, farLocalUnits), truncateClamped(v, farLocalUnits), 0);
    return (float)(sample * frictionPerSample + baseFriction);
}

// Lowest index of a cell list that holds the cell under (x, y), or -1.
static int findCell(const TileCoord* list, int count, float x, float y) {
    int tileX, tileY;
    worldToTile(x, y, tileX, tileY);
    for (int i = 0; i < count; i++) {
        if (list[i].x == tileX && list[i].y == tileY) {
            return i;
        }
    }
    return -1;
}

int Track::checkpointAt(float x, float y) const { return findCell(checkpoints, numCheckpoints, x, y); }

int Track::waypointIndexAt(float x, float y) const { return findCell(waypoints, numWaypoints, x, y); }

// Centre of a waypoint's cell; false, with x and y untouched, for an index not in the list.
bool Track::waypointCentre(int index, float& x, float& y) const {
    if (index < 0 || index >= numWaypoints) {
        return false;
    }
    const float half = tileSizeUnits * 0.5f;
    x = (float)(tileSizeUnits * waypoints[index].x) + half;
    y = (float)(tileSizeUnits * waypoints[index].y) + half;
    return true;
}

// A texture that failed to load would draw with whatever texture happens to be bound.
static bool drawable(const Texture* texture) { return texture != nullptr && texture->loaded; }

// The ground quad spans 40 tiles each way, its picture repeating once per tile.
static const float groundExtentUnits = 5120.0f;
static const float groundRepeats = 40.0f;

static void emitGround() {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-groundExtentUnits, -groundExtentUnits);
    glTexCoord2f(groundRepeats, 0);
    glVertex2f(groundExtentUnits, -groundExtentUnits);
    glTexCoord2f(groundRepeats, groundRepeats);
    glVertex2f(groundExtentUnits, groundExtentUnits);
    glTexCoord2f(0, groundRepeats);
    glVertex2f(-groundExtentUnits, groundExtentUnits);
    glEnd();
}

// The same ground quad within a scissor box: the pixels it does shade come out as they would
// from the whole quad.
static void emitGroundWithin(const PixelRect& r) {
    if (r.isEmpty()) return;
    glScissor(r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0);
    emitGround();
}

// The ground only where no tile covers it: tiles are opaque and drawn over it, so shading the
// ground under them is wasted fill, most of a window's worth each frame. The boxes reach a pixel
// past their cells, which the tiles then cover again.
void Track::drawGroundWhereShown(const WindowMap& map) {
    bool covered[trackGridSize][trackGridSize] = {};
    for (int i = 0; i < drawCount; i++) {
        const TileDraw& e = drawList[i];
        if (e.type != 0 && drawable(tileTextures[e.type]) && e.x >= 0 && e.x < trackGridSize && e.y >= 0 &&
            e.y < trackGridSize)
            covered[e.y][e.x] = true;
    }
    const float gridUnits = (float)(tileSizeUnits * trackGridSize);
    const PixelRect view = map.viewport;
    const PixelRect inner = intersect(map.pixelsWithin(0, 0, gridUnits, gridUnits, 1), view);
    glPushAttrib(GL_SCISSOR_BIT);
    glEnable(GL_SCISSOR_TEST);
    if (inner.isEmpty()) {
        emitGroundWithin(view);
    } else {
        // Round the grid: left and right strips the window's height, below and above between them.
        emitGroundWithin({view.x0, view.y0, inner.x0, view.y1});
        emitGroundWithin({inner.x1, view.y0, view.x1, view.y1});
        emitGroundWithin({inner.x0, view.y0, inner.x1, inner.y0});
        emitGroundWithin({inner.x0, inner.y1, inner.x1, view.y1});
    }
    for (int y = 0; y < trackGridSize; y++) {
        for (int x = 0; x < trackGridSize; x++) {
            if (covered[y][x]) continue;
            float x0 = (float)(tileSizeUnits * x), y0 = (float)(tileSizeUnits * y);
            emitGroundWithin(intersect(map.pixelsOf(x0, y0, x0 + tileSizeUnits, y0 + tileSizeUnits, 1), view));
        }
    }
    glPopAttrib();
}

// Ground, then tiles, then walls, each over the last; the camera is already applied. A tile
// whose picture is missing draws nothing, so the ground shows there; missing walls draw plain.
void Track::draw() {
    WindowMap map;
    const bool mapped = map.capture();
    if (tileCount > 0 && drawable(tileTextures[0])) {
        tileTextures[0]->bind();
        if (mapped) {
            drawGroundWhereShown(map);
        } else {
            emitGround();
        }
    }

    // The list is grouped by type, so each texture is bound once; ground cells already show.
    // Tiles out of view stay in: the driver shades a lone quad another way than a run of them,
    // a last bit apart, so leaving some out would change the picture.
    int boundType = -1;
    for (int i = 0; i < drawCount; i++) {
        const TileDraw& entry = drawList[i];
        if (entry.type == 0 || !drawable(tileTextures[entry.type])) {
            continue;
        }
        if (entry.type != boundType) {
            if (boundType >= 0) {
                glEnd();
            }
            tileTextures[entry.type]->bind();
            boundType = entry.type;
            glBegin(GL_QUADS);
        }
        float x0 = (float)(tileSizeUnits * entry.x);
        float y0 = (float)(tileSizeUnits * entry.y);
        float x1 = x0 + tileSizeUnits;
        float y1 = y0 + tileSizeUnits;
        glTexCoord2f(0, 0);
        glVertex2f(x0, y0);
        glTexCoord2f(1, 0);
        glVertex2f(x1, y0);
        glTexCoord2f(1, 1);
        glVertex2f(x1, y1);
        glTexCoord2f(0, 1);
        glVertex2f(x0, y1);
    }
    if (boundType >= 0) {
        glEnd();
    }

    bool plainWalls = !drawable(wallTexture);
    bool wasTextured = plainWalls && glIsEnabled(GL_TEXTURE_2D);
    if (plainWalls) {
        glDisable(GL_TEXTURE_2D);
    } else {
        wallTexture->bind();
    }
    glBegin(GL_QUADS);
    for (int i = 0; i < wallCount; i++) {
        walls[i].emitVertices();
    }
    glEnd();
    if (wasTextured) {
        glEnable(GL_TEXTURE_2D);
    }
}
