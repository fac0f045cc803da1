// The handheld platform layer: a Pocket PC program's entry, its full-screen window with the
// device shell, the power-aware main loop, the backlight kept on, the hardware buttons, the
// tilt sensor and screen rotation, over the device services of VHandheldDevice. The screen
// service (handheld_screen.h) reaches the screen memory in three ways.
//
// Everything else (the loop, the frame pass, the exit sequence) is the protocol every layer
// shares (VPlatformLoop).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/handheld/backlight_keeper.h"
#include "platform/handheld/handheld_device.h"
#include "platform/platform_layer.h"
#include "platform/shared/platform_loop.h"

// The game interface's entry points; each is null when the library or the entry is missing.
struct VGameEntries {
    VGameOpenDisplay openDisplay = nullptr;
    VGameCall closeDisplay = nullptr;
    VGameGetDisplayProperties getDisplayProperties = nullptr;
    VGameBeginDraw beginDraw = nullptr;
    VGameCall endDraw = nullptr;
    VGameCall suspend = nullptr;
    VGameCall resume = nullptr;
    VGameSetViewport setViewport = nullptr;
    VGameCall openInput = nullptr;
    VGameCall closeInput = nullptr;

    // What the screen method needs; what the button input needs.
    bool CanDraw() const {
        return openDisplay && closeDisplay && getDisplayProperties && beginDraw && endDraw;
    }
    bool CanReadButtons() const { return openInput && closeInput; }
};

class VHandheldPlatform final : public VPlatformLoop {
  public:
    explicit VHandheldPlatform(VHandheldDevice& device);
    ~VHandheldPlatform() override;

    // The process entry: makes the instance, copies the command line, loads the libraries,
    // runs the program, puts the backlight back, frees the libraries; returns the exit code.
    uint32_t Run(const char16_t* commandLine);

    VHandheldDevice& Device() { return device_; }
    const VPlatformInstance* Instance() const { return instance_.get(); }
    const VGameEntries& Game() const { return game_; }
    uintptr_t DirectDrawLibrary() const { return directDrawLibrary_; }
    // The program carries "HI_RES_AWARE" of type "CEUX".
    bool HighResolutionAware() const { return highResolutionAware_; }
    bool GameInputOpen() const { return gameInputOpen_; }
    bool ButtonsRegistered() const { return buttonsRegistered_; }
    const VBacklightKeeper& Backlight() const { return backlight_; }
    uint32_t LastScreenAngle() const { return lastAngle_; }

    // VPlatformLayer
    uint32_t CreateMainWindow(VPlatformInstance* instance, const VWindowSetup& setup) override;
    void GetDesktopSize(uint32_t* width, uint32_t* height) override;
    uint32_t GetTime() override;
    void Sleep(uint32_t ms) override;
    VPlatformScreen* CreateScreen() override;
    uint32_t ScreenMethods(uint8_t preference, VScreenMethod* methods) override;
    void Minimize(VPlatformInstance* instance) override;
    void SetKeepDisplayOn(VPlatformInstance* instance, bool on) override;
    void SizeWindowForDisplay(VPlatformInstance* instance, uint32_t width,
                              uint32_t height) override;
    bool GetClientArea(VPlatformInstance* instance, VPlatformRect* area) override;
    // A handheld runs full screen and leaves the screen to others when it loses the focus.
    VPlatformDefaults Defaults() override { return VPlatformDefaults{1, 1}; }

  protected:
    // VPlatformLoop
    void DispatchEvents(VPlatformInstance* instance) override;
    void ShowErrorText(VPlatformInstance* instance, const char16_t* text) override;
    void ReleaseWindow(VPlatformInstance* instance) override;
    // Keeps the device awake while asked; while the device is off, suspended or critical,
    // resets the frame clock and waits 100 ms instead of running a frame.
    bool FrameWanted(VPlatformInstance* instance) override;

  private:
    // The window procedure: VMSG_WINDOWMSG with the raw message, then its translation.
    void WindowMessage(VPlatformInstance* instance, const VDeviceMessage& message);
    void Activated(VPlatformInstance* instance, bool active);
    void OpenButtons(uintptr_t window);
    void CloseButtons(uintptr_t window);
    void LoadLibraries();
    void FreeLibraries();

    VHandheldDevice& device_;
    std::unique_ptr<VPlatformInstance> instance_;
    uintptr_t gameLibrary_ = 0;
    uintptr_t directDrawLibrary_ = 0;
    uintptr_t coreLibrary_ = 0;
    uintptr_t shellLibrary_ = 0;
    VGameEntries game_;
    VGetSystemPowerState getPowerState_ = nullptr;
    VShellIdleTimerReset shellIdleTimerReset_ = nullptr;
    bool highResolutionAware_ = false;
    bool gameInputOpen_ = false;
    bool buttonsRegistered_ = false;
    VBacklightKeeper backlight_;
    uint32_t lastAngle_ = 0;
    bool menuSet_ = false;
};
