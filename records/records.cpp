#include "records/records.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "records/storage.h"

static const char versionWord[] = "trailerdash records";

Records::Records() { clear(); }

void Records::clear() {
    for (int i = 0; i < maxRecordCourses; i++) laps[i] = races[i] = 0.0f;
    readOnly = false;
    hashedCount = 0;
    hashedReadOnly = false;
}

static bool validCourse(int course) { return course >= 0 && course < maxRecordCourses; }
static bool validTime(float t) { return t > 0.0f && t < maxRecordSeconds; }

float Records::bestLap(int course) const { return validCourse(course) ? laps[course] : 0.0f; }
float Records::bestRace(int course) const { return validCourse(course) ? races[course] : 0.0f; }

int Records::offer(int course, float raceSeconds, float lapSeconds) {
    if (!validCourse(course)) return 0;
    int beaten = 0;
    if (validTime(lapSeconds) && (laps[course] == 0.0f || lapSeconds < laps[course])) {
        laps[course] = lapSeconds;
        beaten |= newLapRecord;
    }
    if (validTime(raceSeconds) && (races[course] == 0.0f || raceSeconds < races[course])) {
        races[course] = raceSeconds;
        beaten |= newRaceRecord;
    }
    return beaten;
}

// The index of hash's entry, or -1.
static int findHashed(const HashedRecord* list, int count, uint64_t hash) {
    for (int i = 0; i < count; i++)
        if (list[i].hash == hash) return i;
    return -1;
}

float Records::bestLapOf(uint64_t hash) const {
    int i = findHashed(hashed, hashedCount, hash);
    return i >= 0 ? hashed[i].lap : 0.0f;
}

float Records::bestRaceOf(uint64_t hash) const {
    int i = findHashed(hashed, hashedCount, hash);
    return i >= 0 ? hashed[i].race : 0.0f;
}

int Records::offerFor(uint64_t hash, float raceSeconds, float lapSeconds) {
    if (hash == 0 || (!validTime(raceSeconds) && !validTime(lapSeconds))) return 0;
    int i = findHashed(hashed, hashedCount, hash);
    if (i < 0) {
        // A full table keeps the courses it has; the new one goes unrecorded.
        if (hashedCount >= maxHashedRecords) return 0;
        i = hashedCount++;
        hashed[i] = {hash, 0.0f, 0.0f};
    }
    HashedRecord* r = &hashed[i];
    int beaten = 0;
    if (validTime(lapSeconds) && (r->lap == 0.0f || lapSeconds < r->lap)) {
        r->lap = lapSeconds;
        beaten |= newLapRecord;
    }
    if (validTime(raceSeconds) && (r->race == 0.0f || raceSeconds < r->race)) {
        r->race = raceSeconds;
        beaten |= newRaceRecord;
    }
    return beaten;
}

// The words of a line, split at blanks: how many, or -1 when there are more than max.
static int splitWords(const char* line, const char** words, int* lengths, int max) {
    int count = 0;
    for (const char* at = line; *at;) {
        if (strchr(" \t\v\f\r", *at)) {
            at++;
            continue;
        }
        if (count == max) return -1;
        words[count] = at;
        while (*at && !strchr(" \t\v\f\r", *at)) at++;
        lengths[count] = (int)(at - words[count]);
        count++;
    }
    return count;
}

static bool isWord(const char* word, int length, const char* expected) {
    return (size_t)length == strlen(expected) && memcmp(word, expected, (size_t)length) == 0;
}

// Plain decimal digits up to most, checked before they can overflow: a number past the range
// is refused, never wrapped onto one inside it.
static bool parseWhole(const char* word, int length, long long most, long long& value) {
    if (length < 1) return false;
    long long v = 0;
    for (int i = 0; i < length; i++) {
        if (word[i] < '0' || word[i] > '9') return false;
        int digit = word[i] - '0';
        if (v > most / 10 || v * 10 > most - digit) return false;
        v = v * 10 + digit;
    }
    value = v;
    return true;
}

// A time as the game writes it (digits, a point, an exponent): no "inf", "nan" or hex floats.
static bool parseSeconds(const char* word, int length, float& seconds) {
    char number[64];
    if (length < 1 || length >= (int)sizeof number) return false;
    memcpy(number, word, (size_t)length);
    number[length] = '\0';
    if (strspn(number, "0123456789.eE+-") != (size_t)length) return false;
    char* end = nullptr;
    errno = 0;
    float t = strtof(number, &end);
    if (errno != 0 || *end != '\0' || !validTime(t)) return false;
    seconds = t;
    return true;
}

// "trailerdash records N" with N from 1 up; false for anything different.
static bool parseVersionLine(const char* line, int& version) {
    const char* words[4];
    int lengths[4];
    long long v;
    if (splitWords(line, words, lengths, 4) != 3 || !isWord(words[0], lengths[0], "trailerdash") ||
        !isWord(words[1], lengths[1], "records") || !parseWhole(words[2], lengths[2], INT_MAX, v) || v < 1)
        return false;
    version = (int)v;
    return true;
}

// A course file's key: exactly sixteen hex digits, not all zero.
static bool parseHash(const char* word, int length, uint64_t& hash) {
    if (length != 16) return false;
    uint64_t v = 0;
    for (int i = 0; i < length; i++) {
        char c = word[i];
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) return false;
        v = v << 4 | (uint64_t)digit;
    }
    hash = v;
    return v != 0;
}

