#include "platform/handheld/handheld_platform.h"

#include <cstring>
#include <new>
#include <string>

#include "framework/messages.h"
#include "platform/handheld/handheld_screen.h"
#include "platform/handheld/screen_methods.h"
#include "platform/resources.h"
#include "platform/shared/platform_text.h"

namespace {

constexpr uint32_t kPowerOffWaitMs = 100;
constexpr int32_t kWindowedWidth = 128;

uint32_t LowWord(uintptr_t value) {
    return uint32_t(value) & 0xFFFF;
}
uint32_t HighWord(uintptr_t value) {
    return uint32_t(value) >> 16 & 0xFFFF;
}
// A signed value as the framework reads it back from a message parameter.
uintptr_t Param(int32_t value) {
    return uintptr_t(intptr_t(value));
}
// Stylus positions are signed 16-bit values.
uintptr_t PenX(uintptr_t lParam) {
    return Param(int16_t(LowWord(lParam)));
}
uintptr_t PenY(uintptr_t lParam) {
    return Param(int16_t(HighWord(lParam)));
}

template <class Entry>
Entry Find(VHandheldDevice& device, uintptr_t library, const char* name) {
    if (library == 0) return nullptr;
    return reinterpret_cast<Entry>(device.FindEntry(library, name));
}

}  // namespace

VHandheldPlatform::VHandheldPlatform(VHandheldDevice& device) : device_(device) {}

VHandheldPlatform::~VHandheldPlatform() {
    FreeLibraries();
}

uint32_t VHandheldPlatform::Run(const char16_t* commandLine) {
    instance_.reset(new (std::nothrow) VPlatformInstance());
    if (instance_ == nullptr) {
        device_.ShowMessageBox("Instance create error", "Can't run application");
        return 1;
    }
    instance_->layer = this;
    instance_->instanceHandle = reinterpret_cast<uintptr_t>(ProgramResources());
    size_t n = 0;
    for (; commandLine != nullptr && commandLine[n] != 0 && n + 1 < kPlatformTextCapacity; ++n) {
        instance_->commandLine[n] = commandLine[n];
    }
    instance_->commandLine[n] = 0;
    LoadLibraries();
    const uint32_t exitCode = RunProgram(instance_.get());
    // The backlight goes back to what the user had, however the program ended.
    backlight_.Restore(device_);
    FreeLibraries();
    return exitCode;
}

void VHandheldPlatform::LoadLibraries() {
    highResolutionAware_ = device_.ProgramHasResource("HI_RES_AWARE", "CEUX");
    lastAngle_ = device_.ScreenAngle();
    gameLibrary_ = device_.LoadLibrary(kGameInterfaceLibrary);
    game_.openDisplay = Find<VGameOpenDisplay>(device_, gameLibrary_, kGameOpenDisplayName);
    game_.closeDisplay = Find<VGameCall>(device_, gameLibrary_, kGameCloseDisplayName);
    game_.getDisplayProperties =
        Find<VGameGetDisplayProperties>(device_, gameLibrary_, kGameGetDisplayPropertiesName);
    game_.beginDraw = Find<VGameBeginDraw>(device_, gameLibrary_, kGameBeginDrawName);
    game_.endDraw = Find<VGameCall>(device_, gameLibrary_, kGameEndDrawName);
    game_.suspend = Find<VGameCall>(device_, gameLibrary_, kGameSuspendName);
    game_.resume = Find<VGameCall>(device_, gameLibrary_, kGameResumeName);
    game_.setViewport = Find<VGameSetViewport>(device_, gameLibrary_, kGameSetViewportName);
    game_.openInput = Find<VGameCall>(device_, gameLibrary_, kGameOpenInputName);
    game_.closeInput = Find<VGameCall>(device_, gameLibrary_, kGameCloseInputName);
    directDrawLibrary_ = device_.LoadLibrary(kDirectDrawLibrary);
    coreLibrary_ = device_.LoadLibrary(kCoreLibrary);
    getPowerState_ = Find<VGetSystemPowerState>(device_, coreLibrary_, kGetSystemPowerStateName);
    shellLibrary_ = device_.LoadLibrary(kShellLibrary);
    shellIdleTimerReset_ =
        Find<VShellIdleTimerReset>(device_, shellLibrary_, kShellIdleTimerResetName);
}

void VHandheldPlatform::FreeLibraries() {
    for (uintptr_t* library : {&gameLibrary_, &directDrawLibrary_, &coreLibrary_, &shellLibrary_}) {
        if (*library != 0) device_.FreeLibrary(*library);
        *library = 0;
    }
    game_ = VGameEntries{};
    getPowerState_ = nullptr;
    shellIdleTimerReset_ = nullptr;
}

