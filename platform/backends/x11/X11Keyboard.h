#pragma once
// From X11 key symbols to what the window manager takes: virtual-key codes
// for key messages and Windows-1252 codes for WM_CHAR. Pure functions of the
// key symbols, so they need no display.
#include "platform/base/WinTypes.h"

#include <optional>

namespace kw::x11 {

// An X11 KeySym (an unsigned long in Xlib); spelled out here so that the
// mapping can be used and tested without the Xlib headers.
using KeySymbol = unsigned long;

// The virtual key of a key. `base` is the key's symbol without modifiers
// (level 0 of its key code), `typed` the symbol the modifiers and NumLock
// select. Letters, digits and punctuation are named by their unshifted
// symbol, as the platform names the physical key ('1' for '!', VK_OEM_MINUS
// for '_'); keypad keys by what NumLock makes of them (VK_NUMPAD1 or VK_END).
// 0 for keys the platform has no code for.
BYTE VirtualKeyForKey(KeySymbol base, KeySymbol typed);

// The Windows-1252 code a key types, none for keys that type nothing (arrows,
// function keys, modifiers). `control` is true while Ctrl is held without
// Alt: Ctrl with a letter types its control code (Ctrl+A is 1), as on the
// platform. Characters outside the code page type '?', as an ANSI window
// receives them.
std::optional<BYTE> CharacterForKey(KeySymbol typed, bool control);

} // namespace kw::x11
