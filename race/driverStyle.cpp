#include "race/driverStyle.h"

#include <cstring>

// clang-format off
static const DriverStyle styles[difficultyCount] = {
    // Easy: lower top speeds, and it lifts off for milder turns.
    {560.0f, 40.0f, 25.0f, 450.0f, 5.0f,     0.0f, 0.0f, 0.0f,     0.0f, 0.0f, 0.0f},
    // Normal: the classic race's drivers.
    {800.0f, 50.0f, 35.0f, 650.0f, 5.0f,     0.0f, 0.0f, 0.0f,     0.0f, 0.0f, 0.0f},
    // Hard: Normal's top speeds, on the racing line, lifting off before the sharpest bends.
    {800.0f, 50.0f, 35.0f, 650.0f, 0.0f,   200.0f, 0.3f, 5.0f,  2500.0f, 3.0f, 0.8f},
};
// clang-format on

static const char* const names[difficultyCount] = {"easy", "normal", "hard"};

static int levelIndex(Difficulty level) {
    int i = (int)level;
    return i >= 0 && i < difficultyCount ? i : (int)Difficulty::normal;
}

const DriverStyle& driverStyleFor(Difficulty level) { return styles[levelIndex(level)]; }

const char* difficultyName(Difficulty level) { return names[levelIndex(level)]; }

bool difficultyFromName(const char* name, Difficulty& level) {
    if (!name) return false;
    for (int i = 0; i < difficultyCount; i++) {
        if (strcmp(name, names[i]) == 0) {
            level = (Difficulty)i;
            return true;
        }
    }
    return false;
}
