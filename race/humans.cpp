// Which trucks people drive. Truck 0 always; in a two-player race truck 1 too, its computer
// driver benched until the next one-player race, so nothing else needs to know who drives.
#include "race/game.h"
#include "race/player.h"
#include "race/secondPlayer.h"

// Player one keeps the classic race's name alone; beside a second human both are told apart.
static const char* const soloName = "UserPlayer";
static const char* const humanNames[2] = {"Player 1", "Player 2"};

bool Game::setHumans(int count) {
    if (count < 1 || count > 2 || count > trucksInUse()) return false;
    humanCount = count;
    // Before load the drivers do not exist yet; load calls again.
    if (!players[0]) return true;
    // Truck 1's two drivers, whichever slot each is in now; player two is made when first raced.
    Player* computer = dynamic_cast<PlayerAI*>(players[1]) ? players[1] : benched;
    Player* second = dynamic_cast<PlayerSecondUser*>(players[1]) ? players[1] : benched;
    if (second == computer) second = nullptr;
    if (count == 2 && !second) second = new PlayerSecondUser();
    players[1] = count == 2 ? second : computer;
    benched = count == 2 ? computer : second;
    if (count == 2) {
        players[1]->setTruck(&trucks[1]);
        players[1]->setLapsToRace(lapsToRace);
    }
    players[0]->setName(count == 1 ? soloName : humanNames[0]);
    if (count == 2) players[1]->setName(humanNames[1]);
    if (waitingForStart) resetRace();
    return true;
}

bool Game::humansFinished() const {
    for (int i = 0; i < humanCount; i++)
        if (trucks[i].getLapCount() != lapsToRace) return false;
    return true;
}

PlayerAI* Game::computerDriver(int i) {
    if (i <= 0 || i >= maxTrucks) return nullptr;
    Player* p = isHuman(i) ? benched : players[i];
    return dynamic_cast<PlayerAI*>(p);
}
