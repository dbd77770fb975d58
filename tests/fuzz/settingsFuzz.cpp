// libFuzzer target for the settings reader: the settings file is text anyone can edit. Every
// value it keeps must be one the Options could set (no key bound twice), and the file the game
// writes back must read as the same settings.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "records/settings.h"

static void checkValues(const Settings& s) {
    size_t length = strlen(s.name);
    if (length < 1 || length > (size_t)maxPlayerNameLength) abort();
    if (s.difficulty < 0 || s.difficulty >= settingsDifficultyCount) abort();
    if (s.laps < minSettingsLaps || s.laps > maxSettingsLaps) abort();
    for (int c = 0; c < volumeChannelCount; c++)
        if (s.volume[c] < 0 || s.volume[c] > maxVolumePercent) abort();
    if (s.start < 0 || s.start >= startScreenCount) abort();
    for (int a = 0; a < keyActionCount; a++) {
        if (s.keys[a] < 1 || s.keys[a] > maxKeyCode) abort();
        if (s.clashOf(a, s.keys[a]) >= 0) abort();  // bound once, but for keys that may share
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (size_t)maxSettingsFileSize) return 0;
    Settings read;
    read.parse((const char*)data, (long)size, nullptr);
    checkValues(read);
    static char text[maxSettingsFileSize];
    int n = read.format(text, sizeof text);
    if (n < 0) abort();
    Settings back;
    back.parse(text, n, nullptr);
    if (back.readOnly || strcmp(back.name, read.name) || back.difficulty != read.difficulty || back.laps != read.laps ||
        memcmp(back.volume, read.volume, sizeof back.volume) || memcmp(back.keys, read.keys, sizeof back.keys) ||
        back.ghost != read.ghost || back.start != read.start)
        abort();
    return 0;
}
