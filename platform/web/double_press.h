// Whether a press is the second of a double click or double tap: the same button again within
// kDoublePressMs and kDoublePressDistance display pixels of the first press. After a double
// press the next press starts afresh. Plain C++, so that it is tested natively.
#pragma once

#include <cstdint>

class VDoublePress {
  public:
    static constexpr uint32_t kDoublePressMs = 500;
    static constexpr int32_t kDoublePressDistance = 4;

    bool Press(uint32_t button, int32_t x, int32_t y, uint32_t timeMs);

  private:
    bool armed_ = false;
    uint32_t button_ = 0;
    int32_t x_ = 0, y_ = 0;
    uint32_t time_ = 0;
};
