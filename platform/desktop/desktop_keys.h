// Key codes of the desktop layer: SDL keys become the virtual-key codes the framework's key
// list and action map are written in (the codes Windows uses), so programs see the same keys
// on every desktop.
#pragma once

#include <SDL.h>

#include <cstdint>

// The virtual-key code of a key, or 0 for a key that has none (such keys are not sent).
// Letters and digits follow the keyboard layout (the key that types 'Q' is 'Q'); punctuation
// and every other key follow the key's position.
uint32_t VirtualKeyFor(SDL_Keycode key, SDL_Scancode scancode);

// The character a control key types (Enter 13, Backspace 8, Tab 9, Esc 27), or 0. SDL reports
// only printable text; these complete what a text field expects.
char16_t ControlCharacterFor(SDL_Keycode key);
