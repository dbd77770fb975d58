#include "tools/runner/raceRecord.h"

#include <cstring>

#include "core/timing.h"
#include "race/game.h"
#include "race/player.h"

void RaceRecord::begin(int number, int courseIndex, const Game& game) {
    raceNumber = number;
    course = courseIndex;
    truckCount = game.truckCount < recordTrucks ? game.truckCount : recordTrucks;
    for (int i = 0; i < recordTrucks; i++) {
        TruckRecord& t = trucks[i];
        memset(t.name, 0, sizeof t.name);
        if (i < truckCount && game.players[i]) snprintf(t.name, sizeof t.name, "%s", game.players[i]->getName());
        t.lapsRecorded = 0;
        t.lapsSeen = 0;
        t.finished = false;
        t.finishTime = 0;
    }
    frames = 0;
    simulatedSeconds = 0;
    gameSeconds = 0;
    timedOut = false;
}

void RaceRecord::observe(const Game& game, double frameSeconds) {
    frames++;
    simulatedSeconds = (double)frames * frameSeconds;
    // The step the game took, clamped and scaled as it does; a paused frame moves nothing.
    if (!game.paused) gameSeconds += frameTime;
    for (int i = 0; i < truckCount; i++) {
        TruckRecord& t = trucks[i];
        const Truck& truck = game.trucks[i];
        // A lap completed in this frame; the truck keeps only its last, so read it now.
        if (truck.getLapCount() > t.lapsSeen) {
            if (t.lapsRecorded < maxRecordedLaps) t.lapTimes[t.lapsRecorded++] = truck.getLastLapTime();
        }
        t.lapsSeen = truck.getLapCount();
        const Player* player = game.players[i];
        if (player && !t.finished && player->isFinished()) {
            t.finished = true;
            t.finishTime = player->getTime();
        }
    }
}

bool RaceRecord::complete(bool idle) const {
    for (int i = idle ? 1 : 0; i < truckCount; i++)
        if (!trucks[i].finished) return false;
    return true;
}

void RaceRecord::print(FILE* out) const {
    // Finishers by finish time, then the rest by truck; an insertion sort of five.
    int order[recordTrucks];
    for (int i = 0; i < truckCount; i++) order[i] = i;
    for (int i = 1; i < truckCount; i++) {
        for (int k = i; k > 0; k--) {
            const TruckRecord& a = trucks[order[k - 1]];
            const TruckRecord& b = trucks[order[k]];
            bool later = (!a.finished && b.finished) || (a.finished && b.finished && b.finishTime < a.finishTime);
            if (!later) break;
            int swap = order[k];
            order[k] = order[k - 1];
            order[k - 1] = swap;
        }
    }
    char text[raceTimeTextSize];
    fprintf(out, "Race %d on course %d\n", raceNumber, course);
    fprintf(out, "Place  Truck  Name          Finish    Laps  Best lap\n");
    for (int p = 0; p < truckCount; p++) {
        const TruckRecord& t = trucks[order[p]];
        char finish[raceTimeTextSize] = "--:--:--";
        if (t.finished) formatRaceTime(t.finishTime, finish);
        char best[raceTimeTextSize] = "--:--:--";
        if (t.lapsRecorded > 0) {
            float b = t.lapTimes[0];
            for (int l = 1; l < t.lapsRecorded; l++)
                if (t.lapTimes[l] < b) b = t.lapTimes[l];
            formatRaceTime(b, best);
        }
        fprintf(out, "%-5d  %-5d  %-12.12s  %-8s  %-4d  %s\n", p + 1, order[p], t.name, finish, t.lapsSeen, best);
    }
    fprintf(out, "Lap times:\n");
    for (int i = 0; i < truckCount; i++) {
        fprintf(out, "  %-12.12s", trucks[i].name);
        for (int l = 0; l < trucks[i].lapsRecorded; l++) {
            formatRaceTime(trucks[i].lapTimes[l], text);
            fprintf(out, " %s", text);
        }
        fprintf(out, "\n");
    }
    fprintf(out, "Simulated: %.3f s in %lld frames\n", gameSeconds, frames);
    if (timedOut) fprintf(out, "Time limit reached: not every truck finished\n");
}
