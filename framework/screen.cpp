#include "framework/screen.h"

#include "fileio/memory.h"
#include "framework/settings.h"
#include "framework/vane.h"
#include "platform/platform_layer.h"

namespace {

constexpr uint8_t kFormat8 = 1;
constexpr uint8_t kFormat444 = 2;
constexpr uint8_t kFormat555 = 3;
constexpr uint8_t kFormat565 = 4;
constexpr uint8_t kFormat888 = 5;
constexpr uint8_t kFormatX888 = 6;
constexpr uint8_t kFrameworkChoice = 32;

constexpr uint32_t kTile = 32;  // turned copies walk the picture in tiles of this many pixels

uint32_t BitsPerPixelFor(uint8_t format) {
    switch (format) {
        case kFormat8:
            return 8;
        case kFormat444:
        case kFormat555:
        case kFormat565:
            return 16;
        case kFormat888:
            return 24;
        default:
            return 32;
    }
}

// The format code of an open screen, or 0 when the framework cannot draw for it.
uint8_t FormatOf(const VScreenMode& mode) {
    switch (mode.bitsPerPixel) {
        case 8:
            return kFormat8;
        case 16:
            if (mode.redBits == 4 && mode.greenBits == 4 && mode.blueBits == 4) return kFormat444;
            if (mode.redBits == 5 && mode.greenBits == 5 && mode.blueBits == 5) return kFormat555;
            if (mode.redBits == 5 && mode.greenBits == 6 && mode.blueBits == 5) return kFormat565;
            return 0;
        case 24:
            return kFormat888;
        case 32:
            return kFormatX888;
        default:
            return 0;
    }
}

// The display result for a failed platform screen open. Every platform failure carries a
// message except running out of memory, which the display reports as such.
uint32_t DisplayResultFor(uint32_t screenResult) {
    return screenResult == kScreenOutOfMemory ? kDisplayOutOfMemory : kDisplayNotOpened;
}

void CopyPixel(uint8_t* to, const uint8_t* from, uint32_t bytes) {
    for (uint32_t i = 0; i < bytes; ++i) to[i] = from[i];
}

}  // namespace

ClassVScreen::~ClassVScreen() {
    Close();
}

uint32_t ClassVScreen::Open(VPlatformInstance* instance, const VWindowSetup* setup,
                            const VDisplayConfig& config) {
    Close();
    config_ = config;
    const VScreenSettings* screen = config.screen;
    if (instance == nullptr || instance->window == 0 || setup == nullptr || screen == nullptr ||
        config.app == nullptr || screen->width < 4 || screen->height < 4) {
        return kDisplayInvalidParameters;
    }
    instance_ = instance;
    setup_ = setup;

    const uint8_t mode = screen->displayMode == kFrameworkChoice ? kFormat565 : screen->displayMode;
    if (mode < kFormat8 || mode > kFormatX888) return kDisplayInvalidParameters;
    fullScreen_ = screen->fullScreen ? 1 : 0;
    suspended_ = 0;
    screenFormat_ = mode;

    platformScreen_ = instance->layer->CreateScreen();
    if (platformScreen_ == nullptr) {
        Close();
        return kDisplayNotOpened;
    }
    const uint32_t opened =
        platformScreen_->Open(1, instance->window, BitsPerPixelFor(mode), screen->width,
                              screen->height, fullScreen_ != 0, screen->menu != 0);
    if (opened != kScreenOpened) {
        Close();
        return DisplayResultFor(opened);
    }

    const VScreenMode m = platformScreen_->Mode();
    screenFormat_ = FormatOf(m);
    if (screenFormat_ == 0) {
        Close();
        return kDisplayUnusable;
    }
    bytesPerPixel_ = (m.bitsPerPixel + 7) / 8;
    physicalWidth_ = m.width;
    physicalHeight_ = m.height;
    screenXStep_ = m.xStep;
    screenYStep_ = m.yStep;
    nativeOrientation_ = platformScreen_->NativeOrientation() & 3;

    if (!SetOrientation(screen->orientation)) {
        Close();
        return kDisplayUnusable;
    }

    uint8_t buffer =
        screen->bufferFormat == kFrameworkChoice ? screenFormat_ : screen->bufferFormat;
    if (buffer == kFormat555) buffer = kFormat565;
    if (buffer == kFormat888) buffer = kFormatX888;
    if (buffer != screenFormat_) {
        Close();
        return kDisplayUnusable;
    }
    bufferFormat_ = buffer;
    if (!CreateBackBuffer()) {
        Close();
        return kDisplayNotOpened;
    }

    if (!fullScreen_ && setup->dialog == 0) {
        instance->layer->SizeWindowForDisplay(instance, physicalWidth_, physicalHeight_);
    }
    if (config.app->flags & kFlagPresentAfterOpen) Present();
    return kDisplayOk;
}

void ClassVScreen::Close() {
    if (suspended_) Resume();
    FreeBackBuffer();
    if (platformScreen_ != nullptr) {
        platformScreen_->Close();
        delete platformScreen_;
        platformScreen_ = nullptr;
    }
    bufferFormat_ = 0;
}

bool ClassVScreen::CreateBackBuffer() {
    backPitch_ = logicalWidth_ * bytesPerPixel_;
    backBuffer_ = static_cast<uint8_t*>(MemAlloc(size_t(backPitch_) * logicalHeight_));
    if (backBuffer_ == nullptr) return false;
    MemFill8(backBuffer_, 0, size_t(backPitch_) * logicalHeight_);
    return true;
}

