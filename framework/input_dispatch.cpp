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
        case VMSG_TILT:
            if (running) HandleTilt(Signed(message.param1), Signed(message.param2));
            return true;
        default:
            return false;
    }
}

void ClassVane::HandleTilt(int32_t rawX, int32_t rawY) {
    // The sensor turns with the device, so the orientation in force decides, not the turn.
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
    x -= tilt_.centreX;
    y -= tilt_.centreY;
    EmulateTiltKeys(x, y);

    if (!tilt_.stylusEmulation && !tilt_.stylusHeld) {
        EndTiltStep(x, y);
        return;
    }
    EmulateTiltStylus(&x, &y);
    EndTiltStep(x, y);
}

uint32_t ClassVane::TiltKeyLeaving(int32_t x, int32_t y) const {
    const int32_t px = tilt_.previousX, py = tilt_.previousY;
    const int32_t tx = tilt_.thresholdX, ty = tilt_.thresholdY;
    uint32_t key = 0;
    if (px <= -tx && -tx < x) key = keyList_.keys[kKeyRoleLeft];
    if (py <= -ty && -ty < y) key = keyList_.keys[kKeyRoleUp];
    if (px >= tx && tx > x) key = keyList_.keys[kKeyRoleRight];
    if (py >= ty && ty > y) key = keyList_.keys[kKeyRoleDown];
    return key;
}

uint32_t ClassVane::TiltKeyEntering(int32_t x, int32_t y) const {
    const int32_t px = tilt_.previousX, py = tilt_.previousY;
    const int32_t cx = tilt_.configuredThresholdX, cy = tilt_.configuredThresholdY;
    uint32_t key = 0;
    if (x <= -cx && -cx < px) key = keyList_.keys[kKeyRoleLeft];
    if (y <= -cy && -cy < py) key = keyList_.keys[kKeyRoleUp];
    if (x >= cx && cx > px) key = keyList_.keys[kKeyRoleRight];
    if (y >= cy && cy > py) key = keyList_.keys[kKeyRoleDown];
    return key;
}

void ClassVane::EmulateTiltKeys(int32_t x, int32_t y) {
    if (tilt_.keyEmulation) {
        if (const uint32_t key = TiltKeyLeaving(x, y)) {
            OnKeyUp(key, keyList_);
            input_.KeyUp(key);
        }
        if (const uint32_t key = TiltKeyEntering(x, y)) {
            OnKeyDown(key, keyList_);
            input_.KeyDown(key);
        }
        tilt_.keysEmulated = 1;
        return;
    }
    if (!tilt_.keysEmulated) return;
    // Emulation was switched off: release the key the last position held.
    const int32_t px = tilt_.previousX, py = tilt_.previousY;
    const int32_t tx = tilt_.thresholdX, ty = tilt_.thresholdY;
    uint32_t key = 0;
    if (px <= -tx) key = keyList_.keys[kKeyRoleLeft];
    if (py <= -ty) key = keyList_.keys[kKeyRoleUp];
    if (px >= tx) key = keyList_.keys[kKeyRoleRight];
    if (py >= ty) key = keyList_.keys[kKeyRoleDown];
    if (key != 0) {
        OnKeyUp(key, keyList_);
        input_.KeyUp(key);
    }
    tilt_.keysEmulated = 0;
}

void ClassVane::EmulateTiltStylus(int32_t* x, int32_t* y) {
    const int64_t width = screen_.GetWidth(), height = screen_.GetHeight();
    int64_t side = width > height ? width : height;
    if (side == 0) side = 1;
    // A range of 0 would divide by zero; the smallest range maps every tilt to an edge.
    const int64_t range = tilt_.range > 0 ? tilt_.range : 1;
    const auto clamp = [range](int32_t v) {
        return int32_t(v < -range ? -range : v > range ? range : v);
    };
    *x = clamp(*x);
    *y = clamp(*y);
    const int32_t sx = int32_t((*x + range) * side / (2 * range) - (side - width) / 2);
    const int32_t sy = int32_t((*y + range) * side / (2 * range) - (side - height) / 2);
    if (tilt_.stylusEmulation) {
        if (tilt_.stylusHeld) {
            input_.PenMove(sx, sy);
            OnPenMove(sx, sy);
        } else {
            input_.PenDown(sx, sy, 0);
            OnPenDown(sx, sy);
        }
        tilt_.stylusHeld = 1;
    } else {
        OnPenUp(sx, sy);
        input_.PenUp(sx, sy, 0);
        tilt_.stylusHeld = 0;
    }
}

void ClassVane::EndTiltStep(int32_t x, int32_t y) {
    tilt_.previousX = x;
    tilt_.previousY = y;
    tilt_.thresholdX = tilt_.configuredThresholdX;
    tilt_.thresholdY = tilt_.configuredThresholdY;
}
