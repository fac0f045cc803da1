#include "platform/desktop/desktop_screen.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "graphics2d/pixel_format.h"
#include "platform/desktop/desktop_platform.h"
#include "platform/shared/screen_mode.h"

namespace {

// 3-3-2 colours until the display hands over its palette, so that an 8-bit screen shows
// something recognisable rather than black.
void DefaultPalette(uint32_t* palette) {
    for (uint32_t i = 0; i < 256; ++i) {
        const uint32_t r = (i >> 5) * 255 / 7, g = ((i >> 2) & 7) * 255 / 7, b = (i & 3) * 255 / 3;
        palette[i] = 0xFF000000u | r << 16 | g << 8 | b;
    }
}

}  // namespace

VPictureRect FitPicture(uint32_t outputWidth, uint32_t outputHeight, uint32_t pictureWidth,
                        uint32_t pictureHeight) {
    VPictureRect rect;
    if (pictureWidth == 0 || pictureHeight == 0) return rect;
    rect.scale = std::max(1u, std::min(outputWidth / pictureWidth, outputHeight / pictureHeight));
    rect.x = (int32_t(outputWidth) - int32_t(pictureWidth * rect.scale)) / 2;
    rect.y = (int32_t(outputHeight) - int32_t(pictureHeight * rect.scale)) / 2;
    return rect;
}

uint32_t SdlFormatFor(uint8_t format) {
    switch (format) {
        case VPIXELFORMAT_8:
        case VPIXELFORMAT_X888:
            return SDL_PIXELFORMAT_RGB888;  // 32 bits, 0x00RRGGBB
        case VPIXELFORMAT_444:
            return SDL_PIXELFORMAT_RGB444;
        case VPIXELFORMAT_555:
            return SDL_PIXELFORMAT_RGB555;
        case VPIXELFORMAT_565:
            return SDL_PIXELFORMAT_RGB565;
        case VPIXELFORMAT_888:
            return SDL_PIXELFORMAT_BGR24;  // bytes blue, green, red
        default:
            return SDL_PIXELFORMAT_UNKNOWN;
    }
}

VDesktopScreen::VDesktopScreen(VDesktopPlatform& platform) : platform_(platform) {
    DefaultPalette(palette_);
}

VDesktopScreen::~VDesktopScreen() {
    Close();
}

uint32_t VDesktopScreen::Open(uint32_t method, uintptr_t window, uint32_t bitsPerPixel,
                              uint32_t width, uint32_t height, bool, bool) {
    Close();
    if (method != 1) return kScreenMethodUnsupported;
    window_ = reinterpret_cast<SDL_Window*>(window);
    if (window_ == nullptr || width == 0 || height == 0 || width > 16384 || height > 16384) {
        return kScreenCallFailed;
    }
    const uint8_t sixteen = platform_.Options().sixteenBitFormat;
    format_ = bitsPerPixel == 16 && sixteen != 0 ? sixteen : PackedFormatForDepth(bitsPerPixel);
    VScreenMode mode;
    if (!PackedScreenMode(format_, width, height, &mode)) {
        Close();
        return kScreenCallFailed;
    }
    try {
        pixels_.assign(size_t(mode.yStep) * height, 0);
        if (format_ == VPIXELFORMAT_8) expanded_.assign(size_t(width) * height, 0);
    } catch (const std::bad_alloc&) {
        Close();
        return kScreenOutOfMemory;
    }

    // Nearest-neighbour sampling keeps every display pixel a sharp square.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    renderer_ = SDL_GetRenderer(window_);
    if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_ != nullptr) {
        texture_ = SDL_CreateTexture(renderer_, SdlFormatFor(format_), SDL_TEXTUREACCESS_STREAMING,
                                     int(width), int(height));
    }
    if (texture_ == nullptr) {
        std::fprintf(stderr, "desktop screen: %s\n", SDL_GetError());
        Close();
        return kScreenCallFailed;
    }
    mode_ = mode;
    suspended_ = false;
    vsync_ = false;
    platform_.ScreenOpened(this);
    return kScreenOpened;
}

void VDesktopScreen::Close() {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) platform_.ScreenClosed(this);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    locked_ = false;
    format_ = 0;
    mode_ = VScreenMode{};
    pixels_ = {};
    expanded_ = {};
}

bool VDesktopScreen::Lock(VScreenLock* lock) {
    if (texture_ == nullptr || locked_ || suspended_ || lock == nullptr) return false;
    lock->address = pixels_.data();
    lock->pitch = mode_.yStep;
    lock->bytesPerPixel = uint32_t(mode_.xStep);
    locked_ = true;
    return true;
}

void VDesktopScreen::Unlock() {
    if (!locked_) return;
    locked_ = false;
    if (format_ == VPIXELFORMAT_8) ConvertPalettePixels();
    const void* source = format_ == VPIXELFORMAT_8 ? static_cast<const void*>(expanded_.data())
                                                   : static_cast<const void*>(pixels_.data());
    const int pitch = format_ == VPIXELFORMAT_8 ? int(mode_.width * 4) : int(mode_.yStep);
    SDL_UpdateTexture(texture_, nullptr, source, pitch);
    Repaint();
}

void VDesktopScreen::Repaint() {
    if (texture_ == nullptr) return;
    int outputWidth = 0, outputHeight = 0;
    SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
    const VPictureRect fit =
        FitPicture(uint32_t(outputWidth), uint32_t(outputHeight), mode_.width, mode_.height);
    const SDL_Rect target{fit.x, fit.y, int(mode_.width * fit.scale),
                          int(mode_.height * fit.scale)};
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &target);
    SDL_RenderPresent(renderer_);
}

void VDesktopScreen::ConvertPalettePixels() {
    for (size_t i = 0; i < pixels_.size(); ++i) expanded_[i] = palette_[pixels_[i]];
}

void VDesktopScreen::WaitVerticalBlank() {
    // The renderer waits for the vertical blank in its presents from now on.
    if (renderer_ == nullptr || vsync_) return;
    vsync_ = SDL_RenderSetVSync(renderer_, 1) == 0;
}

void VDesktopScreen::SetPalette(const uint32_t* colours) {
    // Colour values (red in the low byte) to the texture's 0x00RRGGBB.
    for (uint32_t i = 0; i < 256; ++i) {
        const uint32_t c = colours[i];
        palette_[i] = 0xFF000000u | (c & 0xFF) << 16 | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
}
