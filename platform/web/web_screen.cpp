#include "platform/web/web_screen.h"

#include <emscripten.h>

#include <new>

#include "graphics2d/pixel_format.h"
#include "platform/shared/screen_mode.h"
#include "platform/web/web_platform.h"

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;
// The canvas is a display, not an image: larger than this it would be of no use to anyone.
constexpr uint32_t kMaxSide = 8192;

// Sizes the canvas to the display and keeps its 2D context and an ImageData of that size.
// False when the page has no such canvas.
// clang-format off
EM_JS(bool, WebCanvasOpen, (const char* selector, uint32_t width, uint32_t height), {
    const canvas = document.querySelector(UTF8ToString(selector));
    if (!canvas || !canvas.getContext) return false;
    canvas.width = width;
    canvas.height = height;
    const context = canvas.getContext("2d", {alpha : false});
    if (!context) return false;
    Module.vaneScreen = {context : context, image : context.createImageData(width, height)};
    Module.vanePresents = 0;
    return true;
});
// clang-format on

// One ImageData per frame: the RGBA pixels copied in, then put into the canvas. The copy
// reads the memory afresh each time, as a growing heap replaces its buffer.
// clang-format off
EM_JS(void, WebCanvasPut, (const uint32_t* rgba, uint32_t bytes), {
    const screen = Module.vaneScreen;
    if (!screen) return;
    screen.image.data.set(HEAPU8.subarray(rgba, rgba + bytes));
    screen.context.putImageData(screen.image, 0, 0);
    Module.vanePresents += 1;
});
// clang-format on

// clang-format off
EM_JS(void, WebCanvasClose, (), { Module.vaneScreen = null; });
// clang-format on

}  // namespace

uint32_t VWebScreen::Open(uint32_t method, uintptr_t window, uint32_t bitsPerPixel, uint32_t width,
                          uint32_t height, bool, bool) {
    Close();
    if (method != 1) return kScreenMethodUnsupported;
    if (window == 0 || width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) {
        return kScreenCallFailed;
    }
    format_ = PackedFormatForDepth(bitsPerPixel);
    VScreenMode mode;
    if (!PackedScreenMode(format_, width, height, &mode)) return kScreenCallFailed;
    try {
        pixels_.assign(size_t(mode.yStep) * height, 0);
        rgba_.assign(size_t(width) * height, kOpaque);
        table_.clear();
        if (mode.bitsPerPixel <= 16) {
            table_.resize(size_t(1) << mode.bitsPerPixel);
            for (uint32_t p = 0; p < table_.size(); ++p) {
                table_[p] = kOpaque | PixelToShownColor(format_, p);
            }
        }
    } catch (const std::bad_alloc&) {
        Close();
        return kScreenOutOfMemory;
    }
    if (!WebCanvasOpen(platform_.CanvasSelector(), width, height)) {
        Close();
        return kScreenCallFailed;
    }
    mode_ = mode;
    open_ = true;
    suspended_ = false;
    platform_.ScreenOpened(width, height);
    return kScreenOpened;
}

void VWebScreen::Close() {
    if (open_) WebCanvasClose();
    open_ = false;
    locked_ = false;
    format_ = 0;
    mode_ = VScreenMode{};
    pixels_ = {};
    rgba_ = {};
    table_ = {};
}

bool VWebScreen::Lock(VScreenLock* lock) {
    if (!open_ || locked_ || suspended_ || lock == nullptr) return false;
    lock->address = pixels_.data();
    lock->pitch = mode_.yStep;
    lock->bytesPerPixel = uint32_t(mode_.xStep);
    locked_ = true;
    return true;
}

void VWebScreen::Unlock() {
    if (!locked_) return;
    locked_ = false;
    WidenToRgba();
    WebCanvasPut(rgba_.data(), uint32_t(rgba_.size() * sizeof(uint32_t)));
}

void VWebScreen::SetPalette(const uint32_t* colours) {
    if (format_ != VPIXELFORMAT_8 || table_.size() != 256 || colours == nullptr) return;
    for (uint32_t i = 0; i < 256; ++i) table_[i] = kOpaque | (colours[i] & 0xFFFFFFu);
}

void VWebScreen::WidenToRgba() {
    const uint8_t* in = pixels_.data();
    uint32_t* out = rgba_.data();
    const size_t count = rgba_.size();
    switch (mode_.bitsPerPixel) {
        case 8:
            for (size_t i = 0; i < count; ++i) out[i] = table_[in[i]];
            break;
        case 16:
            for (size_t i = 0; i < count; ++i) {
                out[i] = table_[uint32_t(in[2 * i]) | uint32_t(in[2 * i + 1]) << 8];
            }
            break;
        case 24:  // bytes blue, green, red
            for (size_t i = 0; i < count; ++i) {
                const uint8_t* p = in + 3 * i;
                out[i] = kOpaque | uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16;
            }
            break;
        default:  // 32 bits, 0x00RRGGBB
            for (size_t i = 0; i < count; ++i) {
                const uint8_t* p = in + 4 * i;
                out[i] = kOpaque | uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16;
            }
            break;
    }
}
