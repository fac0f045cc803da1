// The desktop platform layer on Win32: the process entry, one window (or a modal dialog), the
// window procedure that turns system messages into framework messages, the main loop, the
// status line with its console button, the millisecond clock and the screen service on
// DirectDraw (win32_screen.h).
//
// The instance's module handle is the program's resource module (platform/resources.h), as on
// every layer; the executable's own module handle, which the window class and its icon, menu
// and dialog come from, is the layer's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "platform/platform_layer.h"
#include "platform/shared/platform_loop.h"

class VWin32Screen;

// The system metrics a window's outer size is made of.
struct VWin32FrameMetrics {
    int32_t fixedFrameX = 0, fixedFrameY = 0;  // SM_CXFIXEDFRAME, SM_CYFIXEDFRAME
    int32_t caption = 0;                       // SM_CYCAPTION
    int32_t menuBar = 0;                       // SM_CYMENU
};
VWin32FrameMetrics CurrentFrameMetrics();

// The outer size of a window whose display is width × height: the client size plus two fixed
// frames across, and plus the caption, two fixed frames, the menu bar when there is one and the
// status line (5/4 of a menu bar) when it is shown, down.
struct VWin32Size {
    int32_t width = 0, height = 0;
};
VWin32Size WindowSizeForDisplay(const VWin32FrameMetrics& metrics, uint32_t width, uint32_t height,
                                bool menu, bool statusLine);
// The status line's height: 5/4 of a menu bar.
int32_t StatusLineHeight(const VWin32FrameMetrics& metrics);

class VWin32Platform : public VPlatformLoop {
  public:
    // module: the executable, whose resources hold the icon, menu and dialog templates.
    explicit VWin32Platform(HINSTANCE module);
    ~VWin32Platform() override;

    // The process entry: creates the instance, copies the command line, runs the program,
    // shows the error text, returns the exit code.
    uint32_t Run(const wchar_t* commandLine);

    HINSTANCE Module() const { return module_; }
    // The instance the layer serves: its own from Run, or the one a caller handed to
    // CreateMainWindow.
    VPlatformInstance* Instance() const { return instance_; }
    HWND StatusText() const { return statusText_; }
    HWND ConsoleButtonWindow() const { return consoleButton_; }

    // Called by the screen service: the client area is where the open screen places the
    // display.
    void ScreenOpened(VWin32Screen* screen) { screen_ = screen; }
    void ScreenClosed(VWin32Screen* screen) {
        if (screen_ == screen) screen_ = nullptr;
    }

    // The message handler: every system message of the window (or dialog), in the order of
    // its table; true when handled, with the procedure's answer in *result.
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);

    // VPlatformLayer
    uint32_t CreateMainWindow(VPlatformInstance* instance, const VWindowSetup& setup) override;
    void GetDesktopSize(uint32_t* width, uint32_t* height) override;
    uint32_t GetTime() override;
    void Sleep(uint32_t ms) override;
    VPlatformScreen* CreateScreen() override;
    void Minimize(VPlatformInstance* instance) override;
    void SetKeepDisplayOn(VPlatformInstance* instance, bool on) override;
    void SetStatusText(VPlatformInstance* instance, const char16_t* text) override;
    void SizeWindowForDisplay(VPlatformInstance* instance, uint32_t width,
                              uint32_t height) override;
    bool GetClientArea(VPlatformInstance* instance, VPlatformRect* area) override;
    void SetConsoleButton(VPlatformInstance* instance, bool checked) override;
    uint32_t ConsoleButtonClicked(VPlatformInstance* instance, uint32_t raw, uintptr_t wParam,
                                  uintptr_t lParam) override;
    bool IsDialogInitMessage(uint32_t raw) override { return raw == WM_INITDIALOG; }

  protected:
    // VPlatformLoop
    void DispatchEvents(VPlatformInstance* instance) override;
    void ShowErrorText(VPlatformInstance* instance, const char16_t* text) override;
    void DestroyPlatformWindow(VPlatformInstance* instance) override;

  private:
    bool FullScreen() const;
    bool DialogMode() const;
    // The window procedure's creation step: the instance in the window's user data, the
    // window in the instance.
    void Attach(HWND window);
    void SendPen(uint32_t code, uint32_t button, LPARAM position);
    void PostHeldButtonsUp(HWND window);
    uint32_t RegisterWindowClass(const wchar_t* className);
    void MakeStatusLine(HWND window);

    HINSTANCE module_;
    std::unique_ptr<VPlatformInstance> owned_;
    VPlatformInstance* instance_ = nullptr;
    VWin32Screen* screen_ = nullptr;
    HWND statusText_ = nullptr;
    HWND consoleButton_ = nullptr;
    uint8_t buttonsHeld_[3] = {};
    bool cursorHidden_ = false;
    LARGE_INTEGER counterFrequency_{};
};
