// The application's key list: the key codes of 31 roles, handed to OnKeyDown and OnKeyUp.
#pragma once

#include <cstdint>

constexpr uint32_t kKeyListSize = 31;

// Roles 4 to 7 are the direction keys, which the display orientation turns.
constexpr uint32_t kKeyRoleUp = 4;
constexpr uint32_t kKeyRoleDown = 5;
constexpr uint32_t kKeyRoleLeft = 6;
constexpr uint32_t kKeyRoleRight = 7;

struct VKeyList {
    uint32_t keys[kKeyListSize] = {
        90, 88, 67, 13, 38, 40, 37, 39, 0,  0,  49, 50, 51, 52, 0, 13,
        16, 16, 17, 17, 27, 32, 8,  9,  33, 34, 45, 46, 36, 35, 0,
    };
};
