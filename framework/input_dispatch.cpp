// Input messages (VMSG_KEYDOWN to VMSG_TILT): turned for the display orientation, handed to
// the application's callbacks while it runs, then recorded in the input state.
#include "framework/messages.h"
#include "framework/vane.h"
#include "platform/platform_layer.h"

namespace {

int32_t Signed(uintptr_t value) {
    return int32_t(intptr_t(value));
}

// Stylus button b for a platform button p (0 left, 1 right, 2 middle); 0 for any other.
uint32_t ButtonIndex(uintptr_t platformButton) {
    return platformButton <= 2 ? uint32_t(platformButton) + 1 : 0;
}

constexpr uint32_t kLeftButton = 1;

}  // namespace

uint8_t ClassVane::OrientationTurn() const {
    return uint8_t((screen_.Orientation() - screen_.NativeOrientation() + 4) % 4);
}

uint32_t ClassVane::RemapDirectionKey(uint32_t key) const {
    const uint32_t up = keyList_.keys[kKeyRoleUp], down = keyList_.keys[kKeyRoleDown];
    const uint32_t left = keyList_.keys[kKeyRoleLeft], right = keyList_.keys[kKeyRoleRight];
    switch (OrientationTurn()) {
        case 1:
            if (key == up) return left;
            if (key == left) return down;
            if (key == down) return right;
            if (key == right) return up;
            break;
        case 2:
            if (key == up) return down;
            if (key == down) return up;
            if (key == left) return right;
            if (key == right) return left;
            break;
        case 3:
            if (key == up) return right;
            if (key == right) return down;
            if (key == down) return left;
            if (key == left) return up;
            break;
        default:
            break;
    }
    return key;
}

void ClassVane::TurnPen(int32_t* x, int32_t* y) const {
    VPlatformRect client;
    if (screen_.IsFullScreen() || !instance_->layer->GetClientArea(instance_, &client)) return;
    const int32_t w = client.right - client.left, h = client.bottom - client.top;
    const int32_t px = *x, py = *y;
    switch (OrientationTurn()) {
        case 1:
            *x = py;
            *y = w - px - 1;
            break;
        case 2:
            *x = w - px - 1;
            *y = h - py - 1;
            break;
        case 3:
            *x = h - py - 1;
            *y = px;
            break;
        default:
            break;
    }
}

bool ClassVane::HandleInput(const VMessage& message) {
    const bool running = state_ == VSTATE_RUNNING;
    switch (message.code) {
        case VMSG_KEYDOWN:
        case VMSG_KEYUP: {
            if (!running) {
                fastForwardHeld_ = 0;
                slowMotionHeld_ = 0;
                return true;
            }
            if (message.param1 < 1) return true;
            const uint32_t key = RemapDirectionKey(uint32_t(message.param1));
            const uint8_t down = message.code == VMSG_KEYDOWN ? 1 : 0;
            if (down) {
                OnKeyDown(key, keyList_);
                input_.KeyDown(key);
            } else {
                OnKeyUp(key, keyList_);
                input_.KeyUp(key);
            }
            if (key == appSettings_.fastForwardKey) fastForwardHeld_ = down;
            if (key == appSettings_.slowMotionKey) slowMotionHeld_ = down;
            return true;
        }
        case VMSG_CHAR:
            input_.Character(uint16_t(message.param1), uint32_t(message.param2));
            return true;
        case VMSG_PENUP:
        case VMSG_PENDOWN:
        case VMSG_PENDOUBLE:
        case VMSG_PENMOVE: {
            if (!running) return true;
            const uint32_t button = ButtonIndex(message.param1);
            int32_t x = Signed(message.param2), y = Signed(message.param3);
            TurnPen(&x, &y);
            const bool callbacks = button == kLeftButton || message.code == VMSG_PENMOVE;
            switch (message.code) {
                case VMSG_PENUP:
                    if (callbacks) OnPenUp(x, y);
                    input_.PenUp(x, y, button);
                    break;
                case VMSG_PENDOWN:
                    if (callbacks) OnPenDown(x, y);
                    input_.PenDown(x, y, button);
                    break;
                case VMSG_PENDOUBLE:
                    if (callbacks) {
                        OnPenDown(x, y);
                        OnPenDoubleTap(x, y);
                    }
                    input_.PenDown(x, y, button);
                    input_.PenDouble(x, y, button);
                    break;
                default:
                    OnPenMove(x, y);
                    input_.PenMove(x, y);
                    break;
            }
            return true;
        }
        case VMSG_WHEEL: {
            if (!running) return true;
            const int32_t direction = Signed(message.param1);
            OnWheel(direction);
            input_.Wheel(direction);
            return true;
        }
        case VMSG_TILT: {
            if (!running) return true;
            const int32_t rawX = Signed(message.param1), rawY = Signed(message.param2);
            int32_t x = rawX, y = rawY;
            switch (screen_.Orientation()) {
                case 1:
                    x = rawY;
                    y = -rawX;
                    break;
                case 2:
                    x = -rawX;
                    y = -rawY;
                    break;
                case 3:
                    x = -rawY;
                    y = rawX;
                    break;
                default:
                    break;
            }
            OnTilt(x >> 5, y >> 5);
            input_.Tilt(x >> 5, y >> 5);
            return true;
        }
        default:
            return false;
    }
}
