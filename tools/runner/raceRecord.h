#pragma once
// What the runner keeps of one race: every truck's lap times as they complete, who finished
// and when, and how long the race ran. Printed as the race's results table.
#include <cstdio>

class Game;

const int recordTrucks = 5;
const int maxRecordedLaps = 16;
const int recordNameSize = 128;

struct TruckRecord {
    char name[recordNameSize];
    float lapTimes[maxRecordedLaps];
    int lapsRecorded;
    int lapsSeen;  // the truck's lap count at the last look
    bool finished;
    float finishTime;
};

struct RaceRecord {
    int raceNumber;  // from 1
    int course;
    int truckCount;
    TruckRecord trucks[recordTrucks];
    long long frames;
    double simulatedSeconds;  // the runner's clock: frames times their length
    double gameSeconds;       // the game's own time steps added up: what the world was advanced by
    bool timedOut;

    // A fresh record for the race about to start on course.
    void begin(int number, int courseIndex, const Game& game);
    // After each frame: new laps, finishes, the elapsed time and the game's time step.
    void observe(const Game& game, double frameSeconds);
    // Every truck that should finish has: all of them, or all computer trucks when idle.
    bool complete(bool idle) const;
    // The results table, lap times and simulated duration; identical for identical races.
    void print(FILE* out) const;
};
