// A simulated Pocket PC: the device services of VHandheldDevice on Linux, for running and
// testing the handheld layer without a device.
//
// - Screen: a block of panel memory in 5-6-5 or 4-4-4, reached through the raw frame buffer
//   (strides as the profile's driver reports them, negative ones included), the game
//   interface, or DirectDraw (a 5-6-5 primary the driver copies to the panel on unlock).
// - Libraries: "gx.dll", "ddraw.dll", "coredll.dll", "aygshell.dll", as the profile has them;
//   single entry points can be left out.
// - Registry: kept in a text file (by default beside the program), so that what a program
//   leaves there can be read after it ended.
// - Power switch, tilt sensor, hardware buttons, rotation, the stylus: queued as the window
//   messages a device sends. Buttons the program has not registered go to the shell.
// - Clock: virtual (advanced by the sleeps) or real.
//
// One simulated device exists at a time: the libraries' entry points are plain functions, as
// on the device, and reach it through Current().
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/handheld/handheld_device.h"
#include "platform/handheld/sim/sim_profiles.h"

struct VSimOptions {
    VSimProfile profile = SimProfiles().front();
    std::set<std::string> missingEntries;  // entry point names the libraries lack
    bool highResolutionAware = false;      // the program carries "HI_RES_AWARE"
    bool realTime = false;                 // false: the virtual clock
    std::string registryFile;              // "": no file, the registry lives in memory
    // Another program's window already running, as "class\ncaption".
    std::string runningWindow;
    // Called once per pass of the program's main loop, when its messages are all taken; the
    // pass counts from 0. It may queue more (they arrive in the same pass).
    std::function<void(class VSimDevice& device, uint32_t pass)> onPass;
};

// What the simulation records for tests and the on-screen view.
struct VSimCounters {
    uint32_t idleTimerResets = 0;  // system and shell idle timer resets
    uint32_t shellFullScreen = 0;  // the shell's full-screen mode applied
    uint32_t minimized = 0;
    uint32_t powerRequirementsReleased = 0;
    uint32_t gameDisplayOpens = 0;
    uint32_t gameDraws = 0;  // GXEndDraw calls
    uint32_t directDrawUnlocks = 0;
    uint32_t buttonsToShell = 0;  // button presses the program did not receive
    uint32_t viewportTop = 0, viewportHeight = 0;
    std::vector<std::string> signalledEvents;
    std::vector<std::string> messageBoxes;  // "caption: text"
};

class VSimDevice final : public VHandheldDevice {
  public:
    explicit VSimDevice(VSimOptions options);
    ~VSimDevice() override;

    static VSimDevice* Current();

    // The user's side.
    void SetPower(bool on);
    bool PowerOn() const { return powerOn_; }
    // A hardware button or key; auto-repeat sets the repeat bit. A button (193 to 198) that
    // the program has neither registered nor reads through the game interface goes to the
    // shell.
    void PressKey(uint32_t key, bool down, bool repeat = false);
    // The tilt sensor's offsets from level.
    void Tilt(int32_t x, int32_t y);
    // The screen turned to degrees (0, 90, 180, 270).
    void Rotate(uint32_t degrees);
    void Pen(uint32_t message, int32_t x, int32_t y);
    void Activate(bool active);
    // The close box, and the close command of the window's system menu.
    void Close();
    void SystemMenuClose();

    // What the program left.
    // The screen as it is shown at angle 0: packed rows of the profile's format.
    std::vector<uint16_t> ScreenPixels() const;
    const VSimProfile& Profile() const { return options_.profile; }
    const VSimCounters& Counters() const { return counters_; }
    bool Registered(uint32_t key) const { return registeredKeys_.count(key) != 0; }
    size_t RegisteredCount() const { return registeredKeys_.size(); }
    bool GameInputOpen() const { return gameInputOpen_; }
    bool WindowExists() const { return window_ != 0; }
    bool Minimized() const { return minimized_; }
    uint32_t Angle() const { return angle_; }
    uint32_t Passes() const { return passes_; }
    // Registry values by path: key, backslash, value name ("\\ControlPanel\\Backlight\\ACTimeout").
    const std::map<std::string, uint32_t>& Registry() const { return registry_; }
    void SetRegistry(const std::string& path, uint32_t data);
    void EraseRegistry(const std::string& path);
    uint32_t Now() const;

