// The web platform layer: the framework in a browser page, built with Emscripten.
//
// - Loop: the browser owns it. Each animation-frame callback runs one frame pass of the shared
//   protocol when the pass is due; a pass is due once the sleep the framework asked for in the
//   previous pass (its frame limiter, or the idle pass of a suspended program) has gone by, so
//   the frame-rate limit holds without blocking the page.
// - Screen: a <canvas> of the display's size, shown larger by the page with sharp pixels; every
//   present puts the picture into it through one ImageData (web_screen.h).
// - Input: keys, mouse, wheel and touch through Emscripten's HTML5 events, as framework
//   messages delivered between two frames (web_events.cpp); a double click or double tap is a
//   double pen message. Focus and page visibility become activation messages.
// - Clock: the page's monotonic clock in milliseconds.
// - Program folder: /program, kept in the browser's IndexedDB (web_program_folder.js), so the files
//   a program writes there (its settings) are there again after a reload.
// - End: the page is told the exit code and the error text, the folder is saved, and the
//   runtime exits, which runs the program's static destructors (the sound stops).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/messages.h"
#include "platform/platform_layer.h"
#include "platform/shared/platform_loop.h"

class VWebPlatform final : public VPlatformLoop {
  public:
    // canvasSelector names the page's canvas (a CSS selector such as "#screen").
    explicit VWebPlatform(const char* canvasSelector);
    ~VWebPlatform() override;

    // The process entry: creates the instance and starts the program. The frames then run from
    // the browser's callbacks until the program ends, when the page is told and the runtime
    // exits. Does not return while the program runs.
    [[noreturn]] void Run();

    // Queues a framework message for delivery before the next frame (the event translation).
    void Post(const VMessage& message);
    // Delivers a message at once: activation changes come while no frames run (a hidden page
    // gets no animation frames) and must still reach the program.
    void Deliver(const VMessage& message);

    const char* CanvasSelector() const { return canvasSelector_; }
    // Logical display size the canvas was opened at, for turning event coordinates.
    void ScreenOpened(uint32_t width, uint32_t height);
    uint32_t ScreenWidth() const { return screenWidth_; }
    uint32_t ScreenHeight() const { return screenHeight_; }

    // VPlatformLayer
    uint32_t CreateMainWindow(VPlatformInstance* instance, const VWindowSetup& setup) override;
    void RunMainLoop(VPlatformInstance* instance) override;
    void GetDesktopSize(uint32_t* width, uint32_t* height) override;
    uint32_t GetTime() override;
    void Sleep(uint32_t ms) override;
    VPlatformScreen* CreateScreen() override;
    void Minimize(VPlatformInstance* instance) override;
    void SetStatusText(VPlatformInstance* instance, const char16_t* text) override;

  protected:
    // VPlatformLoop
    void DispatchEvents(VPlatformInstance* instance) override;
    void ShowErrorText(VPlatformInstance* instance, const char16_t* text) override;
    void ReleaseWindow(VPlatformInstance* instance) override;

  private:
    static void AnimationFrame(void* self);
    void Tick();
    // The program has ended: the loop's last message, the application's end, the page told.
    [[noreturn]] void Finish();

    const char* canvasSelector_;
    std::unique_ptr<VPlatformInstance> instance_;
    std::vector<VMessage> events_;
    std::vector<VMessage> dispatching_;  // the events of the pass being delivered
    double nextPassMs_ = 0;              // page time at which the next frame pass is due
    bool loopRunning_ = false;
    uint32_t screenWidth_ = 0, screenHeight_ = 0;
};
