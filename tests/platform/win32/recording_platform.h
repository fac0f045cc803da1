// A Win32 layer whose framework messages are written down as text ("keydown 65", "pen down 0
// 10 20") and, when asked, passed on to the framework; and a window made by the layer itself
// for the message-table cases.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"

class RecordingPlatform : public VWin32Platform {
  public:
    explicit RecordingPlatform(bool forward)
        : VWin32Platform(GetModuleHandleW(nullptr)), forward_(forward) {}

    std::vector<std::string> messages;

    // Every pending message of this thread dispatched to its window.
    static void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

  protected:
    bool Send(VPlatformInstance* instance, uint32_t code, uintptr_t p1, uintptr_t p2,
              uintptr_t p3) override;

  private:
    bool forward_;
};

// The text of a framework message as RecordingPlatform writes it.
std::string MessageText(uint32_t code, uintptr_t p1, uintptr_t p2, uintptr_t p3);

// A window of the layer (the framework is not running; messages are only recorded).
struct LayerWindow {
    explicit LayerWindow(uint8_t statusLine = 1, uint32_t menu = 0);
    ~LayerWindow();
    HWND Handle() const { return reinterpret_cast<HWND>(instance.window); }

    // The instance outlives the layer, which looks at it as it goes.
    VPlatformInstance instance;
    VWindowSetup setup;
    RecordingPlatform platform{false};
    uint32_t created = kWindowFailed;
};
