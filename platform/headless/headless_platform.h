// The headless platform layer: runs the whole framework without a window system. Tests,
// benchmarks and offline rendering drive programs through it.
//
// - Clock: virtual by default. Time starts at a chosen value and advances only by the sleeps
//   the framework asks for plus a simulated cost per frame, so every run is repeatable. The
//   real-time mode reads the monotonic clock and really sleeps.
// - Screen: an in-memory picture in any of the six pixel formats, at any size and native
//   orientation; after the run (or between frames) the caller reads what was presented.
// - Events: platform messages (keys, stylus, focus, rotation, ...) injected to arrive before a
//   given frame, and a window close.
// - Frame budget: after that many frames the layer calls Quit.
// - Exit: the error text a desktop would show in its message box is written to standard
//   error; Run returns the exit code.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/messages.h"
#include "platform/platform_layer.h"
#include "platform/shared/platform_loop.h"

struct VHeadlessOptions {
    bool realTime = false;     // false: the virtual clock
    uint32_t startTimeMs = 0;  // the clock's first reading (virtual and real-time)
    uint32_t frameCostMs = 0;  // virtual time each frame takes besides the limiter's sleep
    // When set, the cost of frame n (counted from 0) instead of frameCostMs.
    std::function<uint32_t(uint32_t frame)> frameCost;
    uint32_t frameBudget = 0;  // Quit after this many frames; 0 = run until the program quits
    // Keep every sleep the framework asks for (Sleeps()). The list grows by one entry a frame:
    // long runs (programs, soaks, benchmarks) turn it off so that their memory stays flat.
    bool recordSleeps = true;

    // Pixel format code 1 to 6 of the screen; 0 = what the display asks for (16 bits: 565).
    uint8_t screenFormat = 0;
    // Physical screen size; 0 = the size the display asks for.
    uint32_t screenWidth = 0;
    uint32_t screenHeight = 0;
    uint8_t nativeOrientation = 0;  // quarter turns, 0 to 3
    uint32_t desktopWidth = 1024;   // for the framework's window-fits check
    uint32_t desktopHeight = 768;

    VPlatformDefaults defaults;    // desktop defaults; set both to run as a handheld would
    uintptr_t instanceHandle = 0;  // 0 = the program's resource module
    std::u16string commandLine;
    // Failure injection for start-up paths: a screen open result (kScreen...), a window
    // creation result (kWindow...).
    uint32_t screenOpenResult = kScreenOpened;
    uint32_t windowCreateResult = kWindowCreated;
    // A screen whose layout changes after the open: added to the pitch and to the bytes per
    // pixel that every lock reports (the picture itself keeps its layout).
    int32_t lockPitchChange = 0;
    int32_t lockPixelStepChange = 0;

    std::FILE* errorStream = stderr;  // where the error text goes; null = nowhere
};

// The picture the screen shows, as the last present left it.
struct VHeadlessPicture {
    std::vector<uint8_t> pixels;
    uint32_t width = 0, height = 0;  // physical
    uint32_t pitch = 0;
    uint32_t bytesPerPixel = 0;
    uint8_t format = 0;     // 1 to 6
    uint32_t presents = 0;  // unlocks after a lock: completed presents
};

class VHeadlessPlatform final : public VPlatformLoop {
  public:
    explicit VHeadlessPlatform(VHeadlessOptions options = {});
    ~VHeadlessPlatform() override;

    // Delivers message after frame n − 1 and before frame n (frames counted from 0; n = 0:
    // before the first frame). Messages for one frame arrive in the order injected.
    void InjectMessage(uint32_t beforeFrame, const VMessage& message);
    // The user closes the window before frame n: Quit, VMSG_STOP, VMSG_DESTROY at once.
    void InjectClose(uint32_t beforeFrame);

    // The process entry: creates the instance, sends VMSG_CREATE (which runs the program)
    // and VMSG_DESTROY, writes the error text, returns the exit code.
    uint32_t Run();

    // What happened.
    const VHeadlessPicture& Picture() const { return picture_; }
    const VPlatformInstance* Instance() const { return instance_.get(); }
    uint32_t FramesSent() const { return framesSent_; }
    uint32_t Now() const;
    const std::vector<uint32_t>& Sleeps() const { return sleeps_; }  // empty unless recordSleeps
    const std::u16string& StatusText() const { return statusText_; }
    bool KeepDisplayOn() const { return keepDisplayOn_; }
    uint32_t Minimizations() const { return minimizations_; }
    uint32_t WindowsCreated() const { return windowsCreated_; }
    uint32_t VerticalBlankWaits() const { return verticalBlankWaits_; }
    bool ScreenSuspended() const { return screenSuspended_; }
    const VWindowSetup& WindowSetup() const { return setup_; }
    // The messages this layer sent, by code, in order (VMSG_FRAME excluded).
    const std::vector<uint32_t>& SentCodes() const { return sentCodes_; }

    // VPlatformLayer
    uint32_t CreateMainWindow(VPlatformInstance* instance, const VWindowSetup& setup) override;
    void Minimize(VPlatformInstance* instance) override;
    void SetKeepDisplayOn(VPlatformInstance* instance, bool on) override;
    void SetStatusText(VPlatformInstance* instance, const char16_t* text) override;
    void SizeWindowForDisplay(VPlatformInstance* instance, uint32_t width,
                              uint32_t height) override;
    bool GetClientArea(VPlatformInstance* instance, VPlatformRect* area) override;
    VPlatformDefaults Defaults() override { return options_.defaults; }
    void GetDesktopSize(uint32_t* width, uint32_t* height) override;
    uint32_t GetTime() override;
    void Sleep(uint32_t ms) override;
    VPlatformScreen* CreateScreen() override;

  protected:
    // VPlatformLoop
    bool Send(VPlatformInstance* instance, uint32_t code, uintptr_t param1 = 0,
              uintptr_t param2 = 0, uintptr_t param3 = 0) override;
    void DispatchEvents(VPlatformInstance* instance) override;
    void ShowErrorText(VPlatformInstance* instance, const char16_t* text) override;
    void LoopStarting(VPlatformInstance* instance) override;
    void FrameSent(VPlatformInstance* instance) override;

  private:
    friend class VHeadlessScreen;
    struct Event {
        uint32_t beforeFrame;
        bool close;
        VMessage message;
    };

    void AddEvent(const Event& event);
    // Dispatches every event due before frame n and every message the layer queued itself.
    void DispatchPending(uint32_t frame);

    VHeadlessOptions options_;
    std::unique_ptr<VPlatformInstance> instance_;
    std::vector<Event> events_;  // in frame order; those before nextEvent_ were delivered
    size_t nextEvent_ = 0;
    std::vector<VMessage> queued_;  // the layer's own messages (a minimised window hides)
    VHeadlessPicture picture_;
    VWindowSetup setup_;
    uint32_t clientWidth_ = 0, clientHeight_ = 0;
    uint32_t virtualNow_ = 0;
    uint64_t realStartNs_ = 0;
    uint32_t framesSent_ = 0;
    std::vector<uint32_t> sleeps_;
    std::vector<uint32_t> sentCodes_;
    std::u16string statusText_;
    bool keepDisplayOn_ = false;
    bool screenSuspended_ = false;
    uint32_t minimizations_ = 0;
    uint32_t windowsCreated_ = 0;
    uint32_t verticalBlankWaits_ = 0;
};
