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
