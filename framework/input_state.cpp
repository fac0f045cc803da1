#include "framework/input_state.h"

void ClassVInputState::Initialise() {
    *this = ClassVInputState{};
}

void ClassVInputState::KeyDown(uint32_t key) {
    lastKey_ = key;
    if (key < kInputKeyCodes) keyHeld_[key] = 1;
}

void ClassVInputState::KeyUp(uint32_t key) {
    if (key < kInputKeyCodes) keyHeld_[key] = 0;
}

void ClassVInputState::PenDown(int32_t x, int32_t y, uint32_t button) {
    stylusX_ = x;
    stylusY_ = y;
    if (button < 4) buttonHeld_[button] = 1;
}

void ClassVInputState::PenUp(int32_t x, int32_t y, uint32_t button) {
    stylusX_ = x;
    stylusY_ = y;
    if (button < 4) buttonHeld_[button] = 0;
}

void ClassVInputState::PenDouble(int32_t x, int32_t y, uint32_t button) {
    PenDown(x, y, button);
}

void ClassVInputState::PenMove(int32_t x, int32_t y) {
    stylusX_ = x;
    stylusY_ = y;
}

void ClassVInputState::Wheel(int32_t direction) {
    if (direction < 0) --wheel_;
    if (direction > 0) ++wheel_;
}

void ClassVInputState::Tilt(int32_t x, int32_t y) {
    tiltX_ = x;
    tiltY_ = y;
}

void ClassVInputState::Character(uint16_t character, uint32_t key) {
    if (characterCount_ >= kInputCharacters) return;
    characters_[characterCount_] = character;
    characterKeys_[characterCount_] = key;
    ++characterCount_;
}

void ClassVInputState::FrameBegin(uint32_t elapsedMs) {
    frameTime_ = elapsedMs;
}

void ClassVInputState::FrameEnd() {
    lastKey_ = 0;
    characterCount_ = 0;
}

void ClassVInputState::Reset() {
    for (uint8_t& held : keyHeld_) held = 0;
    for (uint8_t& held : buttonHeld_) held = 0;
    FrameEnd();
    wheel_ = 0;
}
