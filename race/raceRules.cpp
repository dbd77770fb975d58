// The laps and the computer drivers' level a race is handed; Game itself never chooses them.
#include "race/game.h"
#include "race/player.h"

bool Game::setLaps(int laps) {
    if (laps < minLaps || laps > maxLaps) return false;
    lapsToRace = laps;
    for (int i = 0; i < playersInUse(); i++)
        if (players[i]) players[i]->setLapsToRace(laps);
    return true;
}

void Game::setDifficulty(Difficulty level) {
    difficulty = level;
    // Truck 0 is the user's; every other player is a computer driver (gameSetup.cpp).
    for (int i = 1; i < playersInUse(); i++)
        if (players[i]) static_cast<PlayerAI*>(players[i])->setStyle(driverStyleFor(level));
}
