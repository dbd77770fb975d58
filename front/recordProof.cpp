#include "front/recordProof.h"

#include <chrono>

#include "core/timing.h"
#include "race/game.h"
#include "track/courseFile.h"
#include "records/replay.h"
#include "track/courseLibrary.h"

RecordProver::RecordProver(const CourseLibrary* l, Game* g)
    : lastSeconds(0.0), drives(0), library(l), game(g), ownsGame(false) {}

RecordProver::~RecordProver() {
    if (ownsGame) delete game;
}

bool RecordProver::drive(const Replay& replay, ReplayDrive& result) {
    const Course* course = nullptr;
    if (replay.courseHash) {
        int at = library ? library->find(replay.courseHash) : -1;
        if (at >= 0)
            course = &library->entry(at).course;
        else if (extraCourse && courseHash(*extraCourse) == replay.courseHash)
            course = extraCourse;
        else
            return false;
    }
    if (!game) {
        // Making and loading a game sets the shared clock's frequency; the game on screen keeps its own.
        int64_t frequency = perfFrequency;
        game = new Game();
        ownsGame = true;
        game->load();
        perfFrequency = frequency;
    }
    auto started = std::chrono::steady_clock::now();
    bool raced = driveWholeReplay(*game, replay, course, result);
    lastSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    drives++;
    return raced;
}

bool RecordProver::proveForHistory(const Replay& replay, ReplayVerdict& verdict, void* self) {
    ReplayDrive* result = new ReplayDrive();
    bool raced = static_cast<RecordProver*>(self)->drive(replay, *result);
    verdict = {raced && result->reproduced, result->finished, result->raceSeconds, result->bestLapSeconds};
    delete result;
    return raced;
}
