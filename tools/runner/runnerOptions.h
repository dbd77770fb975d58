#pragma once
// The headless race runner's command line.
#include <cstdint>
#include <cstdio>

#include "race/driverStyle.h"

const int runnerPathSize = 512;

struct RunnerOptions {
    int track;            // course of the first race
    double frameSeconds;  // real length of every frame
    int races;
    bool idle;  // the user's truck gets no keys
    char tracePath[runnerPathSize];
    char dataFolder[runnerPathSize];
    char screenshotFolder[runnerPathSize];
    char recordPath[runnerPathSize];  // the race's replay is written here
    char replayPath[runnerPathSize];  // a replay to play instead of racing
    int drawEvery;                    // frames per drawn frame; 0 draws none
    double maxSeconds;                // simulated seconds per race before it is given up
    bool keep;                        // records and replays kept as the game keeps them
    bool trackGiven;                  // --track was on the command line
    char coursePath[runnerPathSize];  // a course file to race instead of the built-in courses
    bool generate;                    // make a course from a seed and prove it
    uint64_t seed;                    // the first seed --generate tries
    char savePath[runnerPathSize];    // where --generate writes the course it proved
    int choose;                       // Right presses on the title before the first race
    int laps;                         // laps of every race
    Difficulty difficulty;            // the computer drivers' level
    char championship[runnerPathSize];  // --championship's list of courses, empty when not racing one
    bool timeAttack;                  // the user's truck alone, with time attack's screen
    char verifyPath[runnerPathSize];  // a replay to drive again and judge, instead of racing
    int players;                      // humans racing: 1, or 2 with truck 1 on the autopilot too
    bool help;

    RunnerOptions();
};

// Fills options from argv; false, with the reason written to err, for anything it cannot use.
bool parseRunnerOptions(int argc, const char* const* argv, RunnerOptions& options, FILE* err);
void printRunnerUsage(FILE* out);
