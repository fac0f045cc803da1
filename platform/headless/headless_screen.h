// The headless layer's screen service: the screen is the layer's in-memory picture.
#pragma once

#include "platform/platform_layer.h"

class VHeadlessPlatform;

class VHeadlessScreen final : public VPlatformScreen {
  public:
    explicit VHeadlessScreen(VHeadlessPlatform& platform) : platform_(platform) {}
    ~VHeadlessScreen() override { Close(); }

    uint32_t Open(uint32_t method, uintptr_t window, uint32_t bitsPerPixel, uint32_t width,
                  uint32_t height, bool fullScreen, bool menuShown) override;
    void Close() override;
    bool IsOpen() const override { return open_; }
    VScreenMode Mode() const override { return mode_; }
    uint8_t NativeOrientation() const override;
    bool Lock(VScreenLock* lock) override;
    void Unlock() override;
    void WaitVerticalBlank() override;
    void Suspend() override;
    void Resume() override;

  private:
    VHeadlessPlatform& platform_;
    VScreenMode mode_;
    bool open_ = false;
    bool locked_ = false;
};