// "lap KEY SECONDS" or "race KEY SECONDS" and nothing else, KEY a course number for the
// built-in part and a hash for the course files'; false for anything different.
static bool parseLine(const char* line, RecordsPart part, bool& isLap, int& course, uint64_t& hash, float& seconds) {
    const char* words[4];
    int lengths[4];
    if (splitWords(line, words, lengths, 4) != 3) return false;
    if (isWord(words[0], lengths[0], "lap")) {
        isLap = true;
    } else if (isWord(words[0], lengths[0], "race")) {
        isLap = false;
    } else {
        return false;
    }
    long long c = 0;
    float t;
    bool keyRead = part == builtInRecords ? parseWhole(words[1], lengths[1], maxRecordCourses - 1, c)
                                          : parseHash(words[1], lengths[1], hash);
    if (!keyRead || !parseSeconds(words[2], lengths[2], t)) return false;
    course = (int)c;
    seconds = t;
    return true;
}

bool Records::parse(const char* text, long length, FILE* err, RecordsPart part) {
    bool& partReadOnly = part == builtInRecords ? readOnly : hashedReadOnly;
    partReadOnly = false;
    if (part == builtInRecords)
        for (int i = 0; i < maxRecordCourses; i++) laps[i] = races[i] = 0.0f;
    else
        hashedCount = 0;
    Records found;
    int lineNumber = 0;
    bool versionSeen = false;
    long at = 0;
    while (at < length) {
        long end = at;
        while (end < length && text[end] != '\n') end++;
        lineNumber++;
        // A line longer than this is garbage whatever it holds.
        char line[128];
        long n = end - at;
        bool tooLong = n >= (long)sizeof line;
        if (!tooLong) {
            memcpy(line, text + at, (size_t)n);
            line[n] = '\0';
            if (n > 0 && line[n - 1] == '\r') line[n - 1] = '\0';
        }
        // A file cut off mid-line has no newline after its last line: that line is not trusted.
        bool cut = end >= length;
        at = end + 1;
        if (!tooLong && line[0] == '\0') continue;
        int version;
        if (lineNumber == 1 && !tooLong && parseVersionLine(line, version)) {
            if (version > recordsFormatVersion) {
                if (err)
                    fprintf(err, "trailerdash: the records file is from a newer version (%d); it is left as it is\n",
                            version);
                partReadOnly = true;
                return false;
            }
            versionSeen = true;
            continue;
        }
        bool isLap;
        int course;
        uint64_t hash = 0;
        float seconds;
        if (tooLong || cut || !parseLine(line, part, isLap, course, hash, seconds)) {
            if (err)
                fprintf(err, "trailerdash: records line %d %s; ignored\n", lineNumber,
                        cut ? "is cut short" : "cannot be read");
            continue;
        }
        // The same course twice keeps the better time.
        if (part == builtInRecords)
            found.offer(course, isLap ? 0.0f : seconds, isLap ? seconds : 0.0f);
        else
            found.offerFor(hash, isLap ? 0.0f : seconds, isLap ? seconds : 0.0f);
    }
    if (!versionSeen && length > 0 && err)
        fprintf(err, "trailerdash: the records file has no \"%s\" line\n", versionWord);
    if (part == builtInRecords) {
        memcpy(laps, found.laps, sizeof laps);
        memcpy(races, found.races, sizeof races);
    } else {
        memcpy(hashed, found.hashed, sizeof hashed);
        hashedCount = found.hashedCount;
    }
    return true;
}

int Records::format(char* buffer, int size, RecordsPart part) const {
    int used = snprintf(buffer, (size_t)size, "%s %d\n", versionWord, recordsFormatVersion);
    for (int i = 0; part == courseFileRecords && i < hashedCount && used >= 0 && used < size; i++) {
        const HashedRecord& r = hashed[i];
        if (r.lap > 0.0f) used += snprintf(buffer + used, (size_t)(size - used), "lap %016llx %.9g\n",
                                           (unsigned long long)r.hash, r.lap);
        if (used >= size) break;
        if (r.race > 0.0f) used += snprintf(buffer + used, (size_t)(size - used), "race %016llx %.9g\n",
                                            (unsigned long long)r.hash, r.race);
    }
    for (int c = 0; part == builtInRecords && c < maxRecordCourses && used >= 0 && used < size; c++) {
        // %.9g gives back the same float when read.
        if (laps[c] > 0.0f) used += snprintf(buffer + used, (size_t)(size - used), "lap %d %.9g\n", c, laps[c]);
        if (used >= size) break;
        if (races[c] > 0.0f) used += snprintf(buffer + used, (size_t)(size - used), "race %d %.9g\n", c, races[c]);
    }
    return used >= 0 && used < size ? used : -1;
}

void Records::load(const char* path, FILE* err, RecordsPart part) {
    bool& partReadOnly = part == builtInRecords ? readOnly : hashedReadOnly;
    parse("", 0, nullptr, part);
    static char text[maxRecordsFileSize];
    bool tooLong;
    long n = readWholeFile(path, text, sizeof text, tooLong);
    if (n < 0) {
        if (errno != ENOENT && err) fprintf(err, "trailerdash: cannot read %s: %s\n", path, strerror(errno));
        return;
    }
    if (tooLong) {
        // Not ours, or not any more: read what the first part holds, and never write over it.
        if (err) fprintf(err, "trailerdash: %s is too large to be a records file; it is left as it is\n", path);
        partReadOnly = true;
    }
    bool newerFlag = partReadOnly;
    parse(text, n, err, part);
    partReadOnly = partReadOnly || newerFlag;
}

bool Records::save(const char* path, RecordsPart part) const {
    char text[maxRecordsFileSize];
    int n = format(text, sizeof text, part);
    return n >= 0 && writeFileAtomically(path, text, (size_t)n);
}
