// The least a new platform layer supplies, as the starting point of a port: copy this folder,
// rename the classes, and replace what each operation does with the system's own calls.
//
// Everything else comes from what the layers share: the main loop, the frame pass, the exit
// sequence, a monotonic clock and the sleep (VPlatformLoop), and a default for every optional
// service a system may lack (VPlatformLayer, VPlatformScreen). A port overrides those only
// where its system offers more: a status line, a console button, minimising, keeping the
// screen awake, several ways to the screen, a clock of its own.
//
// As written it needs the C++ standard library alone and runs a program to its end: the
// window is a token, the events are the messages Post queues, the screen is a block of memory
// in the depth the display asks for, and the error box is standard error.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/messages.h"
#include "platform/platform_layer.h"
#include "platform/shared/platform_loop.h"

class VTemplatePlatform final : public VPlatformLoop {
  public:
    // The process entry: makes the instance, copies the command line (at most
    // kPlatformTextCapacity - 1 units), runs the program, returns its exit code.
    uint32_t Run(const char16_t* commandLine);

    // Queues a framework message for the next pass, as the system's event translation would
    // (a key, the stylus, focus, rotation).
    void Post(const VMessage& message);
    // The user closes the window: the exit sequence runs at the next pass.
    void PostClose();

    // The window: a port creates the system's window (or full-screen surface) here.
    uint32_t CreateMainWindow(VPlatformInstance* instance, const VWindowSetup& setup) override;
    // The size of the system's current screen mode.
    void GetDesktopSize(uint32_t* width, uint32_t* height) override;
    VPlatformScreen* CreateScreen() override;

  protected:
    // The system's event queue, translated into framework messages.
    void DispatchEvents(VPlatformInstance* instance) override;
    // The system's message box.
    void ShowErrorText(VPlatformInstance* instance, const char16_t* text) override;

  private:
    std::unique_ptr<VPlatformInstance> instance_;
    std::vector<VMessage> events_;
    bool closeRequested_ = false;
};

// The screen: a port locks the system's frame buffer (or a surface it then shows) here.
class VTemplateScreen final : public VPlatformScreen {
  public:
    uint32_t Open(uint32_t method, uintptr_t window, uint32_t bitsPerPixel, uint32_t width,
                  uint32_t height, bool fullScreen, bool menuShown) override;
    void Close() override;
    bool IsOpen() const override { return open_; }
    VScreenMode Mode() const override { return mode_; }
    bool Lock(VScreenLock* lock) override;
    // A port shows the picture here; the template keeps it, for Pixels to read.
    void Unlock() override { locked_ = false; }

    const std::vector<uint8_t>& Pixels() const { return pixels_; }

  private:
    VScreenMode mode_;
    std::vector<uint8_t> pixels_;
    bool open_ = false;
    bool locked_ = false;
};
