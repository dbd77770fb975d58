#include "track/trackTileSet.h"

#include "graphics/texture.h"

#include <GL/gl.h>

// The forms the game's own tiles are drawn in; others load, with a word on stderr.
static const ImageShape tilePictureShape = {256, 24};
static const ImageShape surfaceMapShape = {128, 8};

TrackTileSet::TrackTileSet() : count(0) {
    for (int i = 0; i < maxTiles; i++) {
        textures[i] = nullptr;
    }
}

// The surface maps release their own samples.
TrackTileSet::~TrackTileSet() {}

// Loads a tile's picture into a texture and its surface map into the next free slot.
bool TrackTileSet::addTile(const char* pictureFile, const char* physMapFile) {
    if (count >= maxTiles) {
        return false;
    }

    // A run that draws nothing reads only the surface map, which the race runs on.
    if (!texturesDrawn()) {
        textures[count] = newTexture();
        return addSurfaceMap(physMapFile);
    }
    Image picture;
    if (!picture.LoadBMP(pictureFile)) {
        // No stale texture from an earlier failed map may stand in for this picture.
        textures[count] = nullptr;
        return false;
    }
    picture.checkShape(pictureFile, tilePictureShape);

    Texture* texture = createTexture(picture, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR_MIPMAP_LINEAR);
    textures[count] = texture;

    // Tile 0 is also the ground, drawn as one quad that repeats it; every other tile is drawn
    // once per cell, where clamping keeps the opposite edge from bleeding in. setParameters acts
    // on the bound texture, which is still the previous tile's when this upload was refused
    // (a picture that is not square), so only a loaded texture gets its wrap modes.
    if (texture != nullptr && texture->loaded) {
        unsigned wrap = count == 0 ? GL_REPEAT : GL_CLAMP_TO_EDGE;
        texture->setParameters(wrap, wrap, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR_MIPMAP_LINEAR, GL_MODULATE);
    }

    return addSurfaceMap(physMapFile);
}

// The surface map into the slot whose texture is set; a failed map leaves the slot unused, and
// the next tile takes over its texture entry.
bool TrackTileSet::addSurfaceMap(const char* physMapFile) {
    if (!physMaps[count].LoadBMP(physMapFile)) {
        return false;
    }
    physMaps[count].checkShape(physMapFile, surfaceMapShape);

    count++;
    return true;
}

bool TrackTileSet::keepFailedTile() {
    if (count >= maxTiles) {
        return false;
    }
    count++;
    return true;
}

Texture* TrackTileSet::getTexture(int type) const {
    if (type < 0 || type >= maxTiles) {
        return nullptr;
    }
    return textures[type];
}

Image* TrackTileSet::getPhysMap(int type) {
    if (type < 0 || type >= maxTiles) {
        return nullptr;
    }
    return &physMaps[type];
}
