#pragma once
// The Options screen: the player's own settings, one row each. Up and Down pick a row, Left and
// Right change its value, Return types the name, waits for a key to bind, resets the keys or
// leaves; Escape leaves (or cancels the typing or the key wait). Leaving asks for a save.
#include "records/settings.h"

class Options {
public:
    enum Row {
        rowName, rowDifficulty, rowLaps, rowMaster, rowEngines, rowEffects, rowGhost, rowAssist, rowStart,
        rowFirstKey, rowResetKeys = rowFirstKey + keyActionCount, rowBack, rowCount
    };
    // The key that opens the menu from the title: never bound to an action.
    static const int menuKey = 0x0D;  // Return

    // One frame's presses; true when the player leaves the screen.
    bool update(Settings& settings);
    void draw(const Settings& settings) const;
    // Left (-1) or Right (+1) on a row.
    static void change(Settings& settings, int row, int by);
    // Binds the waited-for key; false, with the reason in message, when it is refused.
    bool bind(Settings& settings, int action, int code);

    int selected = 0;
    bool typing = false;
    int waitingAction = -1;  // the action whose key is awaited, -1 when none
    char typed[maxPlayerNameLength + 1] = {};
    char message[64] = {};  // the last refusal, under the rows

private:
    void type(Settings& settings);
};
