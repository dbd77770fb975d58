#include "app/keyMap.h"

#include "core/input.h"

struct KeyPair {
    SDL_Keycode symbol;
    int virtualKey;
};

// Named keys whose symbols do not depend on the layout.
// clang-format off
static const KeyPair namedKeys[] = {
    {SDLK_BACKSPACE, VK_BACK}, {SDLK_TAB, VK_TAB}, {SDLK_CLEAR, VK_CLEAR}, {SDLK_RETURN, VK_RETURN},
    {SDLK_RETURN2, VK_RETURN}, {SDLK_KP_ENTER, VK_RETURN}, {SDLK_PAUSE, VK_PAUSE},
    {SDLK_CAPSLOCK, VK_CAPITAL}, {SDLK_ESCAPE, VK_ESCAPE}, {SDLK_SPACE, VK_SPACE},
    {SDLK_PAGEUP, VK_PRIOR}, {SDLK_PAGEDOWN, VK_NEXT}, {SDLK_END, VK_END}, {SDLK_HOME, VK_HOME},
    {SDLK_LEFT, VK_LEFT}, {SDLK_UP, VK_UP}, {SDLK_RIGHT, VK_RIGHT}, {SDLK_DOWN, VK_DOWN},
    {SDLK_PRINTSCREEN, VK_SNAPSHOT}, {SDLK_INSERT, VK_INSERT}, {SDLK_DELETE, VK_DELETE},
    {SDLK_HELP, VK_HELP}, {SDLK_LGUI, VK_LWIN}, {SDLK_RGUI, VK_RWIN}, {SDLK_APPLICATION, VK_APPS},
    {SDLK_MENU, VK_APPS},
    // Windows reports the modifiers by their shared codes in key messages.
    {SDLK_LSHIFT, VK_SHIFT}, {SDLK_RSHIFT, VK_SHIFT}, {SDLK_LCTRL, VK_CONTROL}, {SDLK_RCTRL, VK_CONTROL},
    {SDLK_LALT, VK_MENU}, {SDLK_RALT, VK_MENU},
    {SDLK_KP_MULTIPLY, VK_MULTIPLY}, {SDLK_KP_PLUS, VK_ADD}, {SDLK_KP_MINUS, VK_SUBTRACT},
    {SDLK_KP_PERIOD, VK_DECIMAL}, {SDLK_KP_DECIMAL, VK_DECIMAL}, {SDLK_KP_COMMA, VK_SEPARATOR},
    {SDLK_KP_DIVIDE, VK_DIVIDE}, {SDLK_NUMLOCKCLEAR, VK_NUMLOCK}, {SDLK_SCROLLLOCK, VK_SCROLL},
    {SDLK_SEMICOLON, VK_OEM_1}, {SDLK_COLON, VK_OEM_1}, {SDLK_EQUALS, VK_OEM_PLUS}, {SDLK_PLUS, VK_OEM_PLUS},
    {SDLK_COMMA, VK_OEM_COMMA}, {SDLK_LESS, VK_OEM_COMMA}, {SDLK_MINUS, VK_OEM_MINUS},
    {SDLK_UNDERSCORE, VK_OEM_MINUS}, {SDLK_PERIOD, VK_OEM_PERIOD}, {SDLK_GREATER, VK_OEM_PERIOD},
    {SDLK_SLASH, VK_OEM_2}, {SDLK_QUESTION, VK_OEM_2}, {SDLK_BACKQUOTE, VK_OEM_3},
    {SDLK_LEFTBRACKET, VK_OEM_4}, {SDLK_BACKSLASH, VK_OEM_5}, {SDLK_RIGHTBRACKET, VK_OEM_6},
    {SDLK_QUOTE, VK_OEM_7}, {SDLK_QUOTEDBL, VK_OEM_7},
};
// clang-format on
static const int namedKeyCount = (int)(sizeof namedKeys / sizeof namedKeys[0]);

// Keys recognised by position when their symbol gave nothing.
static int virtualKeyOfScancode(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0) return '0';
    if (scancode == SDL_SCANCODE_NONUSBACKSLASH) return VK_OEM_102;
    return -1;
}

int virtualKeyOf(SDL_Keycode symbol, SDL_Scancode scancode) {
    if (symbol >= SDLK_a && symbol <= SDLK_z) return 'A' + (symbol - SDLK_a);
    if (symbol >= SDLK_0 && symbol <= SDLK_9) return '0' + (symbol - SDLK_0);
    if (symbol >= SDLK_F1 && symbol <= SDLK_F12) return VK_F1 + (symbol - SDLK_F1);
    if (symbol >= SDLK_F13 && symbol <= SDLK_F24) return VK_F1 + 12 + (symbol - SDLK_F13);
    if (symbol >= SDLK_KP_1 && symbol <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (symbol - SDLK_KP_1);
    if (symbol == SDLK_KP_0) return VK_NUMPAD0;
    for (int i = 0; i < namedKeyCount; i++) {
        if (namedKeys[i].symbol == symbol) return namedKeys[i].virtualKey;
    }
    return virtualKeyOfScancode(scancode);
}

bool isMenuKey(int virtualKey, Uint16 modifiers) {
    bool ctrl = (modifiers & KMOD_CTRL) != 0;
    if (virtualKey == VK_F10) return true;
    if (virtualKey == VK_MENU) return !ctrl;
    return (modifiers & KMOD_ALT) != 0 && !ctrl;
}

KeyRemap::KeyRemap() {
    for (int c = 0; c < 256; c++) to[c] = (short)c;
}

void KeyRemap::build(const int* bound, const int* defaults, int count) {
    for (int c = 0; c < 256; c++) to[c] = (short)c;
    // First every rebound action's own key goes quiet, then each bound key takes its action.
    for (int a = 0; a < count; a++)
        if (bound[a] != defaults[a] && defaults[a] >= 0 && defaults[a] < 256) to[defaults[a]] = -1;
    for (int a = 0; a < count; a++)
        if (bound[a] >= 0 && bound[a] < 256) to[bound[a]] = (short)defaults[a];
}
