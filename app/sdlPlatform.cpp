#include "app/sdlPlatform.h"

#include <SDL.h>

#include <cstdio>

#include "core/input.h"
#include "app/gamepad.h"
#include "app/glWindow.h"
#include "app/keyMap.h"

// One notch of a Windows mouse wheel.
static const int wheelDelta = 120;

// The counter and the boxes need no SDL subsystem, and the window starts and stops video (and
// with it the events), so the platform itself holds nothing of SDL's.
SdlPlatform::SdlPlatform() {}
SdlPlatform::~SdlPlatform() {}

int64_t SdlPlatform::queryPerformanceCounter() { return (int64_t)SDL_GetPerformanceCounter(); }

int64_t SdlPlatform::queryPerformanceFrequency() { return (int64_t)SDL_GetPerformanceFrequency(); }

void SdlPlatform::getCursorPos(int& x, int& y) {
    SDL_GetGlobalMouseState(&x, &y);
    // Pixels of the picture, wherever and however large the window shows it.
    glWindow.screenToPicture(x, y);
}

void SdlPlatform::showCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

int SdlPlatform::messageBox(const char* text, const char* caption, unsigned flags) {
    if (!text) text = "";
    if (!caption) caption = "";
    fprintf(stderr, "%s%s%s\n", caption, *caption ? ": " : "", text);

    bool question = (flags & 0x0F) == MB_YESNO;
    int fallback = question ? IDNO : IDOK;
    SDL_MessageBoxButtonData buttons[2];
    int buttonCount;
    if (question) {
        // Enter answers Yes and Escape No, as the keyboard does in a Windows question box.
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"};
        buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"};
        buttonCount = 2;
    } else {
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"};
        buttonCount = 1;
    }
    Uint32 kind = SDL_MESSAGEBOX_INFORMATION;
    unsigned icon = flags & 0xF0;
    if (icon == MB_ICONERROR)
        kind = SDL_MESSAGEBOX_ERROR;
    else if (icon == MB_ICONEXCLAMATION)
        kind = SDL_MESSAGEBOX_WARNING;

    SDL_MessageBoxData box = {kind, nullptr, caption, text, buttonCount, buttons, nullptr};
    int chosen = -1;
    if (SDL_ShowMessageBox(&box, &chosen) != 0) {
        fprintf(stderr, "(no message box could be shown: %s)\n", SDL_GetError());
        return fallback;
    }
    // Closing the box without a button is the safe answer.
    return chosen == IDYES || chosen == IDNO || chosen == IDOK ? chosen : fallback;
}

// Packs two 16-bit values into an lParam, as Windows does for positions and sizes.
static int64_t makeLParam(int low, int high) {
    return (int64_t)(((unsigned)high & 0xFFFFu) << 16 | ((unsigned)low & 0xFFFFu));
}

