#pragma once
// What the game keeps of the user's races: the best times per course, a replay of every race
// driven, and the ghost that drives the best race again beside the user. Nothing is kept or
// written until keepIn names a folder, so tests and tools run without touching the disk.
#include <cstdint>
#include <cstdio>

#include "records/records.h"
#include "records/replay.h"
#include "records/storage.h"
#include "vehicle/truck.h"

class Game;

// What a best replay did when the game drove it again: every frame where the recorded one stood,
// and the user's finish. reproduced is false when any frame differed or it could not be played.
struct ReplayVerdict {
    bool reproduced;
    bool finished;
    float raceSeconds;
    float bestLapSeconds;
};
// Drives a replay again, headlessly, and says what it did; false when it could not be played at all.
typedef bool (*ReplayProver)(const Replay& replay, ReplayVerdict& verdict, void* user);

// Whether a record's replay, driven again, gave its time: not looked at (no prover, or no record),
// proved, or not proved (the replay is missing, damaged, or drives to another time).
enum RecordProof { proofNotChecked, proofHeld, proofFailed };
// Courses of each kind of race whose records' proofs are kept.
const int maxProvenRecords = 64;

// The course of the race on the game's current track: a built-in course by its number (also when
// a course file holds one of them exactly), any other course file by its hash and name.
CourseKey courseKeyOf(const Game& game);

// Messages that reached the window procedure since the last frame; more than this between two
// frames leaves the race that starts in that frame unrecorded.
const int maxPendingMessages = 1024;
// The ghost's opacity.
const float ghostAlpha = 0.4f;

class RaceHistory {
public:
    RaceHistory();

    // Keeps records and replays in folder, made when missing; loads the records found there and,
    // with a prover set, drives each record's replay again to prove it.
    void keepIn(const char* folder, FILE* err);
    void setProver(ReplayProver p, void* user) {
        prover = p;
        proverUser = user;
    }
    // Every race's replay is also written to path (absolute), as it ends.
    void alsoRecordTo(const char* path);
    bool keeping() const { return folder[0] != '\0'; }

    // The loop's hooks: a message handed to the window procedure, the frame's counter
    // advance, a race started by Space, and the end of the frame's update.
    void noteMessage(unsigned message, uint64_t wParam, int64_t lParam);
    void noteCounterDelta(int64_t delta) { frameDelta = delta; }
    void raceStarted(const Game& game);
    void frameEnded(const Game& game);
    // The program ends: the race under way is kept as it stands.
    void stop();

    void toggleGhost() { ghostShown = !ghostShown; }
    // A screen above held the race as its replay cannot show (a pause menu): from here the race
    // sets no records and leaves no replay.
    void dropRace() { recordingOn = false; }
    // Set by a screen above the race for races unlike the classic one (other laps, a
    // countdown): they show the ghost but set no records and leave no replay.
    bool offRecord = false;
    // Set by a screen above the race whose races wait for its countdown: their replays say so.
    bool countdownStart = false;
    // The player named beside the records the user sets ("" names nobody, as the classic race
    // with no settings of the player's own).
    char holder[recordHolderSize] = {};
    bool ghostVisible(const Game& game) const;
    // The ghost where the best race stood at this point of its clock, in the world view.
    void drawGhost(const Game& game);

    // Path of a file in the folder: "records", "course-records", "last.replay", "best-courseN.replay"
    // or "best-HASH.replay", "bestlap-..." (the race that set the lap record), and the same with
    // "alone-" in front for races with no computer trucks (time attack), whose records are their own.
    bool pathOf(const char* name, char* buffer, int size) const;
    // The best times on the course of the game's current track, 0 when it has none.
    float bestLap(const Game& game) const;
    float bestRace(const Game& game) const;
    // Who set them, "" when nobody was named.
    const char* lapHolder(const Game& game) const;
    const char* raceHolder(const Game& game) const;
    // Whether those records were proved by their replays.
    RecordProof lapProof(const Game& game) const;
    RecordProof raceProof(const Game& game) const;
    // The best race's replay of the current course and kind of race, in replay; false when none.
    bool loadBest(const Game& game, Replay& replay) const;
    // Drives a replay file again and compares; the verdict's proof of the time given.
    RecordProof prove(const char* path, float seconds, bool lap);

    Records records;
    Records aloneRecords;  // races with no computer trucks
    // What the user's last finished race beat (newLapRecord, newRaceRecord), for the results.
    int lastBeaten;
    Replay recording;
    bool recordingOn;
    Replay ghostRun;
    bool ghostLoaded;
    bool ghostShown;
    int ghostFrame;
    double ghostSeconds;  // the best race's clock at ghostFrame

private:
    struct ProvenRecord {
        bool alone;
        int index;
        uint64_t hash;
        RecordProof lap, race;
    };
    void finishRecording();
    // The finished race's times against the records of its course and kind of race.
    void offerRecords(float raceSeconds, float lapSeconds);
    void loadGhost(const CourseKey& course);
    void saveRecords(RecordsPart part);
    void proveAll(bool alone);
    // The proof entry of a course, made when asked and there is room; null otherwise.
    ProvenRecord* proofEntry(bool alone, const CourseKey& course, bool make);
    const ProvenRecord* proofEntry(bool alone, const CourseKey& course) const;
    Records& recordsFor(bool alone) { return alone ? aloneRecords : records; }

    ReplayProver prover = nullptr;
    void* proverUser = nullptr;
    ProvenRecord proofs[maxProvenRecords];
    int proofCount = 0;
    bool raceAlone = false;  // the race under way has no computer trucks
    bool recordingIsBestLap = false;
    void cannotWrite(const char* path);

    char folder[storagePathSize];
    char extraPath[storagePathSize];
    int64_t frameDelta;
    ReplayMessage pending[maxPendingMessages];
    int pendingCount;
    bool pendingOverflow;
    bool userFinished;
    bool recordingIsBest;
    bool warned;
    CourseKey raceCourse;  // of the race under way, or the last one
    Truck ghostTruck;  // drawn only; never in the physics world
};
