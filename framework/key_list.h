// The application's key list: the key codes of 31 roles, handed to OnKeyDown and OnKeyUp.
#pragma once

#include <cstdint>

#include "framework/key_codes.h"

constexpr uint32_t kKeyListSize = 31;

// Roles 4 to 7 are the direction keys, which the display orientation turns.
constexpr uint32_t kKeyRoleUp = 4;
constexpr uint32_t kKeyRoleDown = 5;
constexpr uint32_t kKeyRoleLeft = 6;
constexpr uint32_t kKeyRoleRight = 7;

// The default key of each role; letters and digits are their characters.
struct VKeyList {
    uint32_t keys[kKeyListSize] = {
        'Z',             // 0
        'X',             // 1
        'C',             // 2
        VKEY_ENTER,      // 3
        VKEY_UP,         // 4
        VKEY_DOWN,       // 5
        VKEY_LEFT,       // 6
        VKEY_RIGHT,      // 7
        0,               // 8
        0,               // 9
        '1',             // 10
        '2',             // 11
        '3',             // 12
        '4',             // 13
        0,               // 14
        VKEY_ENTER,      // 15
        VKEY_SHIFT,      // 16
        VKEY_SHIFT,      // 17
        VKEY_CONTROL,    // 18
        VKEY_CONTROL,    // 19
        VKEY_ESCAPE,     // 20
        VKEY_SPACE,      // 21
        VKEY_BACKSPACE,  // 22
        VKEY_TAB,        // 23
        VKEY_PAGEUP,     // 24
        VKEY_PAGEDOWN,   // 25
        VKEY_INSERT,     // 26
        VKEY_DELETE,     // 27
        VKEY_HOME,       // 28
        VKEY_END,        // 29
        0,               // 30
    };
};
