#include "platform/win32/win32_screen.h"

#include <algorithm>

#include "platform/win32/win32_platform.h"

namespace {

using DirectDrawCreateFunction = HRESULT(WINAPI*)(GUID*, LPDIRECTDRAW*, IUnknown*);

template <typename T>
void Release(T*& object) {
    if (object != nullptr) object->Release();
    object = nullptr;
}

}  // namespace

bool ScreenModeForPixelFormat(const DDPIXELFORMAT& format, VScreenMode* mode) {
    const uint32_t bits = format.dwRGBBitCount;
    mode->bitsPerPixel = bits;
    switch (bits) {
        case 8:
            mode->redBits = mode->greenBits = mode->blueBits = 0;
            break;
        case 16:
            mode->redBits = 5;
            mode->greenBits = format.dwGBitMask == 0x3E0 ? 5 : 6;
            mode->blueBits = 5;
            break;
        case 24:
        case 32:
            mode->redBits = mode->greenBits = mode->blueBits = 8;
            break;
        default:
            return false;
    }
    mode->xStep = int32_t((bits + 7) / 8);
    return true;
}

POINT DisplayPlacement(POINT clientCorner, uint32_t width, uint32_t height, uint32_t screenWidth,
                       uint32_t screenHeight) {
    const LONG maxX = screenWidth > width ? LONG(screenWidth - width) : 0;
    const LONG maxY = screenHeight > height ? LONG(screenHeight - height) : 0;
    return POINT{std::clamp<LONG>(clientCorner.x, 0, maxX),
                 std::clamp<LONG>(clientCorner.y, 0, maxY)};
}

VWin32Screen::VWin32Screen(VWin32Platform* platform, const wchar_t* library, const char* entry)
    : platform_(platform), libraryName_(library), entryName_(entry) {}

VWin32Screen::~VWin32Screen() {
    Close();
    if (library_ != nullptr) FreeLibrary(library_);
}

uint32_t VWin32Screen::Fail() {
    Close();
    return kScreenCallFailed;
}

uint32_t VWin32Screen::Open(uint32_t method, uintptr_t window, uint32_t bitsPerPixel,
                            uint32_t width, uint32_t height, bool fullScreen, bool) {
    Close();
    if (method != 1) return kScreenMethodUnsupported;
    if (library_ == nullptr) library_ = LoadLibraryW(libraryName_);
    if (library_ == nullptr) return kScreenLibraryMissing;
    // Through the one function type every other converts from without a warning.
    auto create = reinterpret_cast<DirectDrawCreateFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(library_, entryName_)));
    if (create == nullptr) return kScreenLibraryMissing;
    window_ = reinterpret_cast<HWND>(window);
    if (window_ == nullptr || width == 0 || height == 0) return kScreenCallFailed;
    if (FAILED(create(nullptr, &ddraw_, nullptr)) || ddraw_ == nullptr) {
        ddraw_ = nullptr;
        return Fail();
    }
    fullScreen_ = fullScreen;
    const DWORD level =
        fullScreen ? DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT : DDSCL_NORMAL;
    if (FAILED(ddraw_->SetCooperativeLevel(window_, level))) return Fail();
    DDCAPS driverCaps{}, emulationCaps{};
    driverCaps.dwSize = emulationCaps.dwSize = sizeof(DDCAPS);
    if (FAILED(ddraw_->GetCaps(&driverCaps, &emulationCaps))) return Fail();
    if (fullScreen) {
        if (FAILED(ddraw_->SetDisplayMode(width, height, bitsPerPixel))) return Fail();
        if (bitsPerPixel <= 8) {
            PALETTEENTRY zeros[256] = {};
            if (FAILED(ddraw_->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, zeros, &palette_,
                                             nullptr))) {
                return Fail();
            }
        }
    }

    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (FAILED(ddraw_->CreateSurface(&desc, &primary_, nullptr))) return Fail();
    if (palette_ != nullptr && FAILED(primary_->SetPalette(palette_))) return Fail();
    DDSURFACEDESC primaryDesc{};
    primaryDesc.dwSize = sizeof(primaryDesc);
    if (FAILED(primary_->GetSurfaceDesc(&primaryDesc))) return Fail();
    if (FAILED(ddraw_->CreateClipper(0, &clipper_, nullptr)) ||
        FAILED(clipper_->SetHWnd(0, window_)) || FAILED(primary_->SetClipper(clipper_))) {
        return Fail();
    }
    DDPIXELFORMAT format{};
    format.dwSize = sizeof(format);
    VScreenMode mode;
    if (FAILED(primary_->GetPixelFormat(&format)) || !ScreenModeForPixelFormat(format, &mode)) {
        return Fail();
    }
    mode.width = width;
    mode.height = height;
    mode.yStep = primaryDesc.lPitch;

    if (!fullScreen) {
        // The work surface covers the desktop (and at least the display), in the primary's
        // format, so that the framework's writes at the window's place stay inside it.
        workWidth_ = std::max<uint32_t>(primaryDesc.dwWidth, width);
        workHeight_ = std::max<uint32_t>(primaryDesc.dwHeight, height);
        DDSURFACEDESC workDesc{};
        workDesc.dwSize = sizeof(workDesc);
        workDesc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        workDesc.dwWidth = workWidth_;
        workDesc.dwHeight = workHeight_;
        workDesc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        if (FAILED(ddraw_->CreateSurface(&workDesc, &work_, nullptr))) return Fail();
        DDSURFACEDESC made{};
        made.dwSize = sizeof(made);
        if (FAILED(work_->GetSurfaceDesc(&made))) return Fail();
        mode.yStep = made.lPitch;
    }
    mode_ = mode;
    if (platform_ != nullptr) platform_->ScreenOpened(this);
    return kScreenOpened;
}

