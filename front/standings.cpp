#include "front/standings.h"

// True when truck a stands ahead of truck b.
static bool ahead(const Standings& s, int a, int b) {
    if (s.points[a] != s.points[b]) return s.points[a] > s.points[b];
    for (int p = 0; p < championshipTrucks; p++)
        if (s.placeCounts[a][p] != s.placeCounts[b][p]) return s.placeCounts[a][p] > s.placeCounts[b][p];
    if (s.lastPlace[a] != s.lastPlace[b]) return s.lastPlace[a] < s.lastPlace[b];
    return a < b;
}

Standings standingsAfter(const ChampionshipProgress& progress, int races) {
    Standings s = {};
    s.races = races < progress.racesRun ? races : progress.racesRun;
    if (s.races < 0) s.races = 0;
    for (int t = 0; t < championshipTrucks; t++) s.lastPlace[t] = -1;
    for (int r = 0; r < s.races; r++) {
        for (int p = 0; p < championshipTrucks; p++) {
            int t = progress.places[r][p];
            if (t < 0 || t >= championshipTrucks) continue;
            s.points[t] += placePoints[p];
            s.placeCounts[t][p]++;
            s.lastPlace[t] = p;
        }
    }
    // An insertion sort of five.
    for (int t = 0; t < championshipTrucks; t++) s.order[t] = t;
    for (int i = 1; i < championshipTrucks; i++)
        for (int k = i; k > 0 && ahead(s, s.order[k], s.order[k - 1]); k--) {
            int swap = s.order[k];
            s.order[k] = s.order[k - 1];
            s.order[k - 1] = swap;
        }
    return s;
}

void gridFromStandings(const Standings& standings, int truckAtSlot[championshipTrucks]) {
    for (int slot = 0; slot < championshipTrucks; slot++) truckAtSlot[slot] = standings.order[slot];
}
