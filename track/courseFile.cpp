#include "track/courseFile.h"

#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static const char* const magicWord = "trailerdash-course";
// Walls and the grid stay within this many world units of the grid's corner.
static const float farUnits = 10000.0f;
// Words on one line: a row's keyword and its eight tiles.
static const int maxWords = trackGridSize + 2;

// %.9g gives back the very same float when read.
static void appendf(std::string& out, const char* format, ...) {
    char line[maxCourseLineBytes];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    out += line;
}

// Everything after the name line; the hash covers exactly this.
static void writeBody(const Course& c, std::string& out) {
    for (int row = 0; row < trackGridSize; row++) {
        out += "row";
        for (int x = 0; x < trackGridSize; x++) {
            const char* name = tileName(c.layout[row][x]);
            out += ' ';
            out += name ? name : "?";
        }
        out += '\n';
    }
    for (int i = 0; i < c.checkpointCount; i++) appendf(out, "checkpoint %d %d\n", c.checkpoints[i].x, c.checkpoints[i].y);
    for (int i = 0; i < c.waypointCount; i++) appendf(out, "waypoint %d %d\n", c.waypoints[i].x, c.waypoints[i].y);
    for (int i = 0; i < c.wallCount; i++) {
        const CourseWall& w = c.walls[i];
        appendf(out, "wall %.9g %.9g %.9g %.9g\n", w.x1, w.y1, w.x2, w.y2);
    }
    const StartGrid& g = c.grid;
    bool builtIn = g.x == builtInGrid.x && g.y == builtInGrid.y && g.facing == builtInGrid.facing;
    if (!builtIn) appendf(out, "grid %.9g %.9g %s\n", g.x, g.y, facingName(g.facing) ? facingName(g.facing) : "?");
    out += "end\n";
}

std::string writeCourseText(const Course& course) {
    std::string out;
    appendf(out, "%s %d\n", magicWord, courseFileVersion);
    appendf(out, "name %s\n", course.name);
    writeBody(course, out);
    return out;
}

uint64_t courseHash(const Course& course) {
    std::string body;
    writeBody(course, body);
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : body) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    return hash;
}

namespace {

// The reader's state: where it is, and the one message it may leave.
struct Reader {
    const char* fileName;
    int line;
    char* message;
    size_t messageSize;

