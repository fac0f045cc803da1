#include "framework/input_state.h"

#include "fileio/memory.h"

namespace {

constexpr uint32_t kActionHeld = 1u << 8;
constexpr uint32_t kStateHeld = 1;
constexpr uint32_t kStateRepeating = 1u << 8;
constexpr uint32_t kMaxHeldMs = 0xFFFF;
constexpr uint16_t kNoName = 0xFFFF;

// Codes below 96 are named by the character code + 32; from 96 on the names follow in order.
constexpr uint32_t kCharacterNamedCodes = 96;
constexpr uint32_t kMaxListedNames = 64;
constexpr char kListedNames[] =
    "Up\nDown\nLeft\nRight\nF1\nF2\nF3\nF4\nF5\nF6\nF7\nF8\nF9\nF10\nF11\nF12\nTab\nSpace\n"
    "Enter\nShift\nControl\nAlt\nEsc\nInsert\nDelete\nHome\nEnd\nPageup\nPagedown\nCapslock\n"
    "Numlock\nScroll lock\nPrintscreen\nPause\nBackspace\nSoftkey 1\nSoftkey 2\nSoftkey 3\n"
    "Softkey 4\nMenu\nStart\nSelect\nJog up\nJog down\nJog\nVolume up\nVolume down\nPower\n"
    "Play\nRewind\nForward\nStop\n";

struct DefaultAction {
    uint8_t code;
    uint8_t keys[6];  // 0 ends the list
};

// The map every display start installs, row by row.
constexpr DefaultAction kDefaultActions[] = {
    {160, {38}},
    {161, {40}},
    {162, {37}},
    {163, {39}},
    {192, {38, 104}},
    {193, {40, 98}},
    {194, {37, 100}},
    {195, {39, 102}},
    {196, {13, 32, 90}},
    {197, {27, 8, 88}},
    {201, {13, 32}},
    {198, {112, 113, 114, 115, 116, 117}},
    {199, {118, 119, 120, 121, 122, 123}},
    {208, {38, 104}},
    {209, {40, 98}},
    {210, {37, 100}},
    {211, {39, 102}},
    {212, {32, 90}},
    {213, {88}},
    {214, {27, 8, 13}},
};

uint32_t KeyOf(uint32_t entry) {
    return entry >> 16;
}
uint32_t CodeOf(uint32_t entry) {
    return entry & 0xFF;
}

}  // namespace

ClassVInputState::ClassVInputState() {
    BuildNameTable();
}

ClassVInputState::~ClassVInputState() {
    MemFree(names_);
}

void ClassVInputState::BuildNameTable() {
    for (uint16_t& offset : nameOffsets_) offset = kNoName;
    // Two bytes for each character name, then the listed names with their terminators.
    const size_t size = kCharacterNamedCodes * 2 + sizeof(kListedNames);
    names_ = static_cast<char*>(MemAlloc(size));
    if (names_ == nullptr) return;
    size_t at = 0;
    for (uint32_t code = 0; code < kCharacterNamedCodes; ++code) {
        nameOffsets_[code] = uint16_t(at);
        names_[at++] = char(code + 32);
        names_[at++] = 0;
    }
    uint32_t code = kCharacterNamedCodes;
    const char* name = kListedNames;
    for (uint32_t listed = 0; *name != 0 && listed < kMaxListedNames && code < kInputNames;
         ++listed, ++code) {
        nameOffsets_[code] = uint16_t(at);
        while (*name != 0 && *name != '\n' && *name != '\r') names_[at++] = *name++;
        names_[at++] = 0;
        if (*name != 0) ++name;
    }
}

const char* ClassVInputState::Name(uint32_t code) const {
    if (names_ == nullptr || code >= kInputNames || nameOffsets_[code] == kNoName) return nullptr;
    return names_ + nameOffsets_[code];
}

void ClassVInputState::Initialise() {
    MemFill32(actions, 0, kInputActions);
    actionCount = 0;
    firstRepeatDelay = kFirstRepeatDelayMs;
    repeatInterval = kRepeatIntervalMs;
    Reset();
    stylusX = stylusY = 0;
    tiltX = tiltY = 0;
    for (const DefaultAction& row : kDefaultActions) {
        for (uint8_t key : row.keys) {
            if (key != 0) AddAction(row.code, key);
        }
    }
}

bool ClassVInputState::AddAction(uint32_t code, uint32_t key) {
    if (actionCount >= kInputActions || code >= kInputActionCodes || key > 0xFFFF) return false;
    actions[actionCount++] = code | key << 16;
    return true;
}

