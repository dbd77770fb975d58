#pragma once
// Driving a recorded race again, frame by frame, with no window: the frame's messages into the
// keys and the mouse as the window procedure takes them, the counter moved by the recorded step,
// then the game's own frame, undrawn. The simulation is deterministic, so the user's truck must
// stand after every frame exactly where the recording says it stood.
#include <cstdint>

#include "race/raceHistory.h"

class Game;
class Replay;
class ScriptedPlatform;
class ScreenOverRace;
struct Course;
class Truck;
class Track;

// Checkpoints timed in one race: 10 laps of up to 50 checkpoints, with room to spare.
const int maxSplits = 512;

// The race clock each time the user's truck took its next checkpoint, in the order taken. The
// checkpoints count only in order, so split k of two races is the same checkpoint of the same lap.
struct SplitTimes {
    int count;
    int lastProgress;  // checkpoints taken when last noted
    float seconds[maxSplits];

    // Starts over for a race whose truck has taken progress checkpoints so far (0 on the grid).
    void begin(int progress);
    // Notes the clock when progress has moved on since the last call; true when it has.
    bool note(int progress, float seconds);
};

// Checkpoints a truck has taken since the start: every lap's, then this lap's.
int checkpointProgress(const Truck& truck, const Track& track);

// What driving a replay again gave.
struct ReplayDrive {
    bool reproduced;      // every frame run matched the recorded pose (both humans' in a two-player race)
    int firstDifference;  // the first frame that did not, -1 when none
    int framesRun;
    bool finished;         // the user's truck completed its laps
    float raceSeconds;     // its finish time, when finished
    float bestLapSeconds;  // its best lap at the finish
    SplitTimes splits;
};

// Puts the game on the grid of the replay's course, laps, level and computer trucks, its keys
// as they were held at the start and its clock at counter 0 of the replay's frequency. course is
// the course file a version 3 or 4 replay names (null for a built-in course). False when the game
// cannot race it (a course it lacks).
bool setUpForReplay(Game& game, const Replay& replay, const Course* course);

// Runs frames [from, to) of the replay on clock (which must be the platform in use), comparing
// each pose into drive when given; over, when given, takes its turn in every frame as on screen.
// Call setUpForReplay first for from 0.
void driveReplayFrames(Game& game, const Replay& replay, ScriptedPlatform& clock, int from, int to, ReplayDrive* drive,
                       ScreenOverRace* over = nullptr);

// The whole replay on a game of its own set up here, with the shared state (platform, keys, mouse,
// clock values) put back afterwards, so a game on screen is not disturbed. False when it cannot
// be raced.
bool driveWholeReplay(Game& game, const Replay& replay, const Course* course, ReplayDrive& drive);
