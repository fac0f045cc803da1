// ClassVInputState: the input the framework keeps for applications that poll instead of (or
// besides) using the callbacks. The framework feeds it every event after the matching
// callback, tells it when a frame begins and ends, and resets it on resume.
//
// This object keeps the last stylus position, the wheel sum, the last tilt values, the keys
// held and the characters typed this frame.
#pragma once

#include <cstdint>

constexpr uint32_t kInputCharacters = 32;
constexpr uint32_t kInputKeyCodes = 256;

class ClassVInputState {
  public:
    void Initialise();  // at display start: everything cleared
    void KeyDown(uint32_t key);
    void KeyUp(uint32_t key);
    void PenDown(int32_t x, int32_t y, uint32_t button);
    void PenUp(int32_t x, int32_t y, uint32_t button);
    void PenDouble(int32_t x, int32_t y, uint32_t button);
    void PenMove(int32_t x, int32_t y);
    void Wheel(int32_t direction);
    void Tilt(int32_t x, int32_t y);
    void Character(uint16_t character, uint32_t key);
    void FrameBegin(uint32_t elapsedMs);
    void FrameEnd();
    void Reset();  // on resume: nothing held, no characters, wheel 0

    bool KeyHeld(uint32_t key) const { return key < kInputKeyCodes && keyHeld_[key] != 0; }
    bool ButtonHeld(uint32_t button) const { return button < 4 && buttonHeld_[button] != 0; }
    int32_t StylusX() const { return stylusX_; }
    int32_t StylusY() const { return stylusY_; }
    int32_t TiltX() const { return tiltX_; }
    int32_t TiltY() const { return tiltY_; }
    int32_t WheelSum() const { return wheel_; }
    uint32_t LastKey() const { return lastKey_; }
    uint32_t CharacterCount() const { return characterCount_; }
    uint16_t CharacterAt(uint32_t i) const { return characters_[i]; }
    uint32_t FrameTime() const { return frameTime_; }

  private:
    uint8_t keyHeld_[kInputKeyCodes] = {};
    uint8_t buttonHeld_[4] = {};
    uint16_t characters_[kInputCharacters] = {};
    uint32_t characterKeys_[kInputCharacters] = {};
    int32_t stylusX_ = 0, stylusY_ = 0;
    int32_t tiltX_ = 0, tiltY_ = 0;
    int32_t wheel_ = 0;
    uint32_t lastKey_ = 0;
    uint32_t characterCount_ = 0;
    uint32_t frameTime_ = 0;  // elapsed game time of the frame in progress
};
