// A truck that has finished stops driving where it crossed the line; left in the collision world
// it would block the road for everyone still racing for the rest of the race. It leaves the
// world instead, coasts to rest on its own and is drawn faded: a ghost that others drive through.
#include "race/game.h"

#include "core/assert.h"
#include "race/player.h"

// Opacity of a finished truck's picture.
static const float retiredAlpha = 0.4f;

// After the sub-step's collisions, so a truck's last racing step is a whole one.
void Game::retireFinishers() {
    bool changed = false;
    for (int i = 0; i < trucksInUse() && i < playersInUse(); i++) {
        if (retired[i] || !players[i] || !players[i]->isFinished()) continue;
        retired[i] = true;
        trucks[i].drawAlpha = retiredAlpha;
        changed = true;
    }
    if (!changed) return;
    // Trucks first in truck order, then the walls, as the race set-up lists them.
    physics.removeAll();
    for (int i = 0; i < trucksInUse(); i++)
        if (!retired[i]) physics.addObject(&trucks[i].body, false);
    TD_ASSERT(currentTrack >= 0 && currentTrack < maxTracks);
    tracks[currentTrack].registerWalls(physics);
}

// Out of the world no one integrates a retired truck, so it does so itself, with the same drag.
void Game::coastRetired() {
    for (int i = 0; i < trucksInUse(); i++)
        if (retired[i]) trucks[i].body.integrate();
}
