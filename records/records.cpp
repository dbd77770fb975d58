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
    memset(lapBy, 0, sizeof lapBy);
    memset(raceBy, 0, sizeof raceBy);
    readOnly = false;
    hashedCount = 0;
    hashedReadOnly = false;
}

static bool validCourse(int course) { return course >= 0 && course < maxRecordCourses; }
static bool validTime(float t) { return t > 0.0f && t < maxRecordSeconds; }

bool isRecordName(const char* text) {
    if (!text) return false;
    size_t n = strnlen(text, recordHolderSize);
    if (n < 1 || n >= (size_t)recordHolderSize || text[0] == ' ' || text[n - 1] == ' ') return false;
    for (size_t i = 0; i < n; i++)
        if (text[i] < ' ' || text[i] > '~') return false;
    return true;
}

// The holder's field set to by, or emptied when by is no name.
static void setHolder(char* field, const char* by) {
    if (isRecordName(by))
        snprintf(field, recordHolderSize, "%s", by);
    else
        field[0] = '\0';
}

float Records::bestLap(int course) const { return validCourse(course) ? laps[course] : 0.0f; }
float Records::bestRace(int course) const { return validCourse(course) ? races[course] : 0.0f; }
const char* Records::lapHolder(int course) const { return validCourse(course) ? lapBy[course] : ""; }
const char* Records::raceHolder(int course) const { return validCourse(course) ? raceBy[course] : ""; }

// Takes seconds into kept (and by into holder) when it beats it; the bit when it did.
static int offerOne(float& kept, char* holder, float seconds, const char* by, int bit) {
    if (!validTime(seconds) || (kept != 0.0f && !(seconds < kept))) return 0;
    kept = seconds;
    setHolder(holder, by);
    return bit;
}

