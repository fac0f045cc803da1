#include "framework/screen.h"

#include "framework/settings.h"
#include "framework/turning_copy.h"
#include "graphics2d/pixel_format.h"
#include "platform/platform_layer.h"
#include "render3d/model.h"

namespace {

constexpr uint8_t kFrameworkChoice = 32;
constexpr uint32_t kBufferMemoryMask = 0x0F;

// The format code of an open screen, or 0 when the framework cannot draw for it.
uint8_t FormatOf(const VScreenMode& mode) {
    if (mode.bitsPerPixel > 32) return 0;
    const VFormatLayout layout{uint8_t(mode.bitsPerPixel), mode.redBits, mode.greenBits,
                               mode.blueBits};
    return FormatOfLayout(layout);
}

// The display result of a failed platform screen open. Every failure keeps the display closed
// and so fails the start: running out of memory as such, anything else (a method the layer
// does not offer, a failed call, a missing screen library) as a device that could not be
// opened, with its message.
uint32_t DisplayResultFor(uint32_t screenResult) {
    return screenResult == kScreenOutOfMemory ? kDisplayOutOfMemory : kDisplayNotOpened;
}

// The buffer format a configuration asks for on a screen of screenFormat: the back buffer is
// never 5-5-5 or 24-bit.
uint8_t BufferFormatFor(uint8_t configured, uint8_t screenFormat) {
    const uint8_t format = configured == kFrameworkChoice ? screenFormat : configured;
    if (format == VPIXELFORMAT_555) return VPIXELFORMAT_565;
    if (format == VPIXELFORMAT_888) return VPIXELFORMAT_X888;
    return format;
}

}  // namespace

ClassVScreen::ClassVScreen() : VSurfaceServices(0) {
    secondBuffer_.SetOwner(this);
    backBuffer_.SetOwner(this);
}

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

    const uint8_t mode =
        screen->displayMode == kFrameworkChoice ? VPIXELFORMAT_565 : screen->displayMode;
    if (mode < VPIXELFORMAT_8 || mode > VPIXELFORMAT_X888) return kDisplayInvalidParameters;
    SetDefaultMemoryKind(screen->bufferMemory & kBufferMemoryMask);
    fullScreen_ = screen->fullScreen ? 1 : 0;
    suspended_ = 0;
    nativeLayout_ = 0;
    VSurfaceServices::SetOrientation(VOrientation{});
    screenFormat_ = mode;

    platformScreen_ = instance->layer->CreateScreen();
    if (platformScreen_ == nullptr) {
        Close();
        return kDisplayNotOpened;
    }
    // The layer's ways to the screen, in its order for the preference; the first that opens.
    VScreenMethod methods[kMaxScreenMethods];
    const uint32_t count = instance->layer->ScreenMethods(screen->displayMethod, methods);
    uint32_t opened = kScreenMethodUnsupported;
    for (uint32_t i = 0; i < count && i < kMaxScreenMethods && opened != kScreenOpened; ++i) {
        opened = platformScreen_->Open(methods[i].code, instance->window, BitsPerPixelOf(mode),
                                       screen->width, screen->height, fullScreen_ != 0,
                                       screen->menu != 0);
        screenMethod_ = methods[i].code;
        platformBuffers_ = methods[i].platformBuffers ? 1 : 0;
    }
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
    bitsPerPixel_ = m.bitsPerPixel;
    physicalWidth_ = m.width;
    physicalHeight_ = m.height;
    screenXStep_ = m.xStep;
    screenYStep_ = m.yStep;
    nativeOrientation_ = platformScreen_->NativeOrientation() & 3;

    if (!SetOrientation(screen->orientation)) {
        Close();
        return kDisplayUnusable;
    }

    bufferFormat_ = BufferFormatFor(screen->bufferFormat, screenFormat_);
    if (BitsPerPixelOf(bufferFormat_) == 0) {
        Close();
        return kDisplayInvalidParameters;
    }
    if (!CreateBuffers()) {
        Close();
        return kDisplayNotOpened;
    }
    SetBlitterFormat(bufferFormat_);
    SetTurnTables(config.turnTables);

    instance->layer->GetDesktopSize(&desktopWidth_, &desktopHeight_);
    Set3DDefaults();
    if (!fullScreen_ && setup->dialog == 0) {
        instance->layer->SizeWindowForDisplay(instance, physicalWidth_, physicalHeight_);
    }
    if (config.app->flags & kFlagPresentAfterOpen) Present();
    return kDisplayOk;
}

