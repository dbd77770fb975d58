#pragma once
// One race course: an 8 x 8 grid of 256-unit tiles, the walls around and along the road, and
// the ordered cells that give the race its direction (checkpoints count laps, waypoints steer
// the computer drivers). Answers the per-step questions of the race: tile, drag, checkpoint.
#include <cstdint>

#include "physics/wall.h"
#include "track/racingLine.h"

class Image;
class Physics;
class TrackTileSet;
class WindowMap;
struct Texture;

struct TileCoord {
    int x;
    int y;
};

struct TileDraw {
    int type;
    int x;
    int y;
};

// Where the trucks stand at the start: truck 0's place (world units), the back of the grid, and
// the way they face, in quarter turns from east (0 east, 1 north, 2 west, 3 south). The other
// trucks stand ahead of it in columns of two.
struct StartGrid {
    float x, y;
    int facing;
};
const StartGrid builtInGrid = {250.0f, 1960.0f, 0};

// World units per side of a tile, and cells per side of the grid.
const int tileSizeUnits = 256;
const int trackGridSize = 8;

// The grid cell of a world point, each coordinate truncated towards zero, so the strip just left
// of or below the grid still reads as column or row 0.
void worldToTile(float x, float y, int& tileX, int& tileY);

class Track {
public:
    static constexpr int maxCheckpoints = 32;
    static constexpr int maxWaypoints = 32;
    static constexpr int maxWalls = 128;
    static constexpr int maxDrawEntries = trackGridSize * trackGridSize;
    static constexpr int maxTileTypes = 32;

    Track();
    virtual ~Track();

    // Walls own their physics bodies, so a track is never copied.
    Track(const Track&) = delete;
    Track& operator=(const Track&) = delete;

    // Lays the next wall; a full track drops it, and the first one dropped is reported.
    void addWall(float x1, float y1, float x2, float y2);
    void wallTo(float x, float y);
    void liftPen();
    // Takes every wall away, so the track can be laid again.
    void removeWalls();
    void build(const int layout[trackGridSize][trackGridSize], const TileCoord* checkpointList, int checkpointTotal,
               const TileCoord* waypointList, int waypointTotal, TrackTileSet& tileSet, Texture* wallTexture);
    void copyTiles(TrackTileSet& tileSet);
    void registerWalls(Physics& physics);

    int tileAt(int tileX, int tileY) const;
    float frictionAt(float x, float y) const;
    int checkpointAt(float x, float y) const;
    int waypointIndexAt(float x, float y) const;
    bool waypointCentre(int index, float& x, float& y) const;
    int checkpointCount() const { return numCheckpoints; }
    int getWaypointCount() const { return numWaypoints; }

    void draw();
    void drawGroundWhereShown(const WindowMap& map);

    Texture* wallTexture;
    float penX, penY;
    bool penUp;
    TileCoord checkpoints[maxCheckpoints];
    TileCoord waypoints[maxWaypoints];
    int numCheckpoints;
    int numWaypoints;
    TileDraw drawList[maxDrawEntries];
    int drawCount;
    int grid[trackGridSize][trackGridSize];
    Texture* tileTextures[maxTileTypes];
    Image* tilePhysMaps[maxTileTypes];
    Wall walls[maxWalls];
    int wallCount;
    int tileCount;
    // The first wall past maxWalls has been reported; the rest are dropped quietly.
    bool wallLimitReported;
    StartGrid startGrid;
    // The line the closest racing computer drivers follow, laid from the course the first time
    // it is asked for (it takes some milliseconds, which a race without them need not spend).
    const RacingLine& racingLine() const;
    mutable RacingLine laidLine;
    mutable bool lineLaid = false;
    // The course file the track was laid from, by its content's hash and its name, so what is
    // kept of its races is kept for it; 0 and "" when laid from the built-in tables.
    static constexpr int courseNameCapacity = 64;
    uint64_t courseHash = 0;
    char courseName[courseNameCapacity] = {};
};