void ClassVInputState::AddEvent(uint8_t kind, uint32_t code) {
    if (eventCount >= kInputEvents) return;
    events[eventCount++] = VInputEvent{stylusX, stylusY, kind, uint8_t(code)};
}

void ClassVInputState::Press(uint32_t code) {
    if (!Held(code)) states[code] = kStateHeld;
}

void ClassVInputState::KeyDown(uint32_t key) {
    lastKey = key;
    for (uint32_t i = 0; i < actionCount; ++i) {
        if (KeyOf(actions[i]) != key) continue;
        actions[i] |= kActionHeld;
        Press(CodeOf(actions[i]));
    }
    for (uint32_t i = 0; i < actionCount; ++i) {
        if (KeyOf(actions[i]) == key) AddEvent(VINPUT_PRESSED, CodeOf(actions[i]));
    }
}

void ClassVInputState::KeyUp(uint32_t key) {
    for (uint32_t i = 0; i < actionCount; ++i) {
        if (KeyOf(actions[i]) != key) continue;
        actions[i] &= ~kActionHeld;
        const uint32_t code = CodeOf(actions[i]);
        bool stillHeld = false;
        for (uint32_t j = 0; j < actionCount && !stillHeld; ++j) {
            stillHeld = CodeOf(actions[j]) == code && (actions[j] & kActionHeld) != 0;
        }
        if (!stillHeld) states[code] = 0;
    }
    for (uint32_t i = 0; i < actionCount; ++i) {
        if (KeyOf(actions[i]) == key) AddEvent(VINPUT_RELEASED, CodeOf(actions[i]));
    }
}

void ClassVInputState::PenDown(int32_t x, int32_t y, uint32_t button) {
    PenPress(x, y, button, VINPUT_PRESSED);
}

void ClassVInputState::PenDouble(int32_t x, int32_t y, uint32_t button) {
    PenPress(x, y, button, VINPUT_DOUBLE);
}

void ClassVInputState::PenPress(int32_t x, int32_t y, uint32_t button, uint8_t kind) {
    if (button >= 4) return;
    stylusX = x;
    stylusY = y;
    Press(kInputStylusCode + button);
    AddEvent(kind, kInputStylusCode + button);
}

void ClassVInputState::PenUp(int32_t x, int32_t y, uint32_t button) {
    if (button >= 4) return;
    stylusX = x;
    stylusY = y;
    states[kInputStylusCode + button] = 0;
    AddEvent(VINPUT_RELEASED, kInputStylusCode + button);
}

void ClassVInputState::PenMove(int32_t x, int32_t y) {
    stylusX = x;
    stylusY = y;
}

void ClassVInputState::Wheel(int32_t direction) {
    if (direction < 0) --wheel;
    if (direction > 0) ++wheel;
}

void ClassVInputState::Tilt(int32_t x, int32_t y) {
    tiltX = x;
    tiltY = y;
}

void ClassVInputState::Character(uint16_t character, uint32_t key) {
    if (characterCount >= kInputCharacters) return;
    for (uint32_t i = 0; i < actionCount; ++i) {
        if (KeyOf(actions[i]) == key && CodeOf(actions[i]) == kInputNoCharacterCode) return;
    }
    characters[characterCount] = character;
    characterKeys[characterCount] = key;
    ++characterCount;
}

void ClassVInputState::FrameBegin(uint32_t elapsedMs) {
    for (uint32_t code = 0; code < kInputCodes; ++code) {
        uint32_t state = states[code];
        if ((state & 0xFF) == 0) continue;
        const uint32_t sum = (state >> 16) + elapsedMs;
        const uint32_t held = sum < (state >> 16) || sum > kMaxHeldMs ? kMaxHeldMs : sum;
        const bool repeating = (state & kStateRepeating) != 0;
        if (held >= (repeating ? repeatInterval : firstRepeatDelay)) {
            states[code] = (state & 0xFF) | kStateRepeating;
            AddEvent(VINPUT_REPEATED, code);
        } else {
            states[code] = (state & 0xFFFF) | held << 16;
        }
    }
}

void ClassVInputState::FrameEnd() {
    lastKey = 0;
    eventCount = 0;
    characterCount = 0;
}

void ClassVInputState::Reset() {
    MemFill32(states, 0, kInputCodes);
    for (uint32_t i = 0; i < actionCount; ++i) actions[i] &= ~kActionHeld;
    FrameEnd();
    wheel = 0;
}