uint32_t VHandheldPlatform::CreateMainWindow(VPlatformInstance* instance,
                                             const VWindowSetup& setup) {
    instance->setup = setup;
    instance->window = 0;
    instance->destroying = 0;
    menuSet_ = setup.menu != 0;
    const std::string caption(setup.caption, strnlen(setup.caption, sizeof(setup.caption)));
    const std::string className = caption + "_class";
    if (!setup.skipSingleInstanceCheck) {
        const uintptr_t other = device_.FindWindow(className.c_str(), caption.c_str());
        if (other != 0) {
            device_.BringToFront(other);
            return kWindowOtherInstance;
        }
    }
    uint32_t screenWidth = 0, screenHeight = 0;
    device_.ScreenSize(&screenWidth, &screenHeight);
    const int32_t w = int32_t(screenWidth), h = int32_t(screenHeight);
    const int32_t menuBar = int32_t(device_.MenuBarHeight());
    uintptr_t window = 0;
    if (setup.windowMode == kWindowModeFullScreen) {
        window = device_.CreateWindow(className.c_str(), caption.c_str(), 0, 0, w, h, false);
    } else if (setup.windowMode == 1) {
        // The system's default place lies below the navigation bar, which is as high as the
        // menu bar; the window reaches down to the bottom (less the menu bar when one is set).
        const int32_t bottom = menuSet_ ? h - menuBar : h;
        window = device_.CreateWindow(className.c_str(), caption.c_str(), 0, menuBar, w,
                                      bottom - menuBar, false);
    } else {
        const int32_t height = int32_t(device_.CaptionHeight()) + (menuSet_ ? menuBar : 0);
        window =
            device_.CreateWindow(className.c_str(), caption.c_str(), w / 2 - kWindowedWidth / 2,
                                 (h - height) / 2, kWindowedWidth, height, true);
    }
    if (window == 0) return kWindowFailed;
    instance->window = window;
    Send(instance, VMSG_DISPLAYSTART);
    return kWindowCreated;
}

void VHandheldPlatform::GetDesktopSize(uint32_t* width, uint32_t* height) {
    device_.ScreenSize(width, height);
}

uint32_t VHandheldPlatform::GetTime() {
    return device_.TickCount();
}

void VHandheldPlatform::Sleep(uint32_t ms) {
    device_.Sleep(ms);
}

VPlatformScreen* VHandheldPlatform::CreateScreen() {
    return new (std::nothrow) VHandheldScreen(*this);
}

uint32_t VHandheldPlatform::ScreenMethods(uint8_t preference, VScreenMethod* methods) {
    return HandheldScreenMethods(preference, methods);
}

void VHandheldPlatform::Minimize(VPlatformInstance* instance) {
    if (instance->window != 0) device_.MinimizeWindow(instance->window);
}

void VHandheldPlatform::SetKeepDisplayOn(VPlatformInstance*, bool on) {
    if (on) {
        backlight_.Keep(device_);
    } else {
        backlight_.Restore(device_);
    }
}

void VHandheldPlatform::SizeWindowForDisplay(VPlatformInstance* instance, uint32_t width,
                                             uint32_t height) {
    if (instance->window == 0 || instance->setup.windowMode != kWindowModeWindowed) return;
    uint32_t screenWidth = 0, screenHeight = 0;
    device_.ScreenSize(&screenWidth, &screenHeight);
    const int32_t outerHeight =
        int32_t(height + device_.CaptionHeight() + (menuSet_ ? device_.MenuBarHeight() : 0));
    device_.MoveWindow(instance->window, (int32_t(screenWidth) - int32_t(width)) / 2,
                       (int32_t(screenHeight) - outerHeight) / 2, int32_t(width), outerHeight);
}

bool VHandheldPlatform::GetClientArea(VPlatformInstance* instance, VPlatformRect* area) {
    if (instance->window == 0 || instance->setup.windowMode == kWindowModeFullScreen) return false;
    device_.WindowRect(instance->window, &area->left, &area->top, &area->right, &area->bottom);
    return true;
}

bool VHandheldPlatform::FrameWanted(VPlatformInstance* instance) {
    if (instance->keepDisplayOn) {
        device_.SystemIdleTimerReset();
        if (shellIdleTimerReset_ != nullptr) shellIdleTimerReset_();
    }
    uint32_t flags = 0;
    if (getPowerState_ != nullptr && getPowerState_(nullptr, 0, &flags) == 0 &&
        (flags & kDevicePowerOffFlags) != 0) {
        Send(instance, VMSG_RESETCLOCK);
        device_.Sleep(kPowerOffWaitMs);
        return false;
    }
    return true;
}

void VHandheldPlatform::DispatchEvents(VPlatformInstance* instance) {
    VDeviceMessage message;
    while (instance->window != 0 && device_.NextMessage(instance->window, &message)) {
        WindowMessage(instance, message);
    }
}

