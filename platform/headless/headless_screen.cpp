#include "platform/headless/headless_screen.h"

#include "platform/headless/headless_platform.h"
#include "platform/shared/screen_mode.h"

uint32_t VHeadlessScreen::Open(uint32_t method, uintptr_t window, uint32_t bitsPerPixel,
                               uint32_t width, uint32_t height, bool, bool) {
    Close();
    if (method != 1) return kScreenMethodUnsupported;
    const VHeadlessOptions& options = platform_.options_;
    if (options.screenOpenResult != kScreenOpened) return options.screenOpenResult;
    if (window == 0 || width == 0 || height == 0) return kScreenCallFailed;

    const uint8_t format =
        options.screenFormat ? options.screenFormat : PackedFormatForDepth(bitsPerPixel);
    VScreenMode mode;
    if (!PackedScreenMode(format, options.screenWidth ? options.screenWidth : width,
                          options.screenHeight ? options.screenHeight : height, &mode)) {
        return kScreenCallFailed;
    }
    const uint32_t bytes = uint32_t(mode.xStep);

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
    lock->pitch = int32_t(picture.pitch) + platform_.options_.lockPitchChange;
    lock->bytesPerPixel =
        uint32_t(int32_t(picture.bytesPerPixel) + platform_.options_.lockPixelStepChange);
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