static bool windowIsMinimised(Uint32 windowId) {
    SDL_Window* window = SDL_GetWindowFromID(windowId);
    return window && (SDL_GetWindowFlags(window) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0;
}

static bool translateWindowEvent(const SDL_WindowEvent& e, WindowMessage& msg) {
    switch (e.event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
        msg = {WM_ACTIVATE, makeWParam(WA_ACTIVE, 0), 0};
        return true;
    // A hidden window shows nothing either: treat it as minimised so no frames are drawn.
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_HIDDEN:
        msg = {WM_ACTIVATE, makeWParam(WA_INACTIVE, 1), 0};
        return true;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        msg = {WM_ACTIVATE, makeWParam(WA_ACTIVE, windowIsMinimised(e.windowID) ? 1 : 0), 0};
        return true;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        msg = {WM_ACTIVATE, makeWParam(WA_INACTIVE, windowIsMinimised(e.windowID) ? 1 : 0), 0};
        return true;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        msg = {WM_SIZE, SIZE_RESTORED, makeLParam(e.data1, e.data2)};
        return true;
    case SDL_WINDOWEVENT_CLOSE:
        msg = {WM_CLOSE, 0, 0};
        return true;
    default:
        return false;
    }
}

static bool translateKeyEvent(const SDL_KeyboardEvent& e, WindowMessage& msg) {
    int code = virtualKeyOf(e.keysym.sym, e.keysym.scancode);
    if (code < 0) return false;
    bool down = e.type == SDL_KEYDOWN;
    bool menu = isMenuKey(code, e.keysym.mod);
    // A release always goes as a plain key-up unless it is the menu key itself, so a key let go
    // while Alt is held is never left down in the game.
    bool menuRelease = !down && (code == VK_MENU || code == VK_F10) && menu;
    unsigned message = down ? (menu ? WM_SYSKEYDOWN : WM_KEYDOWN) : (menuRelease ? WM_SYSKEYUP : WM_KEYUP);
    // lParam as Windows lays it out: repeat count 1, scancode, previous state, transition.
    int64_t lParam = 1 | ((int64_t)(e.keysym.scancode & 0xFF) << 16);
    if (e.repeat || !down) lParam |= (int64_t)1 << 30;
    if (!down) lParam |= (int64_t)1 << 31;
    msg = {message, (uint64_t)code, lParam};
    return true;
}

bool SdlPlatform::translateEvent(const SDL_Event& event, WindowMessage& msg) {
    switch (event.type) {
    case SDL_QUIT:
        // The last window closed or the process was asked to stop: close as the close box does.
        msg = {WM_CLOSE, 0, 0};
        return true;
    case SDL_WINDOWEVENT:
        return translateWindowEvent(event.window, msg);
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return translateKeyEvent(event.key, msg);
    case SDL_MOUSEMOTION:
        msg = {WM_MOUSEMOVE, 0, makeLParam(event.motion.x, event.motion.y)};
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        bool down = event.type == SDL_MOUSEBUTTONDOWN;
        unsigned message;
        switch (event.button.button) {
        case SDL_BUTTON_LEFT:
            message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
            break;
        case SDL_BUTTON_RIGHT:
            message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            break;
        case SDL_BUTTON_MIDDLE:
            message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
            break;
        default:
            return false;
        }
        msg = {message, 0, makeLParam(event.button.x, event.button.y)};
        return true;
    }
    case SDL_MOUSEWHEEL: {
        int steps = event.wheel.y;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) steps = -steps;
        // A sideways scroll is a different Windows message, which the game does not use.
        if (steps == 0) return false;
        long delta = (long)steps * wheelDelta;
        if (delta > 32767) delta = 32767;
        if (delta < -32768) delta = -32768;
        msg = {WM_MOUSEWHEEL, makeWParam(0, (unsigned)(delta & 0xFFFF)), 0};
        return true;
    }
    default:
        return false;
    }
}

void SdlPlatform::pumpEvents() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
    SDL_Event event;
    // Keep one slot free so a quit request never has to push out input, and room for all the
    // keys a gamepad event can give, so none of them (a release above all) is ever dropped.
    while (pendingMessages() < queueCapacity - 1 - GamepadInput::mostMessages && SDL_PollEvent(&event)) {
        WindowMessage msg;
        if (GamepadInput::isGamepadEvent(event)) {
            WindowMessage padMessages[GamepadInput::mostMessages];
            int count = gamepads.handle(event, padMessages, GamepadInput::mostMessages);
            for (int i = 0; i < count; i++)
                postMessage(padMessages[i].message, padMessages[i].wParam, padMessages[i].lParam);
        } else if (translateEvent(event, msg)) {
            postMessage(msg.message, msg.wParam, msg.lParam);
        }
    }
}

void SdlPlatform::waitMessage() {
    const int longestWaitMs = 250;
    if (!SDL_WasInit(SDL_INIT_EVENTS) || pendingMessages() > 0) return;
    SDL_Event event;
    WindowMessage msg;
    if (SDL_WaitEventTimeout(&event, longestWaitMs) && translateEvent(event, msg))
        postMessage(msg.message, msg.wParam, msg.lParam);
}
