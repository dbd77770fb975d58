#pragma once
// Translation of SDL key events into the Windows virtual-key codes that Keys is indexed by.
#include <SDL.h>

// The virtual-key code of a key, or -1 for a key that has none (it is then not reported). The
// key's symbol decides where the layout gives one (letters follow the layout, as on Windows);
// the scancode decides for keys whose symbol is not Latin, so Q still drives on any layout.
int virtualKeyOf(SDL_Keycode symbol, SDL_Scancode scancode);

// True when Windows would send the key as a menu key (WM_SYSKEYDOWN): Alt itself, F10, and any
// key with Alt held but not Ctrl (Ctrl+Alt is AltGr, which types characters).
bool isMenuKey(int virtualKey, Uint16 modifiers);

// The race's keys as the player bound them (records/settings): a key bound to an action stands
// for that action's own code, and an action's own key that is bound to nothing now does nothing.
// At the default bindings every key of player one's is itself; player two's keys become their
// own codes. Of two actions sharing a key, the later one takes it.
class KeyRemap {
public:
    KeyRemap();
    // bound[a] is the key the player chose for action a, defaults[a] the code the game sees for it.
    void build(const int* bound, const int* defaults, int count);
    // The key the game sees for code; -1 for none.
    int apply(int code) const { return code >= 0 && code < 256 ? to[code] : code; }

private:
    short to[256];
};
