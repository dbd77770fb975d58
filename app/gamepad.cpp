#include "app/gamepad.h"

#include <cstdio>

#include "core/input.h"

GamepadInput gamepads;
static bool controllersStarted = false;

// The virtual key of each pad key, by index.
static const int padKeys[GamepadInput::padKeyCount] = {
    VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_SPACE, VK_ESCAPE, 'A', 'Z', 'R', VK_RETURN,
    VK_PLAYER2_LEFT, VK_PLAYER2_RIGHT, VK_PLAYER2_UP, VK_PLAYER2_DOWN, VK_PLAYER2_RECOVER};
enum { keyLeft, keyRight, keyUp, keyDown, keySpace, keyEscape, keyZoomIn, keyZoomOut, keyRecover, keyMenu };
// Player two's driving keys come after player one's ten, in the same order, then their recovery.
static const int playerTwoFirstKey = keyMenu + 1;
static const int playerTwoRecoverKey = playerTwoFirstKey + keyDown + 1;

// The stick presses its key past half way and lets go only back inside the dead zone, so a
// thumb resting near the middle never chatters.
static const int stickPress = 16384;
static const int stickDeadZone = 8000;

GamepadInput::GamepadInput() : twoPlayers(false) {
    for (Pad& p : pads) p = Pad{false, -1, nullptr, {}, 0, 0, 0};
    for (bool& s : sent) s = false;
}

bool GamepadInput::isGamepadEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
        return true;
    default:
        return false;
    }
}

GamepadInput::Pad* GamepadInput::padFor(SDL_JoystickID id, bool create) {
    for (Pad& p : pads) {
        if (p.inUse && p.id == id) return &p;
    }
    if (!create) return nullptr;
    // A new pad is the player's who has none; with both served, a further one helps player one.
    bool served[2] = {false, false};
    for (const Pad& p : pads)
        if (p.inUse) served[p.player] = true;
    int player = served[0] && !served[1] ? 1 : 0;
    for (Pad& p : pads) {
        if (!p.inUse) {
            p = Pad{true, id, nullptr, {}, 0, 0, player};
            return &p;
        }
    }
    return nullptr;
}

int GamepadInput::playerOf(SDL_JoystickID id) const {
    for (const Pad& p : pads)
        if (p.inUse && p.id == id) return p.player;
    return -1;
}

int GamepadInput::setTwoPlayers(bool on, WindowMessage* out, int capacity) {
    if (on == twoPlayers) return 0;
    twoPlayers = on;
    return sendChanges(out, capacity);
}

// The pad key a controller button holds, or -1.
static int keyOfButton(int button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return keyLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return keyRight;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return keyUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return keyDown;
    case SDL_CONTROLLER_BUTTON_A:
        return keySpace;
    case SDL_CONTROLLER_BUTTON_B:
    case SDL_CONTROLLER_BUTTON_BACK:
        return keyEscape;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
        return keyZoomIn;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        return keyZoomOut;
    case SDL_CONTROLLER_BUTTON_START:
        return keyMenu;
    case SDL_CONTROLLER_BUTTON_Y:
        return keyRecover;
    default:
        return -1;
    }
}

static int stickStep(int held, int value) {
    if (value > stickPress) return 1;
    if (value < -stickPress) return -1;
    if (value > -stickDeadZone && value < stickDeadZone) return 0;
    return held;
}

int GamepadInput::handle(const SDL_Event& event, WindowMessage* out, int capacity) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: {
        // The added event names a device index; every later event the instance id.
        SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which);
        if (!controller) return 0;
        Pad* pad = padFor(SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)), true);
        if (!pad) {
            SDL_GameControllerClose(controller);
            return 0;
        }
        if (pad->controller) SDL_GameControllerClose(pad->controller);
        pad->controller = controller;
        return 0;
    }
    case SDL_CONTROLLERDEVICEREMOVED: {
        Pad* pad = padFor(event.cdevice.which, false);
        if (!pad) return 0;
        if (pad->controller) SDL_GameControllerClose(pad->controller);
        pad->inUse = false;
        return sendChanges(out, capacity);
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        int key = keyOfButton(event.cbutton.button);
        Pad* pad = key >= 0 ? padFor(event.cbutton.which, true) : nullptr;
        if (!pad) return 0;
        pad->buttons[key] = event.type == SDL_CONTROLLERBUTTONDOWN;
        return sendChanges(out, capacity);
    }
    case SDL_CONTROLLERAXISMOTION: {
        int axis = event.caxis.axis;
        if (axis != SDL_CONTROLLER_AXIS_LEFTX && axis != SDL_CONTROLLER_AXIS_LEFTY) return 0;
        Pad* pad = padFor(event.caxis.which, true);
        if (!pad) return 0;
        int& held = axis == SDL_CONTROLLER_AXIS_LEFTX ? pad->stickX : pad->stickY;
        held = stickStep(held, event.caxis.value);
        return sendChanges(out, capacity);
    }
    default:
        return 0;
    }
}

int GamepadInput::sendChanges(WindowMessage* out, int capacity) {
    bool wanted[padKeyCount] = {};
    for (const Pad& p : pads) {
        if (!p.inUse) continue;
        bool held[keyMenu + 1];
        for (int k = 0; k <= keyMenu; k++) held[k] = p.buttons[k];
        // SDL's stick y grows downward: pushed away from the player is Up.
        if (p.stickX < 0) held[keyLeft] = true;
        if (p.stickX > 0) held[keyRight] = true;
        if (p.stickY < 0) held[keyUp] = true;
        if (p.stickY > 0) held[keyDown] = true;
        bool second = twoPlayers && p.player == 1;
        for (int k = 0; k <= keyMenu; k++) {
            if (!held[k]) continue;
            if (!second) wanted[k] = true;
            else if (k <= keyDown) wanted[playerTwoFirstKey + k] = true;
            else if (k == keyRecover) wanted[playerTwoRecoverKey] = true;
            else if (k != keyZoomIn && k != keyZoomOut) wanted[k] = true;
        }
    }
    int count = 0;
    for (int k = 0; k < padKeyCount && count < capacity; k++) {
        if (wanted[k] == sent[k]) continue;
        sent[k] = wanted[k];
        // lParam as a keyboard gives it: repeat count 1; a release also has its previous-state
        // and transition bits.
        int64_t lParam = wanted[k] ? 1 : (1 | ((int64_t)1 << 30) | ((int64_t)1 << 31));
        out[count++] = {wanted[k] ? (unsigned)WM_KEYDOWN : (unsigned)WM_KEYUP, (uint64_t)padKeys[k], lParam};
    }
    return count;
}

int GamepadInput::closeAll(WindowMessage* out, int capacity) {
    for (Pad& p : pads) {
        if (p.inUse && p.controller) SDL_GameControllerClose(p.controller);
        p.inUse = false;
    }
    return sendChanges(out, capacity);
}

void startGamepads() {
    if (controllersStarted) return;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        fprintf(stderr, "No gamepads: %s\n", SDL_GetError());
        return;
    }
    controllersStarted = true;
    // SDL's own database knows the common pads; a newer community file may sit by the pictures.
    SDL_GameControllerAddMappingsFromFile("gamecontrollerdb.txt");
    // Pads already plugged in arrive as added events, like any pad plugged in later.
}

void stopGamepads() {
    if (!controllersStarted) return;
    WindowMessage ignored[GamepadInput::mostMessages];
    gamepads.closeAll(ignored, GamepadInput::mostMessages);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    controllersStarted = false;
}