void VWin32Screen::Close() {
    if (platform_ != nullptr) platform_->ScreenClosed(this);
    if (locked_ != nullptr) locked_->Unlock(nullptr);
    locked_ = nullptr;
    if (ddraw_ != nullptr) {
        if (fullScreen_) ddraw_->RestoreDisplayMode();
        ddraw_->SetCooperativeLevel(window_, DDSCL_NORMAL);
    }
    Release(clipper_);
    Release(work_);
    Release(palette_);
    Release(primary_);
    Release(ddraw_);
    window_ = nullptr;
    fullScreen_ = false;
    workWidth_ = workHeight_ = 0;
    mode_ = VScreenMode{};
}

void VWin32Screen::RestoreSurfaces() {
    if (primary_ != nullptr && primary_->IsLost() == DDERR_SURFACELOST) primary_->Restore();
    if (work_ != nullptr && work_->IsLost() == DDERR_SURFACELOST) work_->Restore();
}

bool VWin32Screen::Lock(VScreenLock* lock) {
    IDirectDrawSurface* surface = fullScreen_ ? primary_ : work_;
    if (surface == nullptr || locked_ != nullptr || lock == nullptr) return false;
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    const HRESULT result = surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
    if (result == DDERR_SURFACELOST) {
        RestoreSurfaces();
        return false;
    }
    if (FAILED(result)) return false;
    locked_ = surface;
    lock->address = static_cast<uint8_t*>(desc.lpSurface);
    lock->pitch = desc.lPitch;
    lock->bytesPerPixel = uint32_t(mode_.xStep);
    return true;
}

void VWin32Screen::Unlock() {
    if (locked_ == nullptr) return;
    locked_->Unlock(nullptr);
    locked_ = nullptr;
    if (!fullScreen_) BlitToWindow();
}

POINT VWin32Screen::Placement(POINT clientCorner) const {
    return DisplayPlacement(clientCorner, mode_.width, mode_.height, workWidth_, workHeight_);
}

void VWin32Screen::BlitToWindow() {
    POINT corner{0, 0};
    if (!ClientToScreen(window_, &corner)) return;
    const POINT from = Placement(corner);
    RECT source{from.x, from.y, from.x + LONG(mode_.width), from.y + LONG(mode_.height)};
    RECT target{corner.x, corner.y, corner.x + LONG(mode_.width), corner.y + LONG(mode_.height)};
    if (primary_->Blt(&target, work_, &source, DDBLT_WAIT, nullptr) == DDERR_SURFACELOST) {
        RestoreSurfaces();
    }
}

void VWin32Screen::WaitVerticalBlank() {
    if (ddraw_ != nullptr) ddraw_->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
}

void VWin32Screen::SetPalette(const uint32_t* colours) {
    if (palette_ == nullptr) return;
    // Colour values keep red in bits 0-7, as a palette entry's first byte.
    PALETTEENTRY entries[256];
    for (uint32_t i = 0; i < 256; ++i) {
        entries[i].peRed = BYTE(colours[i] & 0xFF);
        entries[i].peGreen = BYTE((colours[i] >> 8) & 0xFF);
        entries[i].peBlue = BYTE((colours[i] >> 16) & 0xFF);
        entries[i].peFlags = 0;
    }
    palette_->SetEntries(0, 0, 256, entries);
}
