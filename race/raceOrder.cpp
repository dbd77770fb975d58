// Finishers keep their places: a truck that stops just past the line, or rolls on to the next
// checkpoint, must not trade places with one that finished before or after it.
#include "race/game.h"

bool Game::hasFinished(int truck) const {
    for (int k = 0; k < finishedCount && k < maxTrucks; k++)
        if (finishOrder[k] == truck) return true;
    return false;
}

// Runs after the live ranking: new finishers join the list in that ranking's order (so two
// crossing in one sub-step keep it), then the list leads and everyone else follows as ranked.
void Game::holdFinishOrder() {
    if (lapsToRace <= 0) return;  // a race of no laps has no finish to hold
    for (int k = 0; k < maxTrucks; k++) {
        int t = positionOrder[k];
        if (t < 0 || t >= trucksInUse() || trucks[t].getLapCount() < lapsToRace || hasFinished(t)) continue;
        if (finishedCount < maxTrucks) finishOrder[finishedCount++] = t;
    }
    if (finishedCount == 0) return;
    int order[maxTrucks];
    int n = 0;
    for (int k = 0; k < finishedCount && n < maxTrucks; k++) order[n++] = finishOrder[k];
    for (int k = 0; k < maxTrucks && n < maxTrucks; k++)
        if (!hasFinished(positionOrder[k])) order[n++] = positionOrder[k];
    for (int k = 0; k < maxTrucks; k++) positionOrder[k] = order[k];
}
