#include "platform/web/double_press.h"

bool VDoublePress::Press(uint32_t button, int32_t x, int32_t y, uint32_t timeMs) {
    const int64_t dx = int64_t(x) - x_, dy = int64_t(y) - y_;
    // Unsigned subtraction: a clock that wrapped between the presses still gives their distance.
    const bool twice = armed_ && button == button_ && timeMs - time_ <= kDoublePressMs &&
                       dx >= -kDoublePressDistance && dx <= kDoublePressDistance &&
                       dy >= -kDoublePressDistance && dy <= kDoublePressDistance;
    armed_ = !twice;
    button_ = button;
    x_ = x;
    y_ = y;
    time_ = timeMs;
    return twice;
}
