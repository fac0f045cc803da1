#include "platform/handheld/handheld_screen.h"

#include "platform/handheld/handheld_platform.h"
#include "platform/handheld/screen_methods.h"

namespace {

constexpr uint32_t kGreenMask555 = 0x3E0;

}  // namespace

uint32_t VHandheldScreen::Open(uint32_t method, uintptr_t window, uint32_t bitsPerPixel,
                               uint32_t width, uint32_t height, bool fullScreen, bool) {
    Close();
    nativeOrientation_ = uint8_t(platform_.LastScreenAngle() / 90 & 3);
    const bool aware = platform_.HighResolutionAware();
    uint32_t result = kScreenMethodUnsupported;
    uint8_t opened = uint8_t(method);
    switch (method) {
        case kHandheldRawFrameBuffer:
            if (!aware) result = OpenRawFrameBuffer();
            break;
        case kHandheldGameInterface:
            result = OpenGameInterface(window);
            break;
        case kHandheldDirectDraw:
            result = OpenDirectDraw(window, bitsPerPixel, width, height, fullScreen);
            break;
        case kHandheldAutomatic:
            if (aware) {
                opened = kHandheldRawFrameBuffer;
                result = OpenRawFrameBuffer();
                if (result != kScreenOpened) {
                    opened = kHandheldGameInterface;
                    result = OpenGameInterface(window);
                }
            } else {
                opened = kHandheldDirectDraw;
                result = OpenDirectDraw(window, bitsPerPixel, width, height, fullScreen);
            }
            break;
        default:
            break;
    }
    if (result == kScreenOpened) opened_ = opened;
    return result;
}

uint32_t VHandheldScreen::OpenRawFrameBuffer() {
    VHandheldDevice& device = platform_.Device();
    const uintptr_t context = device.GetScreenContext();
    if (context == 0) return kScreenCallFailed;
    VRawFrameBufferRecord record;
    const int32_t answered =
        device.Escape(context, kDeviceEscapeRawFrameBuffer, &record, sizeof(record));
    device.ReleaseScreenContext(context);
    if (answered <= 0 || record.frameBuffer == nullptr || record.width <= 0 || record.height <= 0) {
        return kScreenCallFailed;
    }
    VScreenMode mode;
    if (!RawFrameBufferChannels(record, &mode)) return kScreenCallFailed;
    mode.width = uint32_t(record.width);
    mode.height = uint32_t(record.height);
    mode.xStep = record.xStride;
    mode.yStep = record.yStride;
    mode_ = mode;
    frameBuffer_ = record.frameBuffer;
    return kScreenOpened;
}

uint32_t VHandheldScreen::OpenGameInterface(uintptr_t window) {
    const VGameEntries& game = platform_.Game();
    if (!game.CanDraw()) return kScreenLibraryMissing;
    if (game.openDisplay(window, kGameFullScreen) == 0) return kScreenCallFailed;
    const VGameDisplayProperties properties = game.getDisplayProperties();
    VScreenMode mode;
    if (!GameInterfaceChannels(properties, &mode) || properties.width == 0 ||
        properties.height == 0) {
        game.closeDisplay();
        return kScreenCallFailed;
    }
    mode.width = properties.width;
    mode.height = properties.height;
    mode.xStep = properties.xPitch;
    mode.yStep = properties.yPitch;
    mode_ = mode;
    return kScreenOpened;
}

