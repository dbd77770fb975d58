#pragma once
// Runs whole races with no window: a hidden GL context, a scripted clock that advances by
// exactly one frame length per frame, and key messages posted through the game's own window
// procedure, with the autopilot at the wheel of the user's truck.
#include <cstdint>
#include <cstdio>

#include "core/platform.h"
#include "race/autopilot.h"
#include "tools/runner/raceRecord.h"
#include "tools/runner/runnerOptions.h"
#include "track/course.h"

class Championship;
class CourseChoice;
class CourseLibrary;
class Game;
struct ChampionshipProgress;
class RecordProver;
class QuickRaceReplay;
class TimeAttack;
class MainLoop;
class Replay;

// Counts per second of the runner's clock.
const int64_t runnerClockFrequency = 1000000000;
// Screenshots: how far into the race the race view is taken, and how long A is held for the
// zoomed view after it.
const double raceShotSeconds = 8.0;
const double zoomHoldSeconds = 1.5;
// After the zoomed view is undone, how long until the missed-checkpoint picture.
const double cueShotDelaySeconds = 1.0;
// Exit code of a run whose trace, screenshots or results could not all be written. A run
// stopped by a signal exits with 128 + its number, as a shell reports it.
const int runnerOutputFailed = 3;

class RaceRunner {
public:
    RaceRunner(const RunnerOptions& options, FILE* out);
    ~RaceRunner();

    // The context, the data folder, the textures and the game; false (said on err) on failure.
    bool start(FILE* err);
    // Every race in turn, until a signal or a failed write stops the run after its frame; the
    // exit code: 0 when every truck that should finish did, else 1, runnerOutputFailed or 128 + signal.
    int runRaces();
    // One race from the Space press that starts it to its last finisher or the time limit.
    bool runRace(int number);
    // The loaded replay, frame by frame as it was recorded; true when every truck that should
    // finish did.
    bool runReplay();
    // --verify: drives the loaded replay again and prints the verdict; the exit code (0 verified,
    // 1 not).
    int verify();
    void shutDown();
    // --championship: its races in turn, the standings printed after each; the exit code's
    // part: true when every truck finished every race.
    bool runChampionship();
    // Every race from the next one on runs on this course alone, from the title.
    void raceOn(const Course& course);
    // --generate: courses from the seed on until one is proved; the exit code.
    int generate();
    // Hands every waiting message to the loop, then runs one frame (drawn or not) at the clock's
    // counter and writes its trace.
    void drainAndRunFrame();
    // No further frame should run: a stop signal came or an output file failed.
    bool stopping() const;
    // Flushes and closes the trace and flushes out; false when this or any earlier write failed.
    bool finishOutput();

    RunnerOptions options;
    FILE* out;
    FILE* trace;
    ScriptedPlatform clock;
    Game* game;
    MainLoop* loop;
    Autopilot autopilot;
    Autopilot secondPilot;  // player two's, in a two-player race
    RaceRecord record;
    int64_t frameCounts;  // counter counts per frame
    long long frame;      // frames run since start, over all races
    bool held[256];       // keys the runner holds down
    bool drawNext;        // the next frame is drawn whatever drawEvery says
    Replay* replay;       // what --replay plays; null when racing
    bool outputFailed;    // a write or close failed; said on stderr once
    Course course;        // what --course races
    CourseChoice* choice;  // the title's list, with --choose
    Championship* championship;    // with --championship
    ChampionshipProgress* plan;    // its courses, read before the data folder is entered
    CourseLibrary* library;        // the game's courses, where a championship's files are found
    TimeAttack* timeAttack;  // the mode's screen, with --time-attack
    RecordProver* prover;    // drives best and studio runs again for time attack
    QuickRaceReplay* quickReplay;  // a quick race's countdown and pause menu, replayed

private:
    // Runs one frame of the game's loop after posting the key changes to reach wanted.
    void runFrame(const bool* wanted);

    void setKey(int code, bool down);
    void writeTrace();
    void shoot(const char* what);
    void shootMissedCheckpoint();
    void outputFailure(const char* what);
};
