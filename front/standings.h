#pragma once
// A championship's points and standings, worked out from its results alone: the progress file
// keeps only who finished where, so the table can never disagree with the races.
#include "records/championshipProgress.h"

// Points per finishing place, winner first: a win is clearly worth more than a second place, a
// better place always gains, and with only five trucks every place scores something.
const int placePoints[championshipTrucks] = {10, 6, 4, 3, 2};

struct Standings {
    int races;                                          // races counted
    int order[championshipTrucks];                      // trucks, leader first
    int points[championshipTrucks];                     // by truck
    int placeCounts[championshipTrucks][championshipTrucks];  // by truck: races finished in each place
    int lastPlace[championshipTrucks];                  // by truck: place in the latest race, -1 before any
};

// The standings after the first races of progress (all it has run when races is larger). Equal
// points go to the truck with more wins, then more second places and so on; trucks alike in all
// of those (which only happens before the first race) to the better place in the latest race,
// then to the lower truck number.
Standings standingsAfter(const ChampionshipProgress& progress, int races);

// The next race's grid from the standings: the leader starts at the back, the last truck on the
// front row. truckAtSlot is in the race's own grid slots (slot 0 at the back), so before the
// first race, all level, it is the classic grid.
void gridFromStandings(const Standings& standings, int truckAtSlot[championshipTrucks]);
