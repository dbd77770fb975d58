#pragma once
// Gamepads through SDL's game controller API, hot-plugged, entering the game as the very key
// messages the keyboard gives: D-pad and left stick for the arrows, A for Space, B and Back for
// Escape, the shoulders for the zoom keys A and Z, Y for the recover key R, Start for Return (the menu).
// Each pad belongs to a player: the first to player one, the next to player two, and one plugged
// in later to the player who has none. In a two-player race player two's pad drives with player
// two's own codes and keeps A, B, Back and Start; its shoulders and Y do nothing, as the zoom and
// recovery are player one's. Outside one every pad is player one's, as with a single pad.
#include <SDL.h>

#include "core/platform.h"

class GamepadInput {
public:
    // Pads in use at once; a further one is ignored until one is unplugged.
    static const int maxPads = 8;
    // Keys a pad can hold: player one's ten, then player two's four driving codes and recovery;
    // an event changes at most all of them.
    static const int padKeyCount = 15;
    static const int mostMessages = padKeyCount;

    GamepadInput();

    static bool isGamepadEvent(const SDL_Event& event);
    // Handles one controller event: opens or closes the pad on a plug or unplug, and writes
    // the key messages its change of state gives into out. Returns how many.
    int handle(const SDL_Event& event, WindowMessage* out, int capacity);
    // Closes every pad; the keys they held are released through out, as on an unplug.
    int closeAll(WindowMessage* out, int capacity);
    // Whether a two-player race is on: player two's pad then drives truck 1. The keys that change
    // hands as it switches go out through out; returns how many.
    int setTwoPlayers(bool on, WindowMessage* out, int capacity);
    // The player (0 or 1) a pad belongs to, -1 for a pad not in use.
    int playerOf(SDL_JoystickID id) const;

private:
    struct Pad {
        bool inUse;
        SDL_JoystickID id;
        SDL_GameController* controller;  // null for a pad known only from its events
        bool buttons[padKeyCount];       // player one's keys its buttons and D-pad hold
        int stickX, stickY;              // -1, 0 or +1: where the left stick holds a key
        int player;                      // 0 or 1
    };
    Pad* padFor(SDL_JoystickID id, bool create);
    int sendChanges(WindowMessage* out, int capacity);

    Pad pads[maxPads];
    bool sent[padKeyCount];  // the keys the pads hold down in the game
    bool twoPlayers;
};

extern GamepadInput gamepads;
// Starts SDL's game controllers (its mapping database, and gamecontrollerdb.txt from the data
// folder when a player put one there); without them the game simply has no pads.
void startGamepads();
void stopGamepads();