void ClassVScreen::Close() {
    if (suspended_) Resume();
    Registry().FreeAll();
    for (VLight& light : lights_) light = VLight{};
    SetBlitterFormat(0);
    if (platformScreen_ != nullptr) {
        platformScreen_->Close();
        delete platformScreen_;
        platformScreen_ = nullptr;
    }
    bufferFormat_ = 0;
}

uint32_t ClassVScreen::CreateSurface(V2DSurface& surface, uint32_t width, uint32_t height,
                                     uint32_t memoryKind) {
    if (!IsOpen()) return VSURF_NOTCREATED;
    surface.SetOwner(this);
    return surface.Create(width, height, bufferFormat_, memoryKind);
}

uint32_t ClassVScreen::LoadSurface(V2DSurface& surface, const uint8_t* data, uint32_t size,
                                   uint32_t memoryKind) {
    return LoadOwned(surface, data, size, memoryKind);
}

uint32_t ClassVScreen::CreateSurfaceRGBA(V2DSurfaceRGBA& surface, uint32_t width, uint32_t height,
                                         uint32_t flags) {
    if (!IsOpen()) return VSURF_NOTCREATED;
    surface.SetOwner(this);
    return surface.Create(width, height, bufferFormat_, flags);
}

uint32_t ClassVScreen::LoadSurfaceRGBA(V2DSurfaceRGBA& surface, const uint8_t* data, uint32_t size,
                                       uint32_t flags) {
    return LoadOwned(surface, data, size, flags);
}

uint32_t ClassVScreen::LoadOwned(V2DSurfaceFrame& surface, const uint8_t* data, uint32_t size,
                                 uint32_t flags) {
    if (!IsOpen()) return VSURF_NOTCREATED;
    surface.SetOwner(this);
    return surface.LoadImage(data, size, bufferFormat_, flags);
}

uint32_t ClassVScreen::LoadModel(V3DModel& model, const uint8_t* data, uint32_t size, int8_t scale,
                                 uint32_t flags) {
    model.SetOwner(modelServices_);
    return loaders_.LoadModel(&model, data, size, uint32_t(int32_t(scale)), flags);
}

bool ClassVScreen::CreateBuffers() {
    const uint32_t kind = config_.screen->bufferMemory & kBufferMemoryMask;
    // Where the screen was opened in a way that offers them, the buffer in the screen's format
    // is a platform surface beside the screen.
    const uint32_t screenKind = kind == VSURFACE_SYSTEM && platformBuffers_ ? VSURFACE_VIDEO : kind;
    if (bufferFormat_ == screenFormat_) {
        return backBuffer_.Create(logicalWidth_, logicalHeight_, screenFormat_, screenKind) == 0;
    }
    return secondBuffer_.Create(logicalWidth_, logicalHeight_, screenFormat_, screenKind) == 0 &&
           backBuffer_.Create(logicalWidth_, logicalHeight_, bufferFormat_, kind) == 0;
}

void ClassVScreen::FreeBuffers() {
    secondBuffer_.Free();
    backBuffer_.Free();
}