int Records::offer(int course, float raceSeconds, float lapSeconds, const char* by) {
    if (!validCourse(course)) return 0;
    return offerOne(laps[course], lapBy[course], lapSeconds, by, newLapRecord) |
           offerOne(races[course], raceBy[course], raceSeconds, by, newRaceRecord);
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

const char* Records::lapHolderOf(uint64_t hash) const {
    int i = findHashed(hashed, hashedCount, hash);
    return i >= 0 ? hashed[i].lapBy : "";
}

const char* Records::raceHolderOf(uint64_t hash) const {
    int i = findHashed(hashed, hashedCount, hash);
    return i >= 0 ? hashed[i].raceBy : "";
}

int Records::offerFor(uint64_t hash, float raceSeconds, float lapSeconds, const char* by) {
    if (hash == 0 || (!validTime(raceSeconds) && !validTime(lapSeconds))) return 0;
    int i = findHashed(hashed, hashedCount, hash);
    if (i < 0) {
        // A full table keeps the courses it has; the new one goes unrecorded.
        if (hashedCount >= maxHashedRecords) return 0;
        i = hashedCount++;
        hashed[i] = {hash, 0.0f, 0.0f, "", ""};
    }
    HashedRecord* r = &hashed[i];
    return offerOne(r->lap, r->lapBy, lapSeconds, by, newLapRecord) |
           offerOne(r->race, r->raceBy, raceSeconds, by, newRaceRecord);
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
static bool parseHash(const char* word, int length, uint64_t& hash);

// KIND KEY SECONDS, KIND "lap" or "race".
static bool parseTimeWords(const char* const* words, const int* lengths, RecordsPart part, bool& isLap, int& course,
                           uint64_t& hash, float& seconds) {
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
    return parseTimeWords(words, lengths, part, isLap, course, hash, seconds);
}

// "by KIND KEY SECONDS NAME": the holder of the time the line repeats; NAME is the rest of the
// line, blanks inside it kept. False for anything different.
static bool parseHolderLine(const char* line, RecordsPart part, bool& isLap, int& course, uint64_t& hash,
                            float& seconds, char* name) {
    const char* words[4];
    int lengths[4];
    const char* at = line;
    for (int w = 0; w < 4; w++) {
        while (*at == ' ' || *at == '\t') at++;
        words[w] = at;
        while (*at && *at != ' ' && *at != '\t') at++;
        lengths[w] = (int)(at - words[w]);
        if (lengths[w] == 0) return false;
    }
    if (!isWord(words[0], lengths[0], "by") || (*at != ' ' && *at != '\t')) return false;
    while (*at == ' ' || *at == '\t') at++;
    size_t n = strlen(at);
    while (n > 0 && strchr(" \t\v\f\r", at[n - 1])) n--;
    if (n >= (size_t)recordHolderSize) return false;
    memcpy(name, at, n);
    name[n] = '\0';
    return isRecordName(name) && parseTimeWords(words + 1, lengths + 1, part, isLap, course, hash, seconds);
}

bool Records::parse(const char* text, long length, FILE* err, RecordsPart part) {
    bool& partReadOnly = part == builtInRecords ? readOnly : hashedReadOnly;
    partReadOnly = false;
    if (part == builtInRecords) {
        for (int i = 0; i < maxRecordCourses; i++) laps[i] = races[i] = 0.0f;
        memset(lapBy, 0, sizeof lapBy);
        memset(raceBy, 0, sizeof raceBy);
    } else {
        hashedCount = 0;
    }
    // Names are matched to the kept times once all are read: a holder's line may come first.
    struct Holder {
        bool isLap;
        int course;
        uint64_t hash;
        float seconds;
        char name[recordHolderSize];
    };
    Holder holders[2 * (maxRecordCourses + maxHashedRecords)];
    int holderCount = 0;
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
        Holder h;
        if (!tooLong && !cut && holderCount < (int)(sizeof holders / sizeof holders[0]) &&
            parseHolderLine(line, part, h.isLap, h.course, h.hash, h.seconds, h.name)) {
            holders[holderCount++] = h;
            continue;
        }
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
    for (int i = 0; i < holderCount; i++) {
        const Holder& h = holders[i];
        int at = part == builtInRecords ? h.course : findHashed(found.hashed, found.hashedCount, h.hash);
        if (at < 0) continue;
        float kept = part == builtInRecords ? (h.isLap ? found.laps : found.races)[at]
                                            : h.isLap ? found.hashed[at].lap : found.hashed[at].race;
        char* holder = part == builtInRecords ? (h.isLap ? found.lapBy : found.raceBy)[at]
                                              : h.isLap ? found.hashed[at].lapBy : found.hashed[at].raceBy;
        // Only the very time kept: a name beside another time is of a race no longer the record.
        if (kept == h.seconds) setHolder(holder, h.name);
    }
    if (part == builtInRecords) {
        memcpy(laps, found.laps, sizeof laps);
        memcpy(races, found.races, sizeof races);
        memcpy(lapBy, found.lapBy, sizeof lapBy);
        memcpy(raceBy, found.raceBy, sizeof raceBy);
    } else {
        memcpy(hashed, found.hashed, sizeof hashed);
        hashedCount = found.hashedCount;
    }
    return true;
}

// One kept time's line, and its holder's when named, at used; the new length, size or more when
// it did not fit.
static int formatTime(char* buffer, int size, int used, const char* kind, const char* key, float seconds,
                      const char* by) {
    if (used < 0 || used >= size || !(seconds > 0.0f)) return used;
    // %.9g gives back the same float when read.
    used += snprintf(buffer + used, (size_t)(size - used), "%s %s %.9g\n", kind, key, seconds);
    if (used < size && by[0])
        used += snprintf(buffer + used, (size_t)(size - used), "by %s %s %.9g %s\n", kind, key, seconds, by);
    return used;
}

int Records::format(char* buffer, int size, RecordsPart part) const {
    int used = snprintf(buffer, (size_t)size, "%s %d\n", versionWord, recordsFormatVersion);
    for (int i = 0; part == courseFileRecords && i < hashedCount && used >= 0 && used < size; i++) {
        const HashedRecord& r = hashed[i];
        char key[24];
        snprintf(key, sizeof key, "%016llx", (unsigned long long)r.hash);
        used = formatTime(buffer, size, used, "lap", key, r.lap, r.lapBy);
        used = formatTime(buffer, size, used, "race", key, r.race, r.raceBy);
    }
    for (int c = 0; part == builtInRecords && c < maxRecordCourses && used >= 0 && used < size; c++) {
        char key[24];
        snprintf(key, sizeof key, "%d", c);
        used = formatTime(buffer, size, used, "lap", key, laps[c], lapBy[c]);
        used = formatTime(buffer, size, used, "race", key, races[c], raceBy[c]);
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
