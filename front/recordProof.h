#pragma once
// Proving records: a best time stands only when its replay, driven again headlessly, gives that
// very time. The prover keeps a game of its own for this, loaded once on first use, so the game
// on screen is never touched.
#include "front/replayDrive.h"

class CourseLibrary;
class Game;

class RecordProver {
public:
    // library finds the course a course file's replay names (null: only built-in courses).
    // With game given, proves on it (the headless runner's own); otherwise makes one when needed,
    // which must happen with the GL context current and the data folder the working one.
    explicit RecordProver(const CourseLibrary* library, Game* game = nullptr);
    ~RecordProver();
    RecordProver(const RecordProver&) = delete;
    RecordProver& operator=(const RecordProver&) = delete;

    // Drives the replay again; false when it cannot be raced here (its course is missing).
    bool drive(const Replay& replay, ReplayDrive& result);
    // RaceHistory's prover: self is a RecordProver.
    static bool proveForHistory(const Replay& replay, ReplayVerdict& verdict, void* self);

    const Course* extraCourse = nullptr;  // a course outside the library (a file named on a command line)
    double lastSeconds;                   // wall-clock time the last drive took
    int drives;                           // replays driven so far

private:
    const CourseLibrary* library;
    Game* game;
    bool ownsGame;
};
