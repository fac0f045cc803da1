// The web layer's screen: a block of memory in the depth the display asks for, shown in the
// page's <canvas> at every present. The canvas is the display's size; the page scales it
// with sharp pixels. Each present widens the pixels to RGBA (through a table for the 8- and
// 16-bit formats) into one buffer, which one ImageData carries into the canvas.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform_layer.h"

class VWebPlatform;

class VWebScreen final : public VPlatformScreen {
  public:
    explicit VWebScreen(VWebPlatform& platform) : platform_(platform) {}
    ~VWebScreen() override { Close(); }

    uint32_t Open(uint32_t method, uintptr_t window, uint32_t bitsPerPixel, uint32_t width,
                  uint32_t height, bool fullScreen, bool menuShown) override;
    void Close() override;
    bool IsOpen() const override { return open_; }
    VScreenMode Mode() const override { return mode_; }
    bool Lock(VScreenLock* lock) override;
    // Shows the picture in the canvas.
    void Unlock() override;
    void Suspend() override { suspended_ = true; }
    void Resume() override { suspended_ = false; }
    void SetPalette(const uint32_t* colours) override;

  private:
    void WidenToRgba();

    VWebPlatform& platform_;
    VScreenMode mode_;
    uint8_t format_ = 0;
    std::vector<uint8_t> pixels_;
    std::vector<uint32_t> rgba_;   // the canvas's pixels: red in the lowest byte, alpha 255
    std::vector<uint32_t> table_;  // RGBA of each pixel value, for 8- and 16-bit formats
    bool open_ = false;
    bool locked_ = false;
    bool suspended_ = false;
};
