#pragma once
// The palette of square tiles a course is laid out from: each tile's drawn picture (a texture)
// and its surface map, whose first channel sets the drag of the ground. A tile's index is its
// type number; type 0 is also the ground drawn under the whole course.
#include "graphics/image.h"

struct Texture;

class TrackTileSet {
public:
    static constexpr int maxTiles = 32;

    TrackTileSet();
    virtual ~TrackTileSet();

    TrackTileSet(const TrackTileSet&) = delete;
    TrackTileSet& operator=(const TrackTileSet&) = delete;

    // Adds the next tile from a picture and a surface-map file (paths as given); false when the
    // set is full or either file fails to load, and then the tile is not counted.
    bool addTile(const char* pictureFile, const char* physMapFile);
    // Counts the slot of a tile whose addTile failed, with whatever of it did load (the picture
    // of a tile whose surface map failed; nothing for a failed picture), so that every later
    // tile keeps the type number the layouts give it. False when the set is full.
    bool keepFailedTile();

    int getTileCount() const { return count; }
    // Null outside 0..maxTiles-1; entries at or beyond the count are not meaningful.
    Texture* getTexture(int type) const;
    Image* getPhysMap(int type);

    Texture* textures[maxTiles];
    Image physMaps[maxTiles];
    int count;

private:
    bool addSurfaceMap(const char* physMapFile);
};