    bool fail(const char* format, ...) {
        char what[256];
        va_list args;
        va_start(args, format);
        vsnprintf(what, sizeof what, format, args);
        va_end(args);
        snprintf(message, messageSize, "%s:%d: %s", fileName, line, what);
        return false;
    }
};

// A whole word of decimal digits, optionally signed, within limits.
bool readInt(const char* word, int low, int high, int& value) {
    const char* p = word;
    if (*p == '-') p++;
    if (!*p) return false;
    for (; *p; p++)
        if (*p < '0' || *p > '9') return false;
    if (strlen(word) > 9) return false;
    long v = strtol(word, nullptr, 10);
    if (v < low || v > high) return false;
    value = (int)v;
    return true;
}

// A plain decimal number: no hexadecimal, infinities or NaN, which strtof would also take.
bool readUnits(const char* word, float& value) {
    if (!*word || strlen(word) > 32) return false;
    for (const char* p = word; *p; p++)
        if (!strchr("0123456789.eE+-", *p)) return false;
    char* end = nullptr;
    errno = 0;
    float v = strtof(word, &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(v) || std::fabs(v) > farUnits) return false;
    value = v;
    return true;
}

// Splits a line at spaces into at most maxWords words; false when it has more.
bool splitWords(char* line, char** words, int& count) {
    count = 0;
    char* p = line;
    while (*p) {
        while (*p == ' ') *p++ = '\0';
        if (!*p) break;
        if (count == maxWords) return false;
        words[count++] = p;
        while (*p && *p != ' ') p++;
    }
    return true;
}

bool readCell(Reader& r, char** words, int count, const char* what, TileCoord& cell) {
    int x = 0, y = 0;
    if (count != 3) return r.fail("%s needs two numbers, a column and a row", what);
    if (!readInt(words[1], 0, trackGridSize - 1, x) || !readInt(words[2], 0, trackGridSize - 1, y))
        return r.fail("%s \"%s %s\" is not a cell of the grid (0 to %d)", what, words[1], words[2], trackGridSize - 1);
    cell = TileCoord{x, y};
    return true;
}

// The lists and the grid must agree with the layout: checks after the last line.
bool checkWhole(Reader& r, const Course& c, int rows) {
    if (c.name[0] == '\0') return r.fail("the course has no name");
    if (rows != trackGridSize) return r.fail("the layout has %d rows, not %d", rows, trackGridSize);
    if (c.checkpointCount < 2) return r.fail("a course needs at least two checkpoints");
    if (c.waypointCount < 2) return r.fail("a course needs at least two waypoints");
    const TileCoord& first = c.checkpoints[0];
    int firstType = c.tileAt(first.x, first.y);
    if (firstType != finishLineL2R && firstType != finishLineR2L)
        return r.fail("the first checkpoint (%d, %d) is not a finish line", first.x, first.y);
    // A cell listed twice is found only at its first place, so the race would wait for it forever.
    for (int i = 0; i < c.checkpointCount; i++) {
        const TileCoord& p = c.checkpoints[i];
        if (!isRoad(c.tileAt(p.x, p.y))) return r.fail("checkpoint (%d, %d) is off the road", p.x, p.y);
        for (int j = 0; j < i; j++)
            if (c.checkpoints[j].x == p.x && c.checkpoints[j].y == p.y)
                return r.fail("checkpoint (%d, %d) is listed twice", p.x, p.y);
    }
    for (int i = 0; i < c.waypointCount; i++) {
        const TileCoord& p = c.waypoints[i];
        if (!isRoad(c.tileAt(p.x, p.y))) return r.fail("waypoint (%d, %d) is off the road", p.x, p.y);
        for (int j = 0; j < i; j++)
            if (c.waypoints[j].x == p.x && c.waypoints[j].y == p.y)
                return r.fail("waypoint (%d, %d) is listed twice", p.x, p.y);
    }
    for (int i = 0; i < gridTruckCount; i++) {
        float x, y, heading;
        gridPlace(c.grid, i, x, y, heading);
        int tx, ty;
        worldToTile(x, y, tx, ty);
        if (x < 0 || y < 0 || !isRoad(c.tileAt(tx, ty)))
            return r.fail("the starting grid puts truck %d at (%.9g, %.9g), off the road", i, x, y);
    }
    return true;
}

}  // namespace

