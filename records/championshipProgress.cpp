#include "records/championshipProgress.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "records/storage.h"

static const char* const kindNames[] = {"builtin", "file", "random"};
static const int kindCount = 3;
// Built-in course numbers a file may name; the game has two, later versions may have more.
static const int maxBuiltInNumber = 99;
// Longest line the reader takes: a course line with a full name is under 120 characters.
static const int maxLineLength = 160;

ChampionshipProgress::ChampionshipProgress() { clear(); }

void ChampionshipProgress::clear() {
    humans = 1;
    courseCount = 0;
    racesRun = 0;
    memset(courses, 0, sizeof courses);
    memset(places, 0, sizeof places);
}

// 1 to championshipNameSize - 1 printable ASCII characters.
static bool printableName(const char* text, size_t length) {
    if (length < 1 || length >= (size_t)championshipNameSize) return false;
    for (size_t i = 0; i < length; i++)
        if (text[i] < 0x20 || text[i] > 0x7E) return false;
    return true;
}

bool ChampionshipProgress::addCourse(const ChampionshipCourse& course) {
    if (courseCount >= maxChampionshipRaces || !printableName(course.name, strnlen(course.name, championshipNameSize)))
        return false;
    if (course.kind == championshipFile && course.hash == 0) return false;
    if (course.kind == championshipBuiltIn && (course.builtIn < 0 || course.builtIn > maxBuiltInNumber)) return false;
    courses[courseCount++] = course;
    return true;
}

bool ChampionshipProgress::addResult(const int order[championshipTrucks]) {
    if (racesRun >= courseCount || racesRun >= maxChampionshipRaces) return false;
    bool seen[championshipTrucks] = {};
    for (int p = 0; p < championshipTrucks; p++) {
        int t = order[p];
        if (t < 0 || t >= championshipTrucks || seen[t]) return false;
        seen[t] = true;
    }
    memcpy(places[racesRun++], order, sizeof places[0]);
    return true;
}

// The next word of line from at: its start and length; false at the end of the line.
static bool nextWord(const char*& at, const char*& word, int& length) {
    while (*at == ' ') at++;
    if (!*at) return false;
    word = at;
    while (*at && *at != ' ') at++;
    length = (int)(at - word);
    return true;
}

static bool isWord(const char* word, int length, const char* expected) {
    return (size_t)length == strlen(expected) && memcmp(word, expected, (size_t)length) == 0;
}

// Plain decimal digits of a value up to most; refused before it could overflow.
static bool parseDecimal(const char* word, int length, uint64_t most, uint64_t& value) {
    if (length < 1 || length > 20 || (length > 1 && word[0] == '0')) return false;
    uint64_t v = 0;
    for (int i = 0; i < length; i++) {
        if (word[i] < '0' || word[i] > '9') return false;
        uint64_t digit = (uint64_t)(word[i] - '0');
        if (digit > most || v > (most - digit) / 10) return false;
        v = v * 10 + digit;
    }
    value = v;
    return true;
}

// Exactly sixteen lower-case hex digits, as the records name a course.
static bool parseHash(const char* word, int length, uint64_t& value) {
    if (length != 16) return false;
    uint64_t v = 0;
    for (int i = 0; i < length; i++) {
        char c = word[i];
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0) return false;
        v = v << 4 | (uint64_t)digit;
    }
    value = v;
    return true;
}

// "course KIND ID NAME": false, with what is wrong, for anything else.
static bool parseCourseLine(const char* rest, ChampionshipCourse& c, const char*& wrong) {
    const char* word;
    int length;
    wrong = "is not a course line";
    if (!nextWord(rest, word, length)) return false;
    int kind = -1;
    for (int k = 0; k < kindCount; k++)
        if (isWord(word, length, kindNames[k])) kind = k;
    if (kind < 0) {
        wrong = "names no kind of course the game has";
        return false;
    }
    memset(&c, 0, sizeof c);
    c.kind = (ChampionshipCourseKind)kind;
    if (!nextWord(rest, word, length)) return false;
    uint64_t value = 0;
    bool ok = kind == championshipBuiltIn ? parseDecimal(word, length, maxBuiltInNumber, value)
              : kind == championshipFile  ? parseHash(word, length, value) && value != 0
                                          : parseDecimal(word, length, UINT64_MAX, value);
    if (!ok) {
        wrong = "has a course number, hash or seed out of range";
        return false;
    }
    if (kind == championshipBuiltIn) c.builtIn = (int)value;
    if (kind == championshipFile) c.hash = value;
    if (kind == championshipRandom) c.seed = value;
    // The name is the rest of the line, inner spaces kept.
    if (*rest == ' ') rest++;
    size_t n = strlen(rest);
    if (!printableName(rest, n) || rest[0] == ' ' || rest[n - 1] == ' ') {
        wrong = "has no course name, or one that cannot be shown";
        return false;
    }
    memcpy(c.name, rest, n + 1);
    return true;
}

// "result T T T T T": each truck once, winner first.
static bool parseResultLine(const char* rest, int order[championshipTrucks]) {
    const char* word;
    int length;
    for (int p = 0; p < championshipTrucks; p++) {
        uint64_t t;
        if (!nextWord(rest, word, length) || !parseDecimal(word, length, championshipTrucks - 1, t)) return false;
        order[p] = (int)t;
    }
    return !nextWord(rest, word, length);
}

