// The Win32 layer's screen service on DirectDraw, loaded at run time ("ddraw.dll",
// "DirectDrawCreate"), so that a system without it still starts and reports the display as
// missing.
//
// Full screen: exclusive access, the display mode set to the display's size and depth (with a
// palette at 8 bits), and the primary surface locked as the framework's screen memory.
// In a window the framework writes into a work surface of the desktop's size at the window's
// place, and each unlock copies the display's rectangle to the primary with a waiting blit
// through a clipper bound to the window: writing into a windowed primary directly would paint
// over the windows in front of it and, for a window partly off the desktop, past its memory.
#pragma once

#include <ddraw.h>
#include <windows.h>

#include <cstdint>

#include "platform/platform_layer.h"

// The pixel layout of a primary surface: 8 bits without channels, 16 bits 5-5-5 when the green
// mask is 0x3E0 and 5-6-5 otherwise, 24 and 32 bits 8-8-8; the step is (bits + 7) / 8 bytes.
// False for any other depth.
bool ScreenModeForPixelFormat(const DDPIXELFORMAT& format, VScreenMode* mode);

// Where a windowed display of width × height is written in screen memory of screenWidth ×
// screenHeight pixels: at the client corner, moved as little as needed to lie wholly inside.
POINT DisplayPlacement(POINT clientCorner, uint32_t width, uint32_t height, uint32_t screenWidth,
                       uint32_t screenHeight);

class VWin32Platform;

class VWin32Screen final : public VPlatformScreen {
  public:
    // library and entry name the DirectDraw library and its creation function (a test names
    // others to see the failures).
    explicit VWin32Screen(VWin32Platform* platform, const wchar_t* library = L"ddraw.dll",
                          const char* entry = "DirectDrawCreate");
    ~VWin32Screen() override;

    // Method 1 only (else kScreenMethodUnsupported); kScreenLibraryMissing without the library
    // or its entry; kScreenCallFailed when a DirectDraw call fails.
    uint32_t Open(uint32_t method, uintptr_t window, uint32_t bitsPerPixel, uint32_t width,
                  uint32_t height, bool fullScreen, bool menuShown) override;
    void Close() override;
    bool IsOpen() const override { return ddraw_ != nullptr; }
    VScreenMode Mode() const override { return mode_; }
    // A lost surface is restored and the frame skipped.
    bool Lock(VScreenLock* lock) override;
    void Unlock() override;
    void WaitVerticalBlank() override;
    void SetPalette(const uint32_t* colours) override;

    // Where the display lies in the memory Lock gives, for a window whose client area starts
    // at clientCorner on the desktop.
    POINT Placement(POINT clientCorner) const;

  private:
    uint32_t Fail();
    void RestoreSurfaces();
    // The waiting blit of the display's rectangle from the work surface to the window.
    void BlitToWindow();

    VWin32Platform* platform_;
    const wchar_t* libraryName_;
    const char* entryName_;
    HMODULE library_ = nullptr;
    IDirectDraw* ddraw_ = nullptr;
    IDirectDrawSurface* primary_ = nullptr;
    IDirectDrawSurface* work_ = nullptr;  // windowed only
    IDirectDrawClipper* clipper_ = nullptr;
    IDirectDrawPalette* palette_ = nullptr;
    HWND window_ = nullptr;
    bool fullScreen_ = false;
    IDirectDrawSurface* locked_ = nullptr;
    uint32_t workWidth_ = 0, workHeight_ = 0;
    VScreenMode mode_;
};
