#pragma once
// The player's own settings, kept in a small versioned text file:
//
//   trailerdash settings 1
//   name Ada
//   difficulty normal
//   laps 6
//   volume master 100
//   key accelerate Up
//   ghost on
//   assist off
//   start ask
//
// one value a line. A line that cannot be read costs only its own value; a file from a newer
// version is read as far as this one understands it and never written over.
#include <cstdio>

const int settingsFormatVersion = 1;
// Larger files are not ours; a full one is well under a kilobyte.
const int maxSettingsFileSize = 8192;
// The name as the HUD and the results show it: printable ASCII, not empty.
const int maxPlayerNameLength = 24;
const int minSettingsLaps = 1;
const int maxSettingsLaps = 10;
const int maxVolumePercent = 100;
// Key codes are the game's own virtual keys (core/input.h), from 1 to 255.
const int maxKeyCode = 255;

// The computer drivers' level, in the order of race/driverStyle's Difficulty.
enum SettingsDifficulty { settingsEasy, settingsNormal, settingsHard, settingsDifficultyCount };
enum VolumeChannel { volumeMaster, volumeEngines, volumeEffects, volumeChannelCount };
enum StartScreen { startAsk, startFullScreen, startWindowed, startScreenCount };
// Every key a player can rebind: the four driving keys, then the game's own, then player two's
// four driving keys and recovery (they act only in a two-player race).
enum KeyAction {
    keyAccelerate, keyBrake, keyLeft, keyRight,
    keyStart, keyPause, keyRecover, keyGhost, keyMute, keyHelp, keyZoomIn, keyZoomOut,
    keyFrameRate, keyInfo, keyClearConsole, keyFullScreen, keyQuit,
    keyPlayer2Accelerate, keyPlayer2Brake, keyPlayer2Left, keyPlayer2Right, keyPlayer2Recover,
    keyActionCount
};
// The actions of a one-player race: all but player two's.
const int keyPlayerOneActions = keyPlayer2Accelerate;
// Player two's keys act only in a two-player race, and the zoom keys only outside one (A is
// player two's left): those may share a key. No other two actions ever do.
bool keysMayShare(int action, int other);
// The code the game sees for an action, whatever key is bound to it: the action's default key,
// or for player two's actions a code of their own that no keyboard sends (core/input.h).
int keyActionCode(int action);

// The word each value is written as ("normal", "engines", "full-screen", "accelerate").
const char* settingsDifficultyName(int level);
const char* volumeChannelName(int channel);
const char* startScreenName(int start);
const char* keyActionName(int action);
// A key's name in the file ("Up", "Space", "F11", "A", or "#107" for one with no name); empty
// for a code out of range. keyFromName is its inverse: 0 for anything it cannot read.
const char* keyName(int code, char* buffer, int size);
int keyFromName(const char* name, int length);

class Settings {
public:
    Settings();
    // Every value at its default: the classic race, full volume, the keys as the README lists them.
    void reset();
    void resetKeys();

    // Binds action to key; false, nothing changed, for a key out of range or bound to another
    // action it may not share with (that action's name goes to why when given).
    bool bindKey(int action, int code, const char** why = nullptr);
    // The first action bound to code, or -1.
    int actionOfKey(int code) const;
    // An action other than action bound to code that may not share it, or -1.
    int clashOf(int action, int code) const;
    // Takes a name that is 1 to maxPlayerNameLength printable ASCII characters, not starting or
    // ending with a space; false, name unchanged, otherwise.
    bool setName(const char* text);

    // Reads a settings file's text, keeping every value it can read; what it ignored is said on
    // err. A newer file's known lines are read too, and it is marked readOnly.
    void parse(const char* text, long length, FILE* err);
    // The file's text; the length, or -1 when it does not fit.
    int format(char* buffer, int size) const;
    // Reads path: a missing file is the defaults, anything else is parse.
    void load(const char* path, FILE* err);
    // Replaces path atomically (its folder made when missing); false, path untouched, on failure
    // or when readOnly.
    bool save(const char* path) const;

    char name[maxPlayerNameLength + 1];
    int difficulty;                   // a SettingsDifficulty
    int laps;                         // minSettingsLaps to maxSettingsLaps
    int volume[volumeChannelCount];   // percent
    int keys[keyActionCount];         // virtual key codes, each bound once (but keysMayShare)
    bool ghost;
    bool assist;                      // steering that eases with speed (the new modes)
    int start;                        // a StartScreen
    // The file on disk is from a newer version, or too large to be ours: it is never replaced.
    bool readOnly;
};

// $XDG_CONFIG_HOME/trailerdash/settings, or ~/.config/trailerdash/settings when XDG_CONFIG_HOME is
// unset, empty or relative. False when neither can be told or the path does not fit.
bool settingsPath(char* buffer, int size);
