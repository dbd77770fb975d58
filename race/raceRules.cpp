// The laps and the computer drivers' level a race is handed; Game itself never chooses them.
#include "race/game.h"
#include "race/player.h"

bool Game::setLaps(int laps) {
    if (laps < minLaps || laps > maxLaps) return false;
    lapsToRace = laps;
    for (int i = 0; i < maxTrucks; i++)
        if (players[i]) players[i]->setLapsToRace(laps);
    if (benched) benched->setLapsToRace(laps);
    return true;
}

void Game::setDifficulty(Difficulty level) {
    difficulty = level;
    // Truck 0 is the user's; every other truck has a computer driver, racing or benched.
    for (int i = 1; i < maxTrucks; i++)
        if (PlayerAI* ai = computerDriver(i)) ai->setStyle(driverStyleFor(level));
    // Its drivers' racing line laid before the race rather than in its first frame.
    if (driverStyleFor(level).lineSightUnits > 0.0f && currentTrack >= 0 && currentTrack < maxTracks)
        tracks[currentTrack].racingLine();
}

bool Game::setGridOrder(const int* truckAtSlot) {
    if (!truckAtSlot) {
        for (int s = 0; s < maxTrucks; s++) gridOrder[s] = s;
        gridHanded = false;
        return true;
    }
    bool named[maxTrucks] = {};
    for (int s = 0; s < maxTrucks; s++) {
        int t = truckAtSlot[s];
        if (t < 0 || t >= maxTrucks || named[t]) return false;
        named[t] = true;
    }
    for (int s = 0; s < maxTrucks; s++) gridOrder[s] = truckAtSlot[s];
    gridHanded = true;
    return true;
}

int Game::gridSlotOf(int truck) const {
    for (int s = 0; s < maxTrucks; s++)
        if (gridOrder[s] == truck) return s;
    return truck;
}

bool Game::setRivals(int count) {
    if (count < 0 || count > maxTrucks - 1) return false;
    truckCount = playerCount = count + 1;
    // A race too small for player two gives truck 1 back to its computer driver.
    if (humanCount > trucksInUse()) setHumans(trucksInUse());
    // The grid is laid again, so a truck left out leaves the world and one taken back is on it.
    if (waitingForStart) resetRace();
    return true;
}
