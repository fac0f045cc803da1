// Platform events that are neither frames nor input: raw window messages, screen rotation,
// repaint requests and focus changes.
#include "framework/messages.h"
#include "framework/vane.h"
#include "platform/platform_layer.h"

namespace {

// The orientation code that follows the screen.
constexpr uint8_t kOrientationFollowScreen = 6;

}  // namespace

bool ClassVane::HandleWindowMessage(VMessage* message) {
    VPlatformLayer& platform = *instance_->layer;
    const uint32_t raw = uint32_t(message->param1);
    if (platform.IsDialogInitMessage(raw)) window_ = instance_->window;
    const bool handled = OnWindowMessage(window_, raw, message->param2, message->param3);
    if (DialogMode()) return handled;
    switch (platform.ConsoleButtonClicked(instance_, raw, message->param2, message->param3)) {
        case kConsoleButtonChecked:
            console_.Open();
            return true;
        case kConsoleButtonUnchecked:
            console_.Close();
            return true;
        default:
            return handled;
    }
}

void ClassVane::Rotate(uint32_t degrees) {
    uint8_t native = 0;
    if (degrees == 90) native = 1;
    if (degrees == 180) native = 2;
    if (degrees == 270) native = 3;
    VDisplay& display = screen_;
    display.SetNativeOrientation(native);
    if (display.IsFullScreen() && screenSettings_.orientation != kOrientationFollowScreen) {
        display.SetOrientation(display.Orientation());
    } else {
        display.SetOrientation(native);
    }
}

void ClassVane::Repaint() {
    VDisplay& display = screen_;
    if (display.IsFullScreen() || (appSettings_.flags & kFlagIgnoreRepaint)) return;
    if (display.IsSuspended()) {
        display.Resume();
        display.Present();
        display.Suspend();
    } else {
        display.Present();
    }
}

void ClassVane::Activate(uintptr_t how) {
    switch (how) {
        case 0:
            SetState(VSTATE_RUNNING);
            break;
        case 1:
            if (appSettings_.minimizeWhenInactive) {
                Minimize();
            } else {
                SetState(VSTATE_INACTIVE);
            }
            break;
        case 2:
            SetState(VSTATE_SUSPENDED);
            break;
        default:
            break;
    }
}
