#include "records/settings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "records/storage.h"

static const char versionWord[] = "trailerdash settings";
static const char defaultName[] = "Player";

static const char* const difficultyNames[settingsDifficultyCount] = {"easy", "normal", "hard"};
static const char* const channelNames[volumeChannelCount] = {"master", "engines", "effects"};
static const char* const startNames[startScreenCount] = {"ask", "full-screen", "windowed"};
static const char* const actionNames[keyActionCount] = {
    "accelerate", "brake", "left", "right", "start", "pause", "recover", "ghost", "mute",
    "help", "zoom-in", "zoom-out", "frame-rate", "info", "clear-console", "full-screen", "quit",
    "p2-accelerate", "p2-brake", "p2-left", "p2-right", "p2-recover",
};
// In action order; the game's virtual key codes (core/input.h), which never change.
static const int defaultKeys[keyActionCount] = {
    0x26, 0x28, 0x25, 0x27, 0x20, 'P', 'R', 'G', 'M', 'H', 'A', 'Z', 'F', 'I', 'T', 0x7A, 0x1B, 'W', 'S', 'A', 'D',
    'E',
};
// Player two's own codes (core/input.h's VK_PLAYER2_UP, DOWN, LEFT, RIGHT, RECOVER), in action order.
static const int playerTwoCodes[keyActionCount - keyPlayerOneActions] = {0x8A, 0x8B, 0x88, 0x89, 0x8C};
// Where a settings file from before player two puts another action on one of player two's
// keys: the first of these still free takes its place, so the player's own keys are kept.
static const char spareKeys[] = "JKLUOYBNVCX1234567890";  // no action's default

static bool isPlayerTwo(int action) { return action >= keyPlayerOneActions && action < keyActionCount; }

bool keysMayShare(int action, int other) {
    bool zoom = action == keyZoomIn || action == keyZoomOut, otherZoom = other == keyZoomIn || other == keyZoomOut;
    return (zoom && isPlayerTwo(other)) || (otherZoom && isPlayerTwo(action));
}

int keyActionCode(int action) {
    if (isPlayerTwo(action)) return playerTwoCodes[action - keyPlayerOneActions];
    return action >= 0 && action < keyActionCount ? defaultKeys[action] : -1;
}

struct NamedKey {
    int code;
    const char* name;
};
static const NamedKey namedKeys[] = {
    {0x08, "Backspace"}, {0x09, "Tab"},    {0x0D, "Return"}, {0x10, "Shift"},     {0x11, "Control"},
    {0x12, "Alt"},       {0x13, "Pause"},  {0x14, "CapsLock"}, {0x1B, "Escape"},  {0x20, "Space"},
    {0x21, "PageUp"},    {0x22, "PageDown"}, {0x23, "End"},  {0x24, "Home"},      {0x25, "Left"},
    {0x26, "Up"},        {0x27, "Right"},  {0x28, "Down"},   {0x2D, "Insert"},    {0x2E, "Delete"},
};
static const int namedKeyCount = (int)(sizeof namedKeys / sizeof namedKeys[0]);
static const int functionKeyFirst = 0x70, functionKeyCount = 24;

static const char* nameIn(const char* const* names, int count, int i) { return i >= 0 && i < count ? names[i] : ""; }
const char* settingsDifficultyName(int level) { return nameIn(difficultyNames, settingsDifficultyCount, level); }
const char* volumeChannelName(int channel) { return nameIn(channelNames, volumeChannelCount, channel); }
const char* startScreenName(int start) { return nameIn(startNames, startScreenCount, start); }
const char* keyActionName(int action) { return nameIn(actionNames, keyActionCount, action); }

const char* keyName(int code, char* buffer, int size) {
    if (size < 1) return "";
    buffer[0] = '\0';
    if (code < 1 || code > maxKeyCode) return buffer;
    for (int i = 0; i < namedKeyCount; i++)
        if (namedKeys[i].code == code) return namedKeys[i].name;
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
        snprintf(buffer, (size_t)size, "%c", code);
    else if (code >= functionKeyFirst && code < functionKeyFirst + functionKeyCount)
        snprintf(buffer, (size_t)size, "F%d", code - functionKeyFirst + 1);
    else
        snprintf(buffer, (size_t)size, "#%d", code);
    return buffer;
}