uint32_t VHandheldScreen::OpenDirectDraw(uintptr_t window, uint32_t bitsPerPixel, uint32_t width,
                                         uint32_t height, bool fullScreen) {
    VHandheldDevice& device = platform_.Device();
    const uintptr_t library = platform_.DirectDrawLibrary();
    const auto create =
        library == 0
            ? nullptr
            : reinterpret_cast<VDirectDrawCreate>(device.FindEntry(library, kDirectDrawCreateName));
    if (create == nullptr) return kScreenLibraryMissing;
    if (create(&directDraw_) != 0 || directDraw_ == nullptr) {
        directDraw_ = nullptr;
        return kScreenCallFailed;
    }
    uint32_t bits = 0, green = 0, w = 0, h = 0;
    int32_t pitch = 0;
    const bool made =
        directDraw_->SetCooperativeLevel(window, fullScreen) == 0 &&
        (!fullScreen || directDraw_->SetDisplayMode(width, height, bitsPerPixel) == 0) &&
        directDraw_->CreatePrimary() == 0 && directDraw_->PrimaryFormat(&bits, &green) == 0 &&
        directDraw_->PrimaryLayout(&w, &h, &pitch) == 0;
    VScreenMode mode;
    mode.bitsPerPixel = bits;
    const bool known = bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (!made || !known) {
        directDraw_->Release();
        directDraw_ = nullptr;
        return kScreenCallFailed;
    }
    if (bits == 16) {
        mode.redBits = 5;
        mode.greenBits = green == kGreenMask555 ? 5 : 6;
        mode.blueBits = 5;
    } else if (bits > 16) {
        mode.redBits = mode.greenBits = mode.blueBits = 8;
    }
    mode.width = w;
    mode.height = h;
    mode.xStep = int32_t((bits + 7) / 8);
    mode.yStep = pitch;
    mode_ = mode;
    // In a window the game interface draws only over the window's rows.
    const VGameEntries& game = platform_.Game();
    if (!fullScreen && game.setViewport != nullptr) {
        int32_t left = 0, top = 0, right = 0, bottom = 0;
        device.WindowRect(window, &left, &top, &right, &bottom);
        game.setViewport(uint32_t(top), uint32_t(bottom - top), 0, 0);
    }
    return kScreenOpened;
}

void VHandheldScreen::Close() {
    if (locked_) Unlock();
    if (opened_ == kHandheldGameInterface) platform_.Game().closeDisplay();
    if (directDraw_ != nullptr) {
        directDraw_->Release();
        directDraw_ = nullptr;
    }
    frameBuffer_ = nullptr;
    opened_ = kNone;
    mode_ = VScreenMode{};
}

bool VHandheldScreen::Lock(VScreenLock* lock) {
    if (opened_ == kNone || locked_ || lock == nullptr) return false;
    lock->pitch = mode_.yStep;
    lock->bytesPerPixel = (mode_.bitsPerPixel + 7) / 8;
    switch (opened_) {
        case kHandheldRawFrameBuffer:
            lock->address = frameBuffer_;
            break;
        case kHandheldGameInterface:
            lock->address = static_cast<uint8_t*>(platform_.Game().beginDraw());
            break;
        default: {
            int32_t pitch = 0;
            const int answer = directDraw_->Lock(&lock->address, &pitch);
            if (answer == kDeviceSurfaceLost) directDraw_->Restore();
            if (answer != 0) return false;
            lock->pitch = pitch;
            break;
        }
    }
    if (lock->address == nullptr) {
        if (opened_ == kHandheldGameInterface) platform_.Game().endDraw();
        return false;
    }
    locked_ = true;
    return true;
}

void VHandheldScreen::Unlock() {
    if (!locked_) return;
    locked_ = false;
    if (opened_ == kHandheldGameInterface) platform_.Game().endDraw();
    if (opened_ == kHandheldDirectDraw) directDraw_->Unlock();
}

void VHandheldScreen::WaitVerticalBlank() {
    if (directDraw_ != nullptr) directDraw_->WaitForVerticalBlank();
}

void VHandheldScreen::Suspend() {
    if (opened_ == kHandheldGameInterface && platform_.Game().suspend != nullptr) {
        platform_.Game().suspend();
    }
}

void VHandheldScreen::Resume() {
    if (opened_ == kHandheldGameInterface && platform_.Game().resume != nullptr) {
        platform_.Game().resume();
    }
}