bool parseCourseText(const char* text, size_t length, const char* fileName, Course& out, char* message,
                     size_t messageSize) {
    Reader r{fileName ? fileName : "course", 0, message, messageSize};
    if (length > maxCourseFileBytes) {
        // Named at the line the limit falls in.
        r.line = 1;
        for (size_t i = 0; i < maxCourseFileBytes; i++) r.line += text[i] == '\n';
        return r.fail("too large for a course file (over %zu bytes)", maxCourseFileBytes);
    }
    if (length == 0) {
        r.line = 1;
        return r.fail("empty, not a course file");
    }

    Course c;
    int rows = 0;
    bool named = false, gridGiven = false, ended = false;
    size_t start = 0;
    char line[maxCourseLineBytes + 1];
    while (start < length) {
        r.line++;
        if (ended) return r.fail("text after \"end\"");
        const char* newline = static_cast<const char*>(memchr(text + start, '\n', length - start));
        // A last line without its newline is a file cut short.
        if (!newline) return r.fail("the file ends in the middle of a line");
        size_t lineLength = (size_t)(newline - (text + start));
        if (lineLength > 0 && text[start + lineLength - 1] == '\r') lineLength--;  // written on Windows
        if (lineLength > maxCourseLineBytes) return r.fail("line longer than %zu characters", maxCourseLineBytes);
        memcpy(line, text + start, lineLength);
        line[lineLength] = '\0';
        start = (size_t)(newline - text) + 1;
        for (size_t i = 0; i < lineLength; i++) {
            unsigned char ch = (unsigned char)line[i];
            if (ch < 0x20 || ch == 0x7f) return r.fail("a control character (byte %u) in the text", ch);
        }

        if (r.line == 1) {
            char expected[64];
            snprintf(expected, sizeof expected, "%s %d", magicWord, courseFileVersion);
            if (strcmp(line, expected) == 0) continue;
            int version = 0;
            size_t magicLength = strlen(magicWord);
            if (strncmp(line, magicWord, magicLength) == 0 && line[magicLength] == ' ' &&
                readInt(line + magicLength + 1, 1, 1000000, version) && version > courseFileVersion)
                return r.fail("a course from a newer version of the game (format %d)", version);
            return r.fail("not a course file (it must begin \"%s\")", expected);
        }
        // The name is the rest of its line, spaces and all.
        if (strncmp(line, "name ", 5) == 0 || strcmp(line, "name") == 0) {
            if (named) return r.fail("a second name");
            const char* name = line[4] ? line + 5 : "";
            if (!*name || name[0] == ' ') return r.fail("the name is empty or begins with a space");
            if (strlen(name) >= (size_t)courseNameSize) return r.fail("a name longer than %d characters", courseNameSize - 1);
            snprintf(c.name, sizeof c.name, "%s", name);
            named = true;
            continue;
        }
        char* words[maxWords];
        int count = 0;
        if (!splitWords(line, words, count)) return r.fail("too many words");
        if (count == 0) return r.fail("an empty line");
        const char* key = words[0];
        if (!strcmp(key, "row")) {
            if (rows == trackGridSize) return r.fail("more than %d rows", trackGridSize);
            if (count != trackGridSize + 1) return r.fail("a row needs %d tiles, this has %d", trackGridSize, count - 1);
            for (int x = 0; x < trackGridSize; x++) {
                int type = tileNamed(words[x + 1]);
                if (type < 0) return r.fail("\"%s\" is not a tile", words[x + 1]);
                c.layout[rows][x] = type;
            }
            rows++;
        } else if (!strcmp(key, "checkpoint") || !strcmp(key, "waypoint")) {
            bool checkpoint = key[0] == 'c';
            // The layout comes first, so every cell can be checked against it.
            if (rows != trackGridSize) return r.fail("%s before the layout's %d rows", key, trackGridSize);
            int& n = checkpoint ? c.checkpointCount : c.waypointCount;
            int capacity = checkpoint ? Track::maxCheckpoints : Track::maxWaypoints;
            if (n == capacity) return r.fail("more than %d %ss", capacity, key);
            TileCoord cell;
            if (!readCell(r, words, count, key, cell)) return false;
            (checkpoint ? c.checkpoints : c.waypoints)[n++] = cell;
        } else if (!strcmp(key, "wall")) {
            if (c.wallCount == Track::maxWalls) return r.fail("more than %d walls", Track::maxWalls);
            if (count != 5) return r.fail("a wall needs four numbers: x1 y1 x2 y2");
            CourseWall w;
            if (!readUnits(words[1], w.x1) || !readUnits(words[2], w.y1) || !readUnits(words[3], w.x2) ||
                !readUnits(words[4], w.y2))
                return r.fail("a wall's numbers must be plain, within %.0f units", (double)farUnits);
            c.walls[c.wallCount++] = w;
        } else if (!strcmp(key, "grid")) {
            if (gridGiven) return r.fail("a second grid");
            if (count != 4) return r.fail("the grid needs x, y and a facing");
            StartGrid g;
            if (!readUnits(words[1], g.x) || !readUnits(words[2], g.y))
                return r.fail("the grid's place must be plain numbers, within %.0f units", (double)farUnits);
            g.facing = facingNamed(words[3]);
            if (g.facing < 0) return r.fail("\"%s\" is not a facing (east, north, west or south)", words[3]);
            c.grid = g;
            gridGiven = true;
        } else if (!strcmp(key, "end")) {
            if (count != 1) return r.fail("\"end\" stands alone");
            ended = true;
            // The whole course is known now: check it as a whole, naming the end line.
            if (!checkWhole(r, c, rows)) return false;
        } else {
            return r.fail("\"%s\" is not a course line", key);
        }
    }
    if (!ended) return r.fail("the file ends here, cut short: no \"end\" line");
    out = c;
    return true;
}

bool loadCourseFile(const char* path, Course& out, char* message, size_t messageSize) {
    FILE* file = fopen(path, "rb");
    if (!file) {
        snprintf(message, messageSize, "%s: cannot read it: %s", path, strerror(errno));
        return false;
    }
    // One byte more than allowed shows a file that is too large without reading all of it.
    std::string text(maxCourseFileBytes + 1, '\0');
    size_t got = fread(&text[0], 1, text.size(), file);
    bool readError = ferror(file) != 0;
    fclose(file);
    if (readError) {
        snprintf(message, messageSize, "%s: cannot read it", path);
        return false;
    }
    return parseCourseText(text.data(), got, path, out, message, messageSize);
}
