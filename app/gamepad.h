#pragma once
// Gamepads through SDL's game controller API, hot-plugged, entering the game as the very key
// messages the keyboard gives: D-pad and left stick for the arrows, A for Space, B and Back for
// Escape, the shoulders for the zoom keys A and Z, Y for the recover key R, Start for Return (the menu).
#include <SDL.h>

#include "core/platform.h"

class GamepadInput {
public:
    // Pads in use at once; a further one is ignored until one is unplugged.
    static const int maxPads = 8;
    // Keys a pad can hold; an event changes at most all of them.
    static const int padKeyCount = 10;
    static const int mostMessages = padKeyCount;

    GamepadInput();

    static bool isGamepadEvent(const SDL_Event& event);
    // Handles one controller event: opens or closes the pad on a plug or unplug, and writes
    // the key messages its change of state gives into out. Returns how many.
    int handle(const SDL_Event& event, WindowMessage* out, int capacity);
    // Closes every pad; the keys they held are released through out, as on an unplug.
    int closeAll(WindowMessage* out, int capacity);

private:
    struct Pad {
        bool inUse;
        SDL_JoystickID id;
        SDL_GameController* controller;  // null for a pad known only from its events
        bool buttons[padKeyCount];       // the keys its buttons and D-pad hold
        int stickX, stickY;              // -1, 0 or +1: where the left stick holds a key
    };
    Pad* padFor(SDL_JoystickID id, bool create);
    int sendChanges(WindowMessage* out, int capacity);

    Pad pads[maxPads];
    bool sent[padKeyCount];  // the keys the pads hold down in the game
};

extern GamepadInput gamepads;
// Starts SDL's game controllers (its mapping database, and gamecontrollerdb.txt from the data
// folder when a player put one there); without them the game simply has no pads.
void startGamepads();
void stopGamepads();
