#pragma once
// The user's best lap and best race time on each course, kept in a small text file:
//
//   trailerdash records 1
//   lap 0 41.2799988
//   race 0 263.149994
//
// one value a line, times in seconds. A line that cannot be read costs only its own value.
#include <cstdio>

const int recordsFormatVersion = 1;
const int maxRecordCourses = 8;
// Larger files are not ours; no real one comes near.
const int maxRecordsFileSize = 16384;
// Times outside (0, a day) are not race times.
const float maxRecordSeconds = 86400.0f;

// What a finished race beat.
enum : int { newLapRecord = 1, newRaceRecord = 2 };

class Records {
public:
    Records();
    void clear();

    // A best time, or 0 when the course has none.
    float bestLap(int course) const;
    float bestRace(int course) const;
    // Takes the race's times where they beat the kept ones; returns the newLapRecord and
    // newRaceRecord bits of what changed. A time of 0 or less means none (no lap completed).
    int offer(int course, float raceSeconds, float lapSeconds);

    // Reads the text of a records file, keeping every value it can read; what it ignored is
    // said on err. Returns false when the file is from a newer version (nothing is taken).
    bool parse(const char* text, long length, FILE* err);
    // The file's text; the length, or -1 when it does not fit.
    int format(char* buffer, int size) const;

    // Reads path: a missing file is no records, anything else is parse. Sets readOnly.
    void load(const char* path, FILE* err);
    // Replaces path atomically with these records; false (path untouched) on failure.
    bool save(const char* path) const;

    float laps[maxRecordCourses];
    float races[maxRecordCourses];
    // The file on disk is from a newer version of the game, or too large to be ours: it is
    // never replaced, and new records last only for this run.
    bool readOnly;
};
