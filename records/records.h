#pragma once
// The user's best lap and best race time on each course, kept in a small text file:
//
//   trailerdash records 1
//   lap 0 41.2799988
//   race 0 263.149994
//
// one value a line, times in seconds. A line that cannot be read costs only its own value.
// The player who set a time is named on a line of its own after it ("by race 0 263.149994 Ada"):
// the name goes with the kept time only when the line repeats it exactly, so a damaged or stale
// name line names nobody, and older games skip the line and keep the times.
// Course files' records are keyed by the course's hash ("lap 9f3a0c21d4e5b678 38.5") and kept
// in a file of their own, so the built-in courses' file stays as every version of the game reads it.
#include <cstdint>
#include <cstdio>

const int recordsFormatVersion = 1;
const int maxRecordCourses = 8;
// Larger files are not ours; no real one comes near (a full course files' part with every
// record named is about 26 KB).
const int maxRecordsFileSize = 32768;
// A record holder's name: printable ASCII, no blank at either end, as the settings take it.
const int recordHolderSize = 25;
// Times outside (0, a day) are not race times.
const float maxRecordSeconds = 86400.0f;
// Course files with records; a course past this many keeps none.
const int maxHashedRecords = 128;

// The two files: the built-in courses' by number, the course files' by hash.
enum RecordsPart { builtInRecords, courseFileRecords };

struct HashedRecord {
    uint64_t hash;
    float lap, race;
    char lapBy[recordHolderSize], raceBy[recordHolderSize];  // empty: nobody named
};

// Whether text can stand as a holder's name (1 to recordHolderSize - 1 printable characters, no
// blank at either end).
bool isRecordName(const char* text);

// What a finished race beat.
enum : int { newLapRecord = 1, newRaceRecord = 2 };

class Records {
public:
    Records();
    void clear();

    // A best time, or 0 when the course has none.
    float bestLap(int course) const;
    float bestRace(int course) const;
    // Who set them: "" when nobody was named.
    const char* lapHolder(int course) const;
    const char* raceHolder(int course) const;
    // Takes the race's times where they beat the kept ones, each with by as its holder (none
    // when null or not a name); returns the newLapRecord and newRaceRecord bits of what changed.
    // A time of 0 or less means none (no lap completed).
    int offer(int course, float raceSeconds, float lapSeconds, const char* by = nullptr);
    // The same for a course file, by its hash; 0 is no course.
    float bestLapOf(uint64_t hash) const;
    float bestRaceOf(uint64_t hash) const;
    const char* lapHolderOf(uint64_t hash) const;
    const char* raceHolderOf(uint64_t hash) const;
    int offerFor(uint64_t hash, float raceSeconds, float lapSeconds, const char* by = nullptr);

    // Reads the text of a records file, keeping every value it can read; what it ignored is
    // said on err. Returns false when the file is from a newer version (nothing is taken).
    // Only the part's values are replaced; lines of the other part are ignored.
    bool parse(const char* text, long length, FILE* err, RecordsPart part = builtInRecords);
    // The part's file text; the length, or -1 when it does not fit.
    int format(char* buffer, int size, RecordsPart part = builtInRecords) const;

    // Reads path: a missing file is no records, anything else is parse. Sets the part's readOnly.
    void load(const char* path, FILE* err, RecordsPart part = builtInRecords);
    // Replaces path atomically with the part's records; false (path untouched) on failure.
    bool save(const char* path, RecordsPart part = builtInRecords) const;

    float laps[maxRecordCourses];
    float races[maxRecordCourses];
    char lapBy[maxRecordCourses][recordHolderSize];
    char raceBy[maxRecordCourses][recordHolderSize];
    // The file on disk is from a newer version of the game, or too large to be ours: it is
    // never replaced, and new records last only for this run.
    bool readOnly;
    HashedRecord hashed[maxHashedRecords];
    int hashedCount;
    bool hashedReadOnly;  // readOnly for the course files' records
};