static bool isWord(const char* word, int length, const char* expected) {
    return (size_t)length == strlen(expected) && memcmp(word, expected, (size_t)length) == 0;
}

// Plain decimal digits, at most most; refused before they could overflow.
static bool parseWhole(const char* word, int length, int most, int& value) {
    if (length < 1 || length > 9) return false;
    int v = 0;
    for (int i = 0; i < length; i++) {
        if (word[i] < '0' || word[i] > '9') return false;
        v = v * 10 + (word[i] - '0');
    }
    if (v > most) return false;
    value = v;
    return true;
}

int keyFromName(const char* name, int length) {
    for (int i = 0; i < namedKeyCount; i++)
        if (isWord(name, length, namedKeys[i].name)) return namedKeys[i].code;
    if (length == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9'))) return name[0];
    int n;
    if (length >= 2 && name[0] == 'F' && parseWhole(name + 1, length - 1, functionKeyCount, n) && n >= 1 &&
        name[1] != '0')
        return functionKeyFirst + n - 1;
    // "#N" stands only for a key with no name, so each key has one spelling.
    char spelled[16];
    if (length >= 2 && name[0] == '#' && name[1] != '0' && parseWhole(name + 1, length - 1, maxKeyCode, n) && n >= 1 &&
        isWord(name, length, keyName(n, spelled, sizeof spelled)))
        return n;
    return 0;
}

static int indexOfWord(const char* const* names, int count, const char* word, int length) {
    for (int i = 0; i < count; i++)
        if (isWord(word, length, names[i])) return i;
    return -1;
}

Settings::Settings() { reset(); }

void Settings::reset() {
    memcpy(name, defaultName, sizeof defaultName);
    difficulty = settingsNormal;
    laps = 6;
    for (int c = 0; c < volumeChannelCount; c++) volume[c] = maxVolumePercent;
    resetKeys();
    ghost = true;
    assist = false;
    start = startAsk;
    readOnly = false;
}

void Settings::resetKeys() { memcpy(keys, defaultKeys, sizeof keys); }

int Settings::actionOfKey(int code) const {
    for (int a = 0; a < keyActionCount; a++)
        if (keys[a] == code) return a;
    return -1;
}

int Settings::clashOf(int action, int code) const {
    for (int a = 0; a < keyActionCount; a++)
        if (a != action && keys[a] == code && !keysMayShare(a, action)) return a;
    return -1;
}

bool Settings::bindKey(int action, int code, const char** why) {
    if (action < 0 || action >= keyActionCount || code < 1 || code > maxKeyCode) return false;
    int holder = clashOf(action, code);
    if (holder >= 0) {
        if (why) *why = actionNames[holder];
        return false;
    }
    keys[action] = code;
    return true;
}

static bool printableName(const char* text, size_t length) {
    if (length < 1 || length > (size_t)maxPlayerNameLength || text[0] == ' ' || text[length - 1] == ' ') return false;
    for (size_t i = 0; i < length; i++)
        if (text[i] < 0x20 || text[i] > 0x7E) return false;
    return true;
}

bool Settings::setName(const char* text) {
    if (!text || !printableName(text, strlen(text))) return false;
    strcpy(name, text);
    return true;
}

// The words of a line, split at blanks: how many, or -1 when there are more than max.
static int splitWords(const char* line, const char** words, int* lengths, int max) {
    int count = 0;
    for (const char* at = line; *at;) {
        if (*at == ' ' || *at == '\t') {
            at++;
            continue;
        }
        if (count == max) return -1;
        words[count] = at;
        while (*at && *at != ' ' && *at != '\t') at++;
        lengths[count] = (int)(at - words[count]);
        count++;
    }
    return count;
}

// One line of the file into s; false when it cannot be read. Keys go to keyLines' table, in
// file order, for the checks that need them all.
static bool parseSettingsLine(const char* line, Settings& s, int* fileKeys, bool& keyClash) {
    const char* w[4];
    int n[4];
    // The name keeps its inner spaces: everything after "name ".
    if (strncmp(line, "name ", 5) == 0) {
        char text[maxPlayerNameLength + 2];
        size_t length = strlen(line + 5);
        if (length > (size_t)maxPlayerNameLength) return false;
        memcpy(text, line + 5, length + 1);
        return s.setName(text);
    }
    int count = splitWords(line, w, n, 4);
    if (count == 2 && isWord(w[0], n[0], "difficulty")) {
        int level = indexOfWord(difficultyNames, settingsDifficultyCount, w[1], n[1]);
        if (level < 0) return false;
        s.difficulty = level;
        return true;
    }
    if (count == 2 && isWord(w[0], n[0], "laps")) {
        int laps;
        if (!parseWhole(w[1], n[1], maxSettingsLaps, laps) || laps < minSettingsLaps) return false;
        s.laps = laps;
        return true;
    }
    if (count == 3 && isWord(w[0], n[0], "volume")) {
        int channel = indexOfWord(channelNames, volumeChannelCount, w[1], n[1]);
        int percent;
        if (channel < 0 || !parseWhole(w[2], n[2], maxVolumePercent, percent)) return false;
        s.volume[channel] = percent;
        return true;
    }
    if (count == 2 && isWord(w[0], n[0], "ghost")) {
        if (!isWord(w[1], n[1], "on") && !isWord(w[1], n[1], "off")) return false;
        s.ghost = isWord(w[1], n[1], "on");
        return true;
    }
    if (count == 2 && isWord(w[0], n[0], "assist")) {
        if (!isWord(w[1], n[1], "on") && !isWord(w[1], n[1], "off")) return false;
        s.assist = isWord(w[1], n[1], "on");
        return true;
    }
    if (count == 2 && isWord(w[0], n[0], "start")) {
        int start = indexOfWord(startNames, startScreenCount, w[1], n[1]);
        if (start < 0) return false;
        s.start = start;
        return true;
    }
    if (count == 3 && isWord(w[0], n[0], "key")) {
        int action = indexOfWord(actionNames, keyActionCount, w[1], n[1]);
        int code = keyFromName(w[2], n[2]);
        if (action < 0 || code == 0) return false;
        // A key already given to another action keeps that one; this line is refused.
        for (int a = 0; a < keyActionCount; a++) {
            if (a != action && fileKeys[a] == code && !keysMayShare(a, action)) {
                keyClash = true;
                return false;
            }
        }
        fileKeys[action] = code;
        return true;
    }
    return false;
}

// "trailerdash settings N" with N from 1 up; 0 for anything different.
static int versionOf(const char* line) {
    const char* w[4];
    int n[4];
    int v;
    if (splitWords(line, w, n, 4) != 3 || !isWord(w[0], n[0], "trailerdash") || !isWord(w[1], n[1], "settings") ||
        !parseWhole(w[2], n[2], 999999, v) || v < 1)
        return 0;
    return v;
}

void Settings::parse(const char* text, long length, FILE* err) {
    bool tooLarge = readOnly;
    reset();
    readOnly = tooLarge;
    int fileKeys[keyActionCount] = {};
    int version = 0;
    int lineNumber = 0;
    for (long at = 0; at < length;) {
        long end = at;
        while (end < length && text[end] != '\n') end++;
        lineNumber++;
        char line[128];
        long n = end - at;
        bool tooLong = n >= (long)sizeof line;
        if (!tooLong) {
            memcpy(line, text + at, (size_t)n);
            line[n] = '\0';
            if (n > 0 && line[n - 1] == '\r') line[--n] = '\0';
            // A NUL inside the line would hide the rest of it.
            if (strlen(line) != (size_t)n) tooLong = true;
        }
        // A file cut off mid-line ends without a newline: its last line may have lost a digit.
        bool cut = end >= length;
        at = end + 1;
        if (!tooLong && line[0] == '\0') continue;
        if (lineNumber == 1 && !tooLong && (version = versionOf(line)) > 0) {
            if (version > settingsFormatVersion) {
                if (err)
                    fprintf(err, "trailerdash: the settings file is from a newer version (%d); what this version "
                                 "knows of it is used, and it is left as it is\n", version);
                readOnly = true;
            }
            continue;
        }
        bool keyClash = false;
        if (tooLong || cut || !parseSettingsLine(line, *this, fileKeys, keyClash)) {
            // A newer version's own lines are expected, not damage.
            if (err && (version <= settingsFormatVersion || keyClash))
                fprintf(err, "trailerdash: settings line %d %s; ignored\n", lineNumber,
                        cut ? "is cut short" : keyClash ? "binds a key bound already" : "cannot be read");
        }
    }
    if (version == 0 && length > 0 && err) fprintf(err, "trailerdash: the settings file has no \"%s\" line\n", versionWord);
    // Keys the file left out take their defaults when those are still free.
    auto taken = [&fileKeys](int action, int code) {
        for (int b = 0; b < keyActionCount; b++)
            if (b != action && fileKeys[b] == code && !keysMayShare(b, action)) return true;
        return false;
    };
    bool whole = true;
    for (int a = 0; a < keyPlayerOneActions; a++) {
        if (fileKeys[a] != 0) continue;
        if (taken(a, defaultKeys[a])) whole = false;
        else fileKeys[a] = defaultKeys[a];
    }
    // Player two's keys came later: one the player had already given to another action moves to
    // a spare key rather than undoing every binding the file holds.
    for (int a = keyPlayerOneActions; a < keyActionCount && whole; a++) {
        if (fileKeys[a] != 0) continue;
        fileKeys[a] = defaultKeys[a];
        for (const char* spare = spareKeys; *spare && taken(a, fileKeys[a]); spare++) fileKeys[a] = *spare;
        if (taken(a, fileKeys[a])) whole = false;
        else if (fileKeys[a] != defaultKeys[a] && err)
            fprintf(err, "trailerdash: %s's own key is bound to another action; it is %c for now\n", actionNames[a],
                    fileKeys[a]);
    }
    if (whole) {
        memcpy(keys, fileKeys, sizeof keys);
    } else if (err) {
        fprintf(err, "trailerdash: the settings leave a key with nothing to do it; every key is back to its default\n");
    }
}

int Settings::format(char* buffer, int size) const {
    char spelled[16];
    int used = snprintf(buffer, (size_t)size, "%s %d\nname %s\ndifficulty %s\nlaps %d\n", versionWord,
                        settingsFormatVersion, name, settingsDifficultyName(difficulty), laps);
    for (int c = 0; c < volumeChannelCount && used >= 0 && used < size; c++)
        used += snprintf(buffer + used, (size_t)(size - used), "volume %s %d\n", channelNames[c], volume[c]);
    for (int a = 0; a < keyActionCount && used >= 0 && used < size; a++)
        used += snprintf(buffer + used, (size_t)(size - used), "key %s %s\n", actionNames[a],
                         keyName(keys[a], spelled, sizeof spelled));
    if (used >= 0 && used < size)
        used += snprintf(buffer + used, (size_t)(size - used), "ghost %s\nassist %s\nstart %s\n", ghost ? "on" : "off",
                         assist ? "on" : "off", startScreenName(start));
    return used >= 0 && used < size ? used : -1;
}

void Settings::load(const char* path, FILE* err) {
    reset();
    static char text[maxSettingsFileSize];
    bool tooLong;
    long n = readWholeFile(path, text, sizeof text, tooLong);
    if (n < 0) {
        if (errno != ENOENT && err) fprintf(err, "trailerdash: cannot read %s: %s\n", path, strerror(errno));
        return;
    }
    if (tooLong) {
        if (err) fprintf(err, "trailerdash: %s is too large to be a settings file; it is left as it is\n", path);
        readOnly = true;
    }
    parse(text, n, err);
}

bool Settings::save(const char* path) const {
    if (readOnly) return false;
    char text[maxSettingsFileSize];
    int n = format(text, sizeof text);
    if (n < 0) return false;
    // The folder of the file, made when missing.
    char folder[storagePathSize];
    const char* slash = strrchr(path, '/');
    if (slash && slash > path && (size_t)(slash - path) < sizeof folder) {
        memcpy(folder, path, (size_t)(slash - path));
        folder[slash - path] = '\0';
        if (!makeFolders(folder)) return false;
    }
    return writeFileAtomically(path, text, (size_t)n);
}

bool settingsPath(char* buffer, int size) {
    const char* config = getenv("XDG_CONFIG_HOME");
    int n;
    // The base directory rules say a relative XDG_CONFIG_HOME is to be ignored.
    if (config && config[0] == '/') {
        n = snprintf(buffer, (size_t)size, "%s/trailerdash/settings", config);
    } else {
        const char* home = getenv("HOME");
        if (!home || home[0] != '/') return false;
        n = snprintf(buffer, (size_t)size, "%s/.config/trailerdash/settings", home);
    }
    return n > 0 && n < size;
}