void ClassVScreen::FreeBackBuffer() {
    MemFree(backBuffer_);
    backBuffer_ = nullptr;
    backPitch_ = 0;
}

int ClassVScreen::QuarterTurnsFor(uint8_t code) const {
    const bool wide = physicalWidth_ > physicalHeight_;
    const bool tall = physicalHeight_ > physicalWidth_;
    const bool nativeTurned = nativeOrientation_ == 1 || nativeOrientation_ == 3;
    switch (code) {
        case 0:
        case 1:
        case 2:
        case 3:
            return code;
        case 4:  // portrait
            if (wide && !nativeTurned) return 3;
            if (tall) return 0;
            return nativeOrientation_;
        case 5:  // landscape
            if (tall && !nativeTurned) return 1;
            if (wide) return 0;
            return nativeOrientation_;
        case 6:
        case 7:
            return nativeOrientation_;
        default:
            return -1;
    }
}

bool ClassVScreen::SetOrientation(uint8_t code) {
    const int wanted = QuarterTurnsFor(code);
    if (wanted < 0) return false;
    const bool screenOpen = platformScreen_ != nullptr && platformScreen_->IsOpen();
    orientation_ = uint8_t(wanted);
    if (!screenOpen) return true;
    // The layout turns the picture by the difference between the wanted orientation and the
    // one the screen already has.
    ApplyLayout(uint8_t((wanted - nativeOrientation_ + 4) % 4));
    if (backBuffer_ == nullptr) return true;  // during the open

    FreeBackBuffer();
    if (!CreateBackBuffer()) return false;
    if (config_.owner != nullptr) config_.owner->OnDisplayChange(*this);
    return true;
}

void ClassVScreen::ApplyLayout(uint8_t turns) {
    const uint32_t w = physicalWidth_, h = physicalHeight_;
    const int32_t sx = screenXStep_, sy = screenYStep_;
    const bool swapped = turns == 1 || turns == 3;
    logicalWidth_ = swapped ? h : w;
    logicalHeight_ = swapped ? w : h;
    switch (turns) {
        case 0:
            originOffset_ = 0;
            logicalXStep_ = sx;
            logicalYStep_ = sy;
            break;
        case 1:
            originOffset_ = (w - 1) * sx;
            logicalXStep_ = sy;
            logicalYStep_ = -sx;
            break;
        case 2:
            originOffset_ = (h - 1) * sy + (w - 1) * sx;
            logicalXStep_ = -sx;
            logicalYStep_ = -sy;
            break;
        default:
            originOffset_ = (h - 1) * sy;
            logicalXStep_ = -sy;
            logicalYStep_ = sx;
            break;
    }
}

void ClassVScreen::Present() {
    if (suspended_ || bufferFormat_ == 0 || backBuffer_ == nullptr) return;
    VScreenLock lock;
    if (!platformScreen_->Lock(&lock)) return;
    if (lock.bytesPerPixel != bytesPerPixel_ && lock.pitch != screenYStep_) {
        platformScreen_->Unlock();
        return;
    }
    uint8_t* target = lock.address + originOffset_;
    VPlatformRect client;
    if (!fullScreen_ && instance_->layer->GetClientArea(instance_, &client)) {
        int32_t x = client.left, y = client.top;
        if (setup_->dialog != 0) {
            x += config_.screen->dialogX;
            y += config_.screen->dialogY;
        }
        target += intptr_t(y) * lock.pitch + intptr_t(x) * int32_t(bytesPerPixel_);
    }
    if (config_.app->flags & kFlagWaitVerticalBlank) platformScreen_->WaitVerticalBlank();

    const uint32_t rowBytes = logicalWidth_ * bytesPerPixel_;
    if (logicalXStep_ == int32_t(bytesPerPixel_) && logicalYStep_ > 0) {
        if (uint32_t(logicalYStep_) == rowBytes) {
            MemCopy(target, backBuffer_, size_t(rowBytes) * logicalHeight_, false);
        } else {
            for (uint32_t y = 0; y < logicalHeight_; ++y) {
                MemCopy(target + intptr_t(y) * logicalYStep_, backBuffer_ + size_t(y) * backPitch_,
                        rowBytes, false);
            }
        }
    } else {
        for (uint32_t ty = 0; ty < logicalHeight_; ty += kTile) {
            for (uint32_t tx = 0; tx < logicalWidth_; tx += kTile) {
                const uint32_t yEnd = ty + kTile < logicalHeight_ ? ty + kTile : logicalHeight_;
                const uint32_t xEnd = tx + kTile < logicalWidth_ ? tx + kTile : logicalWidth_;
                for (uint32_t y = ty; y < yEnd; ++y) {
                    const uint8_t* from = backBuffer_ + size_t(y) * backPitch_;
                    uint8_t* to = target + intptr_t(y) * logicalYStep_;
                    for (uint32_t x = tx; x < xEnd; ++x) {
                        CopyPixel(to + intptr_t(x) * logicalXStep_, from + x * bytesPerPixel_,
                                  bytesPerPixel_);
                    }
                }
            }
        }
    }
    platformScreen_->Unlock();
}

void ClassVScreen::Suspend() {
    suspended_ = 1;
    if (platformScreen_ != nullptr) platformScreen_->Suspend();
}

void ClassVScreen::Resume() {
    suspended_ = 0;
    if (platformScreen_ != nullptr) platformScreen_->Resume();
}