void VHandheldPlatform::WindowMessage(VPlatformInstance* instance, const VDeviceMessage& m) {
    Send(instance, VMSG_WINDOWMSG, m.message, m.wParam, m.lParam);
    switch (m.message) {
        case kDeviceWmKeyDown:
            // Repetition comes from the framework's input state, not from the keyboard.
            if (int32_t(m.wParam) <= 0 || (m.lParam & kDeviceKeyRepeatBit) != 0) return;
            Send(instance, VMSG_KEYDOWN, m.wParam);
            return;
        case kDeviceWmKeyUp:
            if (m.wParam != 0) Send(instance, VMSG_KEYUP, m.wParam);
            return;
        case kDeviceWmChar:
            Send(instance, VMSG_CHAR, m.wParam, device_.KeyOfScanCode(HighWord(m.lParam) & 0xFF));
            return;
        case kDeviceWmLButtonDown:
            Send(instance, VMSG_PENDOWN, 0, PenX(m.lParam), PenY(m.lParam));
            return;
        case kDeviceWmLButtonUp:
            Send(instance, VMSG_PENUP, 0, PenX(m.lParam), PenY(m.lParam));
            return;
        case kDeviceWmLButtonDblClk:
            Send(instance, VMSG_PENDOUBLE, 0, PenX(m.lParam), PenY(m.lParam));
            return;
        case kDeviceWmMouseMove:
            Send(instance, VMSG_PENMOVE, 0, PenX(m.lParam), PenY(m.lParam));
            return;
        case kDeviceWmTilt:
            Send(instance, VMSG_TILT, Param(int32_t(LowWord(m.wParam)) - 32768),
                 Param(32768 - int32_t(HighWord(m.wParam))));
            return;
        case kDeviceWmSettingChange:
            device_.ShellHandleSettingChange(instance->window, m.wParam, m.lParam);
            if (m.wParam == kDeviceSettingChangeAngle) {
                lastAngle_ = device_.ScreenAngle();
                Send(instance, VMSG_ROTATE, lastAngle_);
            }
            return;
        case kDeviceWmActivate:
            device_.ShellHandleActivate(instance->window, m.wParam, m.lParam);
            Activated(instance, LowWord(m.wParam) != kDeviceWaInactive);
            return;
        case kDeviceWmKillFocus:
            Activated(instance, false);
            return;
        case kDeviceWmPaint:
            Send(instance, VMSG_PAINT);
            return;
        case kDeviceWmSysCommand:
            if ((m.wParam & 0xFFF0) == kDeviceScClose) CloseWindow(instance);
            return;
        case kDeviceWmClose:
            CloseWindow(instance);
            return;
        default:
            return;
    }
}

void VHandheldPlatform::Activated(VPlatformInstance* instance, bool active) {
    if (active) {
        if (instance->setup.windowMode == kWindowModeFullScreen) {
            device_.ShellFullScreen(instance->window);
        }
        OpenButtons(instance->window);
    } else {
        CloseButtons(instance->window);
    }
    Send(instance, VMSG_ACTIVATE, active ? 0 : 1);
}

void VHandheldPlatform::OpenButtons(uintptr_t window) {
    if (game_.CanReadButtons()) {
        if (!gameInputOpen_) game_.openInput();
        gameInputOpen_ = true;
        return;
    }
    if (buttonsRegistered_) return;
    for (uint32_t key = kDeviceFirstButton; key <= kDeviceLastButton; ++key) {
        device_.ShellRegisterKey(window, key, true);
    }
    for (uint32_t key = kDeviceFirstShellKey; key <= kDeviceLastShellKey; ++key) {
        device_.ShellRegisterKey(window, key, true);
    }
    buttonsRegistered_ = true;
}

void VHandheldPlatform::CloseButtons(uintptr_t window) {
    if (gameInputOpen_) game_.closeInput();
    gameInputOpen_ = false;
    // Another program in front gets its buttons back.
    if (!buttonsRegistered_) return;
    for (uint32_t key = kDeviceFirstButton; key <= kDeviceLastButton; ++key) {
        device_.ShellRegisterKey(window, key, false);
    }
    for (uint32_t key = kDeviceFirstShellKey; key <= kDeviceLastShellKey; ++key) {
        device_.ShellRegisterKey(window, key, false);
    }
    buttonsRegistered_ = false;
}

void VHandheldPlatform::ShowErrorText(VPlatformInstance*, const char16_t* text) {
    device_.ShowMessageBox(PlatformUtf8(text).c_str(), "Application error");
}

void VHandheldPlatform::ReleaseWindow(VPlatformInstance* instance) {
    if (instance->window == 0) return;
    CloseButtons(instance->window);
    device_.DestroyWindow(instance->window);
}
