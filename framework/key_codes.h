// Key codes as the framework's messages, key lists and callbacks carry them: the virtual-key
// codes of the desktop system, to which every platform layer translates its own keys. Letters
// and the digits of the main rows are their upper-case characters ('A', '7'); 0 is never a key.
#pragma once

#include <cstdint>

constexpr uint32_t VKEY_BACKSPACE = 0x08;
constexpr uint32_t VKEY_TAB = 0x09;
constexpr uint32_t VKEY_ENTER = 0x0D;
constexpr uint32_t VKEY_SHIFT = 0x10;
constexpr uint32_t VKEY_CONTROL = 0x11;
constexpr uint32_t VKEY_ALT = 0x12;
constexpr uint32_t VKEY_PAUSE = 0x13;
constexpr uint32_t VKEY_CAPSLOCK = 0x14;
constexpr uint32_t VKEY_ESCAPE = 0x1B;
constexpr uint32_t VKEY_SPACE = 0x20;
constexpr uint32_t VKEY_PAGEUP = 0x21;
constexpr uint32_t VKEY_PAGEDOWN = 0x22;
constexpr uint32_t VKEY_END = 0x23;
constexpr uint32_t VKEY_HOME = 0x24;
constexpr uint32_t VKEY_LEFT = 0x25;
constexpr uint32_t VKEY_UP = 0x26;
constexpr uint32_t VKEY_RIGHT = 0x27;
constexpr uint32_t VKEY_DOWN = 0x28;
constexpr uint32_t VKEY_PRINTSCREEN = 0x2C;
constexpr uint32_t VKEY_INSERT = 0x2D;
constexpr uint32_t VKEY_DELETE = 0x2E;
constexpr uint32_t VKEY_LEFTSYSTEM = 0x5B;  // the system keys beside the space bar
constexpr uint32_t VKEY_RIGHTSYSTEM = 0x5C;
constexpr uint32_t VKEY_MENU = 0x5D;
// The keypad: digits 0 to 9 from VKEY_NUMPAD0 on, then its operators.
constexpr uint32_t VKEY_NUMPAD0 = 0x60;
constexpr uint32_t VKEY_MULTIPLY = 0x6A;
constexpr uint32_t VKEY_ADD = 0x6B;
constexpr uint32_t VKEY_SUBTRACT = 0x6D;
constexpr uint32_t VKEY_DECIMAL = 0x6E;
constexpr uint32_t VKEY_DIVIDE = 0x6F;
// F1 to F24 from VKEY_F1 on.
constexpr uint32_t VKEY_F1 = 0x70;
constexpr uint32_t VKEY_NUMLOCK = 0x90;
constexpr uint32_t VKEY_SCROLLLOCK = 0x91;
// The punctuation keys of a US layout, by position.
constexpr uint32_t VKEY_SEMICOLON = 0xBA;
constexpr uint32_t VKEY_EQUALS = 0xBB;
constexpr uint32_t VKEY_COMMA = 0xBC;
constexpr uint32_t VKEY_MINUS = 0xBD;
constexpr uint32_t VKEY_PERIOD = 0xBE;
constexpr uint32_t VKEY_SLASH = 0xBF;
constexpr uint32_t VKEY_GRAVE = 0xC0;
constexpr uint32_t VKEY_LEFTBRACKET = 0xDB;
constexpr uint32_t VKEY_BACKSLASH = 0xDC;
constexpr uint32_t VKEY_RIGHTBRACKET = 0xDD;
constexpr uint32_t VKEY_APOSTROPHE = 0xDE;
constexpr uint32_t VKEY_EXTRABACKSLASH = 0xE2;  // the key beside the left shift on ISO layouts
