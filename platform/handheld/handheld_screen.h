// The handheld's screen service: the screen memory through the raw frame buffer the display
// driver describes, the game interface (GAPI) or DirectDraw, whichever the method code asks
// for (screen_methods.h).
#pragma once

#include "platform/handheld/handheld_device.h"
#include "platform/platform_layer.h"

class VHandheldPlatform;

class VHandheldScreen final : public VPlatformScreen {
  public:
    explicit VHandheldScreen(VHandheldPlatform& platform) : platform_(platform) {}
    ~VHandheldScreen() override { Close(); }

    // kScreenOpened; kScreenMethodUnsupported for an unknown code and for the raw frame buffer
    // asked for by name in a high-resolution-aware program (the driver's record describes the
    // screen at its low resolution); kScreenLibraryMissing when the method's library or entry
    // points are missing; kScreenCallFailed when a call of the device fails.
    uint32_t Open(uint32_t method, uintptr_t window, uint32_t bitsPerPixel, uint32_t width,
                  uint32_t height, bool fullScreen, bool menuShown) override;
    void Close() override;
    bool IsOpen() const override { return opened_ != kNone; }
    VScreenMode Mode() const override { return mode_; }
    // The screen angle the device reported when the screen was opened, in quarter turns.
    uint8_t NativeOrientation() const override { return nativeOrientation_; }
    bool Lock(VScreenLock* lock) override;
    void Unlock() override;
    void WaitVerticalBlank() override;
    void Suspend() override;
    void Resume() override;

    // The method that opened (kHandheldRawFrameBuffer, ...), or 255 when closed.
    uint8_t Opened() const { return opened_; }

  private:
    static constexpr uint8_t kNone = 255;

    uint32_t OpenRawFrameBuffer();
    uint32_t OpenGameInterface(uintptr_t window);
    uint32_t OpenDirectDraw(uintptr_t window, uint32_t bitsPerPixel, uint32_t width,
                            uint32_t height, bool fullScreen);

    VHandheldPlatform& platform_;
    VScreenMode mode_;
    uint8_t opened_ = kNone;
    uint8_t nativeOrientation_ = 0;
    bool locked_ = false;
    uint8_t* frameBuffer_ = nullptr;
    VDeviceDirectDraw* directDraw_ = nullptr;
};