bool ChampionshipProgress::parse(const char* text, long length, char* why, int whySize) {
    clear();
    int lineNumber = 0;
    bool ended = false;
    const char* wrong = nullptr;
    for (long at = 0; at < length && !wrong;) {
        long end = at;
        while (end < length && text[end] != '\n') end++;
        lineNumber++;
        char line[maxLineLength + 1];
        long n = end - at;
        // The last line must end in a newline: a file cut there may have lost a digit.
        if (end >= length) {
            wrong = "is cut short";
            break;
        }
        if (n > maxLineLength) {
            wrong = "is too long";
            break;
        }
        memcpy(line, text + at, (size_t)n);
        line[n] = '\0';
        // A file saved by an editor that ends lines in CR LF reads the same.
        if (n > 0 && line[n - 1] == '\r') line[--n] = '\0';
        at = end + 1;
        if (strlen(line) != (size_t)n) {
            wrong = "holds a NUL";
        } else if (ended) {
            wrong = "follows the end line";
        } else if (lineNumber == 1) {
            uint64_t version;
            if (strncmp(line, "trailerdash championship ", 25) != 0 ||
                !parseDecimal(line + 25, (int)strlen(line + 25), 999999, version) || version < 1)
                wrong = "is not \"trailerdash championship N\": not a championship file";
            else if (version > (uint64_t)championshipFormatVersion)
                wrong = "is from a newer version of the game";
        } else if (strncmp(line, "players ", 8) == 0) {
            uint64_t count;
            if (courseCount > 0 || humans != 1)
                wrong = "names the players after a course, or twice";
            else if (!parseDecimal(line + 8, (int)strlen(line + 8), maxChampionshipHumans, count) || count < 1)
                wrong = "is not \"players 1\" or \"players 2\"";
            else
                humans = (int)count;
        } else if (strncmp(line, "course ", 7) == 0) {
            ChampionshipCourse c;
            const char* lineWrong = nullptr;
            if (racesRun > 0)
                wrong = "lists a course after a result";
            else if (!parseCourseLine(line + 7, c, lineWrong))
                wrong = lineWrong;
            else if (!addCourse(c))
                wrong = "lists more courses than a championship holds";
        } else if (strncmp(line, "result ", 7) == 0) {
            int order[championshipTrucks];
            if (!parseResultLine(line + 7, order))
                wrong = "is not five truck numbers from 0 to 4";
            else if (!addResult(order))
                wrong = racesRun >= courseCount ? "has more results than courses" : "names a truck twice";
        } else if (strcmp(line, "end") == 0) {
            ended = true;
            if (courseCount == 0) wrong = "ends a championship of no courses";
        } else {
            wrong = "cannot be read";
        }
    }
    if (!wrong && !ended) {
        wrong = "is missing: the file is cut short";
        lineNumber = lineNumber + 1;
    }
    if (!wrong) return true;
    if (why && whySize > 0) snprintf(why, (size_t)whySize, "line %d %s", lineNumber, wrong);
    clear();
    return false;
}

int ChampionshipProgress::format(char* buffer, int size) const {
    int used = snprintf(buffer, (size_t)size, "trailerdash championship %d\n", championshipFormatVersion);
    // A one-player series is written as it always was.
    if (humans > 1 && used >= 0 && used < size) used += snprintf(buffer + used, (size_t)(size - used), "players %d\n", humans);
    for (int i = 0; i < courseCount && used >= 0 && used < size; i++) {
        const ChampionshipCourse& c = courses[i];
        char id[24];
        if (c.kind == championshipBuiltIn) snprintf(id, sizeof id, "%d", c.builtIn);
        if (c.kind == championshipFile) snprintf(id, sizeof id, "%016llx", (unsigned long long)c.hash);
        if (c.kind == championshipRandom) snprintf(id, sizeof id, "%llu", (unsigned long long)c.seed);
        used += snprintf(buffer + used, (size_t)(size - used), "course %s %s %s\n", kindNames[c.kind], id, c.name);
    }
    for (int r = 0; r < racesRun && used >= 0 && used < size; r++) {
        const int* p = places[r];
        used += snprintf(buffer + used, (size_t)(size - used), "result %d %d %d %d %d\n", p[0], p[1], p[2], p[3], p[4]);
    }
    if (used >= 0 && used < size) used += snprintf(buffer + used, (size_t)(size - used), "end\n");
    return used >= 0 && used < size ? used : -1;
}

ProgressLoad loadProgress(const char* path, ChampionshipProgress& progress, char* why, int whySize) {
    progress.clear();
    static char text[maxProgressFileSize];
    bool tooLong;
    long n = readWholeFile(path, text, sizeof text, tooLong);
    if (n < 0) {
        if (errno == ENOENT) return progressNone;
        snprintf(why, (size_t)whySize, "cannot be read: %s", strerror(errno));
        return progressRefused;
    }
    if (tooLong) {
        snprintf(why, (size_t)whySize, "is too large to be a championship");
        return progressRefused;
    }
    return progress.parse(text, n, why, whySize) ? progressLoaded : progressRefused;
}

bool saveProgress(const char* path, const ChampionshipProgress& progress) {
    char text[maxProgressFileSize];
    int n = progress.format(text, sizeof text);
    return n >= 0 && writeFileAtomically(path, text, (size_t)n);
}

bool progressPath(const char* folder, char* buffer, int size) {
    int n = snprintf(buffer, (size_t)size, "%s/championship", folder);
    return n > 0 && n < size;
}
