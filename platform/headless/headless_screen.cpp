#include "platform/headless/headless_screen.h"

#include "platform/headless/headless_platform.h"

namespace {

struct FormatLayout {
    uint32_t bits;
    uint8_t red, green, blue;
};

// Codes 1 to 6: 8-bit palette index, 4-4-4, 5-5-5, 5-6-5, 8-8-8 in 24 bits, 8-8-8 in 32 bits.
constexpr FormatLayout kFormats[] = {
    {8, 0, 0, 0}, {16, 4, 4, 4}, {16, 5, 5, 5}, {16, 5, 6, 5}, {24, 8, 8, 8}, {32, 8, 8, 8},
};

uint8_t FormatForBits(uint32_t bits) {
    switch (bits) {
        case 8:
            return 1;
        case 24:
            return 5;
        case 32:
            return 6;
        default:
            return 4;
    }
}

}  // namespace

bool HeadlessFormatMode(uint8_t format, VScreenMode* mode) {
    if (format < 1 || format > 6) return false;
    const FormatLayout& f = kFormats[format - 1];
    mode->bitsPerPixel = f.bits;
    mode->redBits = f.red;
    mode->greenBits = f.green;
    mode->blueBits = f.blue;
    return true;
}

uint32_t VHeadlessScreen::Open(uint32_t method, uintptr_t window, uint32_t bitsPerPixel,
                               uint32_t width, uint32_t height, bool, bool) {
    Close();
    if (method != 1) return kScreenMethodUnsupported;
    const VHeadlessOptions& options = platform_.options_;
    if (options.screenOpenResult != kScreenOpened) return options.screenOpenResult;
    if (window == 0 || width == 0 || height == 0) return kScreenCallFailed;

    const uint8_t format =
        options.screenFormat ? options.screenFormat : FormatForBits(bitsPerPixel);
    VScreenMode mode;
    if (!HeadlessFormatMode(format, &mode)) return kScreenCallFailed;
    mode.width = options.screenWidth ? options.screenWidth : width;
    mode.height = options.screenHeight ? options.screenHeight : height;
    const uint32_t bytes = (mode.bitsPerPixel + 7) / 8;
    mode.xStep = int32_t(bytes);
    mode.yStep = int32_t(mode.width * bytes);

    VHeadlessPicture& picture = platform_.picture_;
    picture.pixels.assign(size_t(mode.yStep) * mode.height, 0);
    picture.width = mode.width;
    picture.height = mode.height;
    picture.pitch = uint32_t(mode.yStep);
    picture.bytesPerPixel = bytes;
    picture.format = format;
    picture.presents = 0;
    mode_ = mode;
    open_ = true;
    return kScreenOpened;
}

void VHeadlessScreen::Close() {
    if (locked_) Unlock();
    open_ = false;
    platform_.screenSuspended_ = false;
}

uint8_t VHeadlessScreen::NativeOrientation() const {
    return platform_.options_.nativeOrientation & 3;
}

bool VHeadlessScreen::Lock(VScreenLock* lock) {
    if (!open_ || locked_ || lock == nullptr) return false;
    VHeadlessPicture& picture = platform_.picture_;
    lock->address = picture.pixels.data();
    lock->pitch = int32_t(picture.pitch);
    lock->bytesPerPixel = picture.bytesPerPixel;
    locked_ = true;
    return true;
}

void VHeadlessScreen::Unlock() {
    if (!locked_) return;
    locked_ = false;
    ++platform_.picture_.presents;
}

void VHeadlessScreen::WaitVerticalBlank() {
    ++platform_.verticalBlankWaits_;
}

void VHeadlessScreen::Suspend() {
    platform_.screenSuspended_ = true;
}

void VHeadlessScreen::Resume() {
    platform_.screenSuspended_ = false;
}
