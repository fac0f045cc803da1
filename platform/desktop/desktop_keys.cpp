#include "platform/desktop/desktop_keys.h"

#include "framework/key_codes.h"

namespace {

struct ScancodeKey {
    SDL_Scancode scancode;
    uint32_t virtualKey;
};

// Keys found by position.
constexpr ScancodeKey kScancodeKeys[] = {
    {SDL_SCANCODE_BACKSPACE, VKEY_BACKSPACE},
    {SDL_SCANCODE_TAB, VKEY_TAB},
    {SDL_SCANCODE_RETURN, VKEY_ENTER},
    {SDL_SCANCODE_KP_ENTER, VKEY_ENTER},
    {SDL_SCANCODE_LSHIFT, VKEY_SHIFT},
    {SDL_SCANCODE_RSHIFT, VKEY_SHIFT},
    {SDL_SCANCODE_LCTRL, VKEY_CONTROL},
    {SDL_SCANCODE_RCTRL, VKEY_CONTROL},
    {SDL_SCANCODE_LALT, VKEY_ALT},
    {SDL_SCANCODE_RALT, VKEY_ALT},
    {SDL_SCANCODE_PAUSE, VKEY_PAUSE},
    {SDL_SCANCODE_CAPSLOCK, VKEY_CAPSLOCK},
    {SDL_SCANCODE_ESCAPE, VKEY_ESCAPE},
    {SDL_SCANCODE_SPACE, VKEY_SPACE},
    {SDL_SCANCODE_PAGEUP, VKEY_PAGEUP},
    {SDL_SCANCODE_PAGEDOWN, VKEY_PAGEDOWN},
    {SDL_SCANCODE_END, VKEY_END},
    {SDL_SCANCODE_HOME, VKEY_HOME},
    {SDL_SCANCODE_LEFT, VKEY_LEFT},
    {SDL_SCANCODE_UP, VKEY_UP},
    {SDL_SCANCODE_RIGHT, VKEY_RIGHT},
    {SDL_SCANCODE_DOWN, VKEY_DOWN},
    {SDL_SCANCODE_PRINTSCREEN, VKEY_PRINTSCREEN},
    {SDL_SCANCODE_INSERT, VKEY_INSERT},
    {SDL_SCANCODE_DELETE, VKEY_DELETE},
    {SDL_SCANCODE_LGUI, VKEY_LEFTSYSTEM},
    {SDL_SCANCODE_RGUI, VKEY_RIGHTSYSTEM},
    {SDL_SCANCODE_APPLICATION, VKEY_MENU},
    {SDL_SCANCODE_KP_0, VKEY_NUMPAD0 + 0},
    {SDL_SCANCODE_KP_1, VKEY_NUMPAD0 + 1},
    {SDL_SCANCODE_KP_2, VKEY_NUMPAD0 + 2},
    {SDL_SCANCODE_KP_3, VKEY_NUMPAD0 + 3},
    {SDL_SCANCODE_KP_4, VKEY_NUMPAD0 + 4},
    {SDL_SCANCODE_KP_5, VKEY_NUMPAD0 + 5},
    {SDL_SCANCODE_KP_6, VKEY_NUMPAD0 + 6},
    {SDL_SCANCODE_KP_7, VKEY_NUMPAD0 + 7},
    {SDL_SCANCODE_KP_8, VKEY_NUMPAD0 + 8},
    {SDL_SCANCODE_KP_9, VKEY_NUMPAD0 + 9},
    {SDL_SCANCODE_KP_MULTIPLY, VKEY_MULTIPLY},
    {SDL_SCANCODE_KP_PLUS, VKEY_ADD},
    {SDL_SCANCODE_KP_MINUS, VKEY_SUBTRACT},
    {SDL_SCANCODE_KP_PERIOD, VKEY_DECIMAL},
    {SDL_SCANCODE_KP_DIVIDE, VKEY_DIVIDE},
    {SDL_SCANCODE_NUMLOCKCLEAR, VKEY_NUMLOCK},
    {SDL_SCANCODE_SCROLLLOCK, VKEY_SCROLLLOCK},
    {SDL_SCANCODE_SEMICOLON, VKEY_SEMICOLON},
    {SDL_SCANCODE_EQUALS, VKEY_EQUALS},
    {SDL_SCANCODE_COMMA, VKEY_COMMA},
    {SDL_SCANCODE_MINUS, VKEY_MINUS},
    {SDL_SCANCODE_PERIOD, VKEY_PERIOD},
    {SDL_SCANCODE_SLASH, VKEY_SLASH},
    {SDL_SCANCODE_GRAVE, VKEY_GRAVE},
    {SDL_SCANCODE_LEFTBRACKET, VKEY_LEFTBRACKET},
    {SDL_SCANCODE_BACKSLASH, VKEY_BACKSLASH},
    {SDL_SCANCODE_RIGHTBRACKET, VKEY_RIGHTBRACKET},
    {SDL_SCANCODE_APOSTROPHE, VKEY_APOSTROPHE},
    {SDL_SCANCODE_NONUSBACKSLASH, VKEY_EXTRABACKSLASH},
};

}  // namespace

uint32_t VirtualKeyFor(SDL_Keycode key, SDL_Scancode scancode) {
    if (key >= SDLK_a && key <= SDLK_z) return uint32_t('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return uint32_t('0' + (key - SDLK_0));
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return uint32_t('A' + (scancode - SDL_SCANCODE_A));
    }
    // The digit row runs 1 to 9 and then 0.
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
        return uint32_t('1' + (scancode - SDL_SCANCODE_1));
    }
    if (scancode == SDL_SCANCODE_0) return '0';
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) {
        return VKEY_F1 + uint32_t(scancode - SDL_SCANCODE_F1);
    }
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) {
        return VKEY_F1 + 12 + uint32_t(scancode - SDL_SCANCODE_F13);
    }
    for (const ScancodeKey& entry : kScancodeKeys) {
        if (entry.scancode == scancode) return entry.virtualKey;
    }
    return 0;
}

char16_t ControlCharacterFor(SDL_Keycode key) {
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 13;
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_TAB:
            return 9;
        case SDLK_ESCAPE:
            return 27;
        default:
            return 0;
    }
}
