// ClassVInputState: the input the framework keeps for applications that poll instead of (or
// besides) using the callbacks. The framework feeds it every event after the matching
// callback, tells it when a frame begins and ends, and resets it on resume.
//
// Keys reach it as key codes and are turned into input codes by the action map: codes 0 to
// 223 are actions (several keys may share one), 224 + b is stylus button b (0 other, 1 left,
// 2 right, 3 middle). Per input code it keeps whether the code is held, for how long and
// whether it repeats; per frame it keeps a queue of events and the characters typed.
#pragma once

#include <cstdint>

constexpr uint32_t kInputEvents = 32;
constexpr uint32_t kInputActions = 128;
constexpr uint32_t kInputCodes = 240;
constexpr uint32_t kInputActionCodes = 224;  // codes below this are actions of the map
constexpr uint32_t kInputStylusCode = 224;   // + button index
constexpr uint32_t kInputCharacters = 32;
constexpr uint32_t kInputNames = 160;
constexpr uint32_t kFirstRepeatDelayMs = 300;
constexpr uint32_t kRepeatIntervalMs = 100;
// A key mapped to this action types no characters.
constexpr uint32_t kInputNoCharacterCode = 200;

// Event kinds.
constexpr uint8_t VINPUT_PRESSED = 1;
constexpr uint8_t VINPUT_DOUBLE = 2;
constexpr uint8_t VINPUT_REPEATED = 3;
constexpr uint8_t VINPUT_RELEASED = 4;

struct VInputEvent {
    int32_t x = 0, y = 0;  // stylus position when the event happened
    uint8_t kind = 0;
    uint8_t code = 0;
};

class ClassVInputState {
  public:
    ClassVInputState();
    ClassVInputState(const ClassVInputState&) = delete;
    ClassVInputState& operator=(const ClassVInputState&) = delete;
    ~ClassVInputState();

    // At display start: an empty action map with the default entries, nothing held.
    void Initialise();
    // Maps a key to an input code; false when the map is full or the code is not an action.
    bool AddAction(uint32_t code, uint32_t key);
    void KeyDown(uint32_t key);
    void KeyUp(uint32_t key);
    void PenDown(int32_t x, int32_t y, uint32_t button);
    void PenUp(int32_t x, int32_t y, uint32_t button);
    void PenDouble(int32_t x, int32_t y, uint32_t button);
    void PenMove(int32_t x, int32_t y);
    void Wheel(int32_t direction);
    void Tilt(int32_t x, int32_t y);
    void Character(uint16_t character, uint32_t key);
    // Advances the held times by the frame's elapsed ms and adds the repeated events.
    void FrameBegin(uint32_t elapsedMs);
    // Empties the frame's events and characters.
    void FrameEnd();
    // On resume: nothing held, no events or characters, wheel 0.
    void Reset();

    bool Held(uint32_t code) const { return code < kInputCodes && (states[code] & 0xFF) != 0; }
    bool Repeating(uint32_t code) const {
        return code < kInputCodes && (states[code] & 0xFF00) != 0;
    }
    uint32_t HeldTime(uint32_t code) const { return code < kInputCodes ? states[code] >> 16 : 0; }
    // Display name of an input code ("A", "Up", "Stop"), or null when it has none.
    const char* Name(uint32_t code) const;

    // The fields applications read.
    VInputEvent events[kInputEvents];
    uint32_t actions[kInputActions] = {};  // bits 0-7 code, bit 8 held, bits 16-31 key
    uint32_t states[kInputCodes] = {};     // bits 0-7 held, 8-15 repeating, 16-31 held ms
    uint16_t characters[kInputCharacters] = {};
    uint32_t characterKeys[kInputCharacters] = {};
    int32_t stylusX = 0, stylusY = 0;
    int32_t tiltX = 0, tiltY = 0;
    int32_t wheel = 0;
    uint32_t firstRepeatDelay = kFirstRepeatDelayMs;
    uint32_t repeatInterval = kRepeatIntervalMs;
    uint32_t lastKey = 0;
    uint8_t actionCount = 0;
    uint8_t eventCount = 0;
    uint8_t characterCount = 0;

  private:
    void AddEvent(uint8_t kind, uint32_t code);
    void Press(uint32_t code);
    // A button going down: stylus position, held state and an event of the given kind.
    void PenPress(int32_t x, int32_t y, uint32_t button, uint8_t kind);
    void BuildNameTable();

    char* names_ = nullptr;                   // owned; every name terminated
    uint16_t nameOffsets_[kInputNames] = {};  // 0xFFFF: no name
};
