// The desktop layer's screen service: the display's pixels live in a block of memory in the
// requested pixel format; each unlock copies them into an SDL streaming texture of the same
// format and presents it, scaled by a whole number with nearest-neighbour sampling and centred
// in the window.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "platform/platform_layer.h"

class VDesktopPlatform;

// Where the picture lies in a window (or output) of a given size: the largest whole-number
// scale of the display that fits (at least 1), centred.
struct VPictureRect {
    int32_t x = 0, y = 0;
    uint32_t scale = 1;
};
VPictureRect FitPicture(uint32_t outputWidth, uint32_t outputHeight, uint32_t pictureWidth,
                        uint32_t pictureHeight);

// The SDL pixel format of a screen format code 1 to 6 (the palette format is shown through
// 32-bit pixels); SDL_PIXELFORMAT_UNKNOWN for any other code.
uint32_t SdlFormatFor(uint8_t format);

class VDesktopScreen final : public VPlatformScreen {
  public:
    explicit VDesktopScreen(VDesktopPlatform& platform);
    ~VDesktopScreen() override;

    uint32_t Open(uint32_t method, uintptr_t window, uint32_t bitsPerPixel, uint32_t width,
                  uint32_t height, bool fullScreen, bool menuShown) override;
    void Close() override;
    bool IsOpen() const override { return texture_ != nullptr; }
    VScreenMode Mode() const override { return mode_; }
    bool Lock(VScreenLock* lock) override;
    void Unlock() override;
    void WaitVerticalBlank() override;
    void Suspend() override { suspended_ = true; }
    void Resume() override { suspended_ = false; }
    void SetPalette(const uint32_t* colours) override;

    uint8_t Format() const { return format_; }
    // Shows the last picture again (after the window was uncovered or resized).
    void Repaint();

  private:
    void ConvertPalettePixels();

    VDesktopPlatform& platform_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    VScreenMode mode_;
    uint8_t format_ = 0;
    std::vector<uint8_t> pixels_;     // the screen memory the framework draws into
    std::vector<uint32_t> expanded_;  // 8-bit screens: the pixels through the palette
    uint32_t palette_[256] = {};      // 0xAARRGGBB
    bool locked_ = false;
    bool suspended_ = false;
    bool vsync_ = false;
};
