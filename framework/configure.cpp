// The configuration step: everything between VMSG_CREATE and the window's creation.
#include <new>

#include "connect/connection.h"
#include "fileio/utf8.h"
#include "framework/vane.h"
#include "platform/platform_layer.h"

namespace {

constexpr uint32_t kResultFailed = 1;
constexpr uint32_t kResultNoWindowSetup = 2;

// The platform's own orientation wish: 6 and 7 follow the screen, 4 portrait, 5 landscape,
// anything else a fixed turn.
uint8_t PlatformOrientationFor(uint8_t orientation) {
    switch (orientation) {
        case 6:
        case 7:
            return 0;
        case 4:
            return 1;
        case 5:
            return 2;
        default:
            return 3;
    }
}

}  // namespace

uint32_t ClassVane::Configure() {
    if (windowSetup_ == nullptr) return kResultNoWindowSetup;

    appSettings_ = VAppSettings{};
    screenSettings_ = VScreenSettings{};
    const VPlatformDefaults device = instance_->layer->Defaults();
    appSettings_.minimizeWhenInactive = device.minimizeWhenInactive;
    screenSettings_.fullScreen = device.fullScreen;
    window_ = 0;
    frameRate_.Reset();
    limiter_.Reset();
    state_ = VSTATE_STARTING;
    minimizeRequest_ = 0;
    fastForwardHeld_ = 0;
    slowMotionHeld_ = 0;
    tilt_ = VTiltSettings{};

    if (const int r = OnConfigure(appSettings_)) return uint32_t(r);
    if (const int r = OnConfigureDisplay(screenSettings_)) return uint32_t(r);
    screenSettings_.caption[kCaptionCapacity - 1] = 0;  // a caption filled to the brim
    if (const uint32_t r = ConfigureChecks()) return r;

    console_.SetInstance(instance_, instanceHandle_);
    FillWindowSetup();
    CreateConnections();

    const uint32_t created = instance_->layer->CreateMainWindow(instance_, *windowSetup_);
    if (created >= 2) {
        ReportError(u"Can't create window");
        return kResultFailed;
    }
    return 0;
}

uint32_t ClassVane::ConfigureChecks() {
    const VScreenSettings& s = screenSettings_;
    if (s.width & 3) {
        ReportError(u"Wrong display size: width not divisible by 4");
        return kResultFailed;
    }
    if (!s.fullScreen) {
        uint32_t desktopWidth = 0, desktopHeight = 0;
        instance_->layer->GetDesktopSize(&desktopWidth, &desktopHeight);
        if (s.width >= desktopWidth || s.height >= desktopHeight) {
            ReportError(u"Can't create window, it's too big for the current resolution");
            return kResultFailed;
        }
    }
    if (s.orientation > 7) {
        ReportError(u"Unknown display rotation");
        return kResultFailed;
    }
    if (appSettings_.fpslimit >= 1 && appSettings_.fpslimit <= 4) {
        ReportError(u"FPS can't be locked below 5");
        return kResultFailed;
    }
    return 0;
}

void ClassVane::FillWindowSetup() {
    VWindowSetup& w = *windowSetup_;
    const VScreenSettings& s = screenSettings_;
    w = VWindowSetup{};
    w.skipSingleInstanceCheck = 1;
    w.platformOrientation = PlatformOrientationFor(s.orientation);
    w.windowMode = s.fullScreen ? kWindowModeFullScreen : kWindowModeWindowed;
    w.cursorShown = s.fullScreen ? s.cursorInFullScreen : 1;
    w.statusLine = s.fullScreen ? 0 : s.statusBar;
    w.width = s.width;
    w.height = s.height;
    w.icon = s.icon;
    w.menu = s.menu;
    w.dialog = s.dialog;
    w.optionA = appSettings_.platformOptionA;
    w.optionB = appSettings_.platformOptionB;
    WideToUtf8(s.caption, w.caption, sizeof(w.caption));
}

void ClassVane::CreateConnections() {
    const uint32_t count = appSettings_.connectionSlots < kMaxConnections
                               ? appSettings_.connectionSlots
                               : kMaxConnections;
    for (uint32_t slot = 0; slot < kMaxConnections; ++slot) {
        delete connections_[slot];
        connections_[slot] = nullptr;
        if (slot < count) connections_[slot] = new (std::nothrow) ClassVConnection(uint8_t(slot));
    }
}
