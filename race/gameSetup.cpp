// Race set-up: the truck pictures, the players, the courses and the starting grid.
#include <GL/gl.h>

#include <cstdio>

#include "core/assert.h"
#include "core/platform.h"
#include "graphics/font.h"
#include "graphics/image.h"
#include "graphics/texture.h"
#include "race/game.h"
#include "race/player.h"
#include "track/course.h"
#include "track/courses.h"

// In truck order; the user's truck first.
static const char* const truckPictures[Game::maxTrucks] = {
    "images/trucks/metaltruck.bmp", "images/trucks/flatbedtruck.bmp", "images/trucks/tankertruck.bmp",
    "images/trucks/redtruck.bmp",   "images/trucks/blacktruck.bmp",
};

// The form of the game's own truck pictures; the colour key needs their 24 bits.
static const ImageShape truckPictureShape = {128, 24};

// The pictures' transparent colour.
static const uint8_t truckKeyRed = 254, truckKeyGreen = 42, truckKeyBlue = 157;

void Game::load() {
    loadTextFont();
    perfFrequency = platform().queryPerformanceFrequency();
    if (perfFrequency <= 0) perfFrequency = 1;

    // A missing picture is reported by the loader; its truck gets whatever texture the empty
    // image makes, and the race goes on.
    Texture* truckTextures[maxTrucks];
    for (int i = 0; i < maxTrucks; i++) {
        // A run that draws nothing needs no picture, only the record.
        if (!texturesDrawn()) {
            truckTextures[i] = newTexture();
            continue;
        }
        Image image;
        if (image.LoadBMP(truckPictures[i])) image.checkShape(truckPictures[i], truckPictureShape);
        image.applyColourKey(truckKeyRed, truckKeyGreen, truckKeyBlue);
        truckTextures[i] = createTexture(image, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR_MIPMAP_LINEAR);
    }

    // The state all later drawing starts from: textured, both faces, later drawing on top.
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);

    // Created once; a second load keeps the players it already has.
    if (!players[0]) players[0] = new PlayerUser();
    players[0]->setTruck(&trucks[0]);
    players[0]->setLapsToRace(lapsToRace);
    players[0]->setName("UserPlayer");
    // Every computer driver exists, raced or not, so a mode can race fewer and then all again.
    for (int i = 1; i < maxTrucks; i++) {
        PlayerAI* ai = computerDriver(i);
        if (!ai) {
            ai = new PlayerAI();
            (isHuman(i) ? benched : players[i]) = ai;
        }
        char name[Player::maxNameLength];
        snprintf(name, sizeof name, "AIplayer%d", i);
        ai->setName(name);
        ai->setTruck(&trucks[i]);
        ai->setLapsToRace(lapsToRace);
        ai->setSkill(i + 1);
        ai->setStyle(driverStyleFor(difficulty));
    }
    for (int i = 0; i < maxTrucks; i++) trucks[i].setTexture(truckTextures[i]);
    // A two-player race handed in before load keeps player two on truck 1.
    if (humanCount > 1) setHumans(humanCount);

    buildTracks();
    resetRace();
}

void Game::buildTracks() {
    trackCount = buildCourses(tileSet, tracks, maxTracks, nullptr);
    // Whatever was built, the race index must name one of the tracks held.
    if (currentTrack >= trackCount || currentTrack >= maxTracks || currentTrack < 0) currentTrack = 0;
}

bool Game::useCourse(int slot, const Course& course) {
    if (slot < 0 || slot >= maxTracks) return false;
    // Every track shares the game's one wall picture.
    Texture* wallTexture = tracks[0].wallTexture;
    buildTrackFrom(tracks[slot], course, tileSet, wallTexture);
    if (slot >= trackCount) trackCount = slot + 1;
    if (slot == currentTrack) resetRace();
    return true;
}

void Game::resetRace() {
    // buildTracks and the wrap after the results keep the index on a track held.
    TD_ASSERT(currentTrack >= 0 && currentTrack < maxTracks);
    Track& track = tracks[currentTrack];
    physics.removeAll();
    // The trucks go in first, in truck order, then the walls: that fixes the collision order.
    for (int i = 0; i < trucksInUse(); i++) {
        trucks[i].resetForRace(physics);
        float x, y, heading;
        gridPlace(track.startGrid, gridSlotOf(i), x, y, heading);
        trucks[i].setPosition(x, y);
        // A grid that faces elsewhere turns the trucks; east is the start state's own heading.
        if (track.startGrid.facing != 0) trucks[i].cabHeading = trucks[i].trailerHeading = heading;
        trucks[i].setTrack(&track);
        retired[i] = false;
        trucks[i].drawAlpha = 1.0f;
        if (players[i]) {
            players[i]->reset();
            players[i]->setTrack(&track);
        }
    }
    // The classic race ranks truck 0 first at the start; a handed grid ranks from its front.
    for (int k = 0; k < maxTrucks; k++) positionOrder[k] = gridHanded ? gridOrder[maxTrucks - 1 - k] : k;
    finishedCount = 0;
    for (View& v : views) v.cue = CheckpointCue();
    track.registerWalls(physics);
    // A level whose drivers follow the racing line has it laid now, not in a frame of the race.
    if (driverStyleFor(difficulty).lineSightUnits > 0.0f) track.racingLine();
    raceOver = false;
}