void ClassVScreen::Set3DDefaults() {
    for (VLight& light : lights_) light = VLight{};
    lights_[0].diffuse = 0xFFFFFF;
    renderFlags_ = kDefaultRenderFlags;
    texture_ = nullptr;
    MatrixIdentity(world_);
    projectionScale_ = logicalWidth_ < logicalHeight_ ? logicalWidth_ : logicalHeight_;
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
    orientation_ = uint8_t(wanted);
    if (platformScreen_ == nullptr || !platformScreen_->IsOpen()) return true;
    // The picture is turned by the difference between the wanted orientation and the one the
    // screen already has.
    ApplyLayout(uint8_t((wanted - nativeOrientation_ + 4) % 4));
    const bool native = config_.screen != nullptr && config_.screen->nativeLayout != 0;
    nativeLayout_ = native ? 1 : 0;
    clip_ = VRect{0, 0, int32_t(logicalWidth_), int32_t(logicalHeight_)};

    if (!backBuffer_.IsCreated()) {  // during the open
        VSurfaceServices::SetOrientation(LayoutOrientation(native));
        return true;
    }
    FreeBuffers();
    // The display's own buffers are made again at the new size; every other surface turns.
    V2DSurfaceBase* const own[] = {&secondBuffer_, &backBuffer_};
    VSurfaceServices::SetOrientation(LayoutOrientation(native), own, 2);
    if (!CreateBuffers()) return false;
    projectionScale_ = logicalWidth_ < logicalHeight_ ? logicalWidth_ : logicalHeight_;
    if (config_.displayChanged != nullptr) config_.displayChanged(config_.context, *this);
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

VOrientation ClassVScreen::LayoutOrientation(bool native) const {
    VOrientation o;
    if (!native) return o;
    const int32_t ax = logicalXStep_ < 0 ? -logicalXStep_ : logicalXStep_;
    const int32_t ay = logicalYStep_ < 0 ? -logicalYStep_ : logicalYStep_;
    o.swapped = ax > ay ? 1 : 0;
    if (logicalXStep_ < 0) (o.swapped ? o.ydirection : o.xdirection) = -1;
    if (logicalYStep_ < 0) (o.swapped ? o.xdirection : o.ydirection) = -1;
    return o;
}

void ClassVScreen::Present() {
    if (suspended_ || !IsOpen()) return;
    V2DSurface& source = ScreenBuffer();
    if (!source.IsCreated() || source.pixelformat != screenFormat_) return;
    if (HasSecondBuffer()) secondBuffer_.Blit(0, 0, &backBuffer_, nullptr, 0, 0);

    VScreenLock lock;
    if (!platformScreen_->Lock(&lock)) return;
    // A screen whose layout changed since the open would be written with the wrong steps.
    const uint32_t bytesPerPixel = bitsPerPixel_ / 8;
    if (lock.bytesPerPixel != bytesPerPixel || lock.pitch != screenYStep_) {
        platformScreen_->Unlock();
        return;
    }
    intptr_t offset = originOffset_;
    VPlatformRect client;
    if (!fullScreen_ && instance_->layer->GetClientArea(instance_, &client)) {
        int32_t x = client.left, y = client.top;
        if (setup_->dialog != 0) {
            x += config_.screen->dialogX;
            y += config_.screen->dialogY;
        }
        offset += intptr_t(y) * lock.pitch + intptr_t(x) * int32_t(bytesPerPixel);
    }
    if (config_.app->flags & kFlagWaitVerticalBlank) platformScreen_->WaitVerticalBlank();

    SurfaceLayout from;
    uint8_t* pixels = source.Lock(&from);
    if (pixels != nullptr) {
        const VPixelWalk sourceWalk{pixels + from.origin, from.xstep, from.ystep};
        const VPixelWalk targetWalk{lock.address + offset, logicalXStep_, logicalYStep_};
        TurningCopy(sourceWalk, targetWalk, logicalWidth_, logicalHeight_, bytesPerPixel);
        source.Unlock();
    }
    // An 8-bit screen shows indices through the display palette, which may have changed
    // since the last present.
    if (screenFormat_ == VPIXELFORMAT_8) {
        platformScreen_->SetPalette(Palette().Entries());
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