    // VHandheldDevice
    uintptr_t LoadLibrary(const char* name) override;
    void* FindEntry(uintptr_t library, const char* name) override;
    void FreeLibrary(uintptr_t library) override;
    uintptr_t FindWindow(const char* className, const char* caption) override;
    void BringToFront(uintptr_t window) override;
    uintptr_t CreateWindow(const char* className, const char* caption, int32_t x, int32_t y,
                           int32_t width, int32_t height, bool captioned) override;
    void DestroyWindow(uintptr_t window) override;
    void MoveWindow(uintptr_t window, int32_t x, int32_t y, int32_t width, int32_t height) override;
    void MinimizeWindow(uintptr_t window) override;
    void WindowRect(uintptr_t window, int32_t* left, int32_t* top, int32_t* right,
                    int32_t* bottom) override;
    bool NextMessage(uintptr_t window, VDeviceMessage* message) override;
    void ScreenSize(uint32_t* width, uint32_t* height) override;
    uint32_t MenuBarHeight() override { return 26; }
    uint32_t CaptionHeight() override { return 24; }
    uint32_t KeyOfScanCode(uint32_t scanCode) override { return scanCode; }
    void ShowMessageBox(const char* text, const char* caption) override;
    void ShellFullScreen(uintptr_t window) override;
    void ShellRegisterKey(uintptr_t window, uint32_t key, bool registered) override;
    void ShellHandleActivate(uintptr_t, uintptr_t, uintptr_t) override {}
    void ShellHandleSettingChange(uintptr_t, uintptr_t, uintptr_t) override {}
    uint32_t ScreenAngle() override { return angle_; }
    uintptr_t GetScreenContext() override { return 1; }
    void ReleaseScreenContext(uintptr_t) override {}
    int32_t Escape(uintptr_t context, int32_t code, void* out, uint32_t outSize) override;
    bool ProgramHasResource(const char* name, const char* type) override;
    bool ReadRegistry(const char* key, const char* value, uint32_t* data) override;
    void WriteRegistry(const char* key, const char* value, uint32_t data) override;
    void SignalNamedEvent(const char* name) override;
    void SystemIdleTimerReset() override { ++counters_.idleTimerResets; }
    void ReleasePowerRequirement() override { ++counters_.powerRequirementsReleased; }
    uint32_t TickCount() override { return Now(); }
    void Sleep(uint32_t ms) override;

    // The libraries' side (sim_libraries.cpp).
    uint32_t PowerFlags() const;
    void ShellIdleTimerReset() { ++counters_.idleTimerResets; }
    bool GameOpenDisplay(uintptr_t window);
    VGameDisplayProperties GameProperties() const;
    uint8_t* PanelOrigin() { return panel_.data() + originOffset_; }
    void GameEndDraw() { ++counters_.gameDraws; }
    void GameInput(bool open) { gameInputOpen_ = open; }
    void GameViewport(uint32_t top, uint32_t height);
    // The DirectDraw primary is written to the panel through the driver on each unlock.
    void DirectDrawPresent(const std::vector<uint16_t>& primary);
    void DirectDrawUnlocked() { ++counters_.directDrawUnlocks; }

  private:
    void Queue(uint32_t message, uintptr_t wParam, uintptr_t lParam);
    void LoadRegistry();
    void SaveRegistry() const;
    // Byte offset in the panel of the screen's pixel (x, y).
    int64_t PixelOffset(uint32_t x, uint32_t y) const;

    VSimOptions options_;
    std::vector<uint8_t> panel_;
    int64_t originOffset_ = 0;
    int32_t xStride_ = 0, yStride_ = 0;
    std::map<std::string, uint32_t> registry_;
    std::deque<VDeviceMessage> messages_;
    std::set<uint32_t> registeredKeys_;
    VSimCounters counters_;
    uintptr_t window_ = 0;
    int32_t windowRect_[4] = {};
    uint32_t angle_ = 0;
    uint32_t virtualNow_ = 0;
    uint64_t realStartMs_ = 0;
    uint32_t passes_ = 0;
    bool passScriptRan_ = false;
    bool powerOn_ = true;
    bool gameInputOpen_ = false;
    bool minimized_ = false;
};
