#include "graphics2d/surface_rgba.h"

#include <cstring>

#include "fileio/memory.h"
#include "graphics2d/dither.h"
#include "graphics2d/surface_registry.h"
#include "graphics2d/surface_rgba_rules.h"

namespace {

constexpr uint32_t kMaxSide = 32767;
constexpr uint32_t kMemoryKindMask = 0x0F;
constexpr uint32_t kStorageMask = 0xF0;
constexpr uint32_t kFormatShift = 8;

bool IsDirectColour(uint8_t format) {
    return format >= VPIXELFORMAT_444 && format <= VPIXELFORMAT_X888;
}

// StoreRGBA for a colour format known at run time (a direct-colour format).
uint32_t StoreWord(uint8_t format, uint32_t colour, uint32_t alpha, bool premultiplied) {
    uint32_t word = 0;
    WithFormat(format, [&]<class T>() {
        if constexpr (!T::kIndexed) word = StoreRGBA<T>(colour, alpha, premultiplied);
    });
    return word;
}

}  // namespace

V2DSurfaceRGBA::~V2DSurfaceRGBA() {
    Free();
    MemFree(palette);
    palette = nullptr;
}

void V2DSurfaceRGBA::ClearPixels() {
    MemFill32(pixels, IsPremultiplied() ? 0xFFFFFFFFu : 0u, size_t(pitch) * physheight);
}

uint32_t V2DSurfaceRGBA::Create(uint32_t width, uint32_t height, uint8_t defaultformat,
                                uint32_t flags) {
    if (owner == nullptr) return VSURF_INVALID;
    if ((flags & kMemoryKindMask) >= 4 || width == 0 || height == 0) return VSURF_INVALID;
    if (width > kMaxSide || height > kMaxSide) return VSURF_INVALID;
    flags = (flags & ~kMemoryKindMask) | VSURFACE_SYSTEM;
    const uint8_t wanted = (flags >> kFormatShift) & 0xFF;
    const uint8_t format = wanted != 0 ? wanted : defaultformat;

    if (IsCreated()) {
        if (flags == createflags && width == GetWidth() && height == GetHeight() &&
            format == colourformat) {
            ClearPixels();
            return VSURF_OK;
        }
        Free();
    }
    if (!IsDirectColour(format)) return VSURF_BADFORMAT;
    if (palette == nullptr) {
        palette = static_cast<uint32_t*>(MemAlloc(256 * sizeof(uint32_t)));
        if (palette == nullptr) return VSURF_OUTOFMEMORY;
    }
    MemFill32(palette, 0, 256);
    const VOrientation o = Orientation();
    physwidth = o.swapped ? height : width;
    physheight = o.swapped ? width : height;
    pitch = (physwidth + 3) & ~3u;
    pixels = static_cast<uint32_t*>(MemAlloc(size_t(pitch) * physheight * 4));
    if (pixels == nullptr) return VSURF_OUTOFMEMORY;
    createflags = flags;
    colourformat = format;
    state = uint8_t(VSURFACE_SYSTEM | (flags & kStorageMask));
    clip = PhysicalClipRect(o, physwidth, physheight, nullptr);
    ClearPixels();
    if (!owner->Registry().Add(this)) {
        Free();
        return VSURF_OUTOFMEMORY;
    }
    return VSURF_OK;
}

void V2DSurfaceRGBA::Free() {
    if (!IsCreated()) return;
    loaderlock_ = false;
    MemFree(pixels);
    pixels = nullptr;
    MemFree(palette);
    palette = nullptr;
    if (owner != nullptr) owner->Registry().Remove(this);
    state = 0;
    lockcount = 0;
}

void V2DSurfaceRGBA::ChangeOrientation(const VOrientation& previous) {
    if (!IsCreated()) return;
    const VOrientation now = Orientation();
    if (previous == now) return;
    const SurfaceLayout from =
        DescribeLayout(previous, physwidth, physheight, pitch, 32, colourformat);
    const VRect logicalclip = PhysicalToLogical(previous, physwidth, physheight, clip);
    const uint32_t newwidth = now.swapped ? from.height : from.width;
    const uint32_t newheight = now.swapped ? from.width : from.height;
    const uint32_t newpitch = (newwidth + 3) & ~3u;
    uint32_t* turned = static_cast<uint32_t*>(MemAlloc(size_t(newpitch) * newheight * 4));
    if (turned == nullptr) {
        Free();
        return;
    }
    MemFill32(turned, IsPremultiplied() ? 0xFFFFFFFFu : 0u, size_t(newpitch) * newheight);
    const SurfaceLayout to = DescribeLayout(now, newwidth, newheight, newpitch, 32, colourformat);
    const uint8_t* src = reinterpret_cast<const uint8_t*>(pixels);
    uint8_t* dst = reinterpret_cast<uint8_t*>(turned);
    for (uint32_t y = 0; y < from.height; ++y) {
        const uint8_t* s = src + from.origin + int64_t(y) * from.ystep;
        uint8_t* d = dst + to.origin + int64_t(y) * to.ystep;
        for (uint32_t x = 0; x < from.width; ++x, s += from.xstep, d += to.xstep)
            std::memcpy(d, s, 4);
    }
    MemFree(pixels);
    pixels = turned;
    physwidth = newwidth;
    physheight = newheight;
    pitch = newpitch;
    clip = LogicalToPhysical(now, physwidth, physheight, logicalclip);
}

SurfaceLayout V2DSurfaceRGBA::Layout() const {
    return DescribeLayout(Orientation(), physwidth, physheight, pitch, 32, colourformat);
}

uint32_t* V2DSurfaceRGBA::Lock(SurfaceLayout* info) {
    if (!IsCreated() || pixels == nullptr) return nullptr;
    ++lockcount;
    if (info != nullptr) *info = Layout();
    return pixels;
}

uint32_t V2DSurfaceRGBA::ImageInfo(const VLoaderState& state) {
    return Create(state.width, state.height, state.defaultformat, state.flags);
}

uint32_t V2DSurfaceRGBA::ImagePalette(VLoaderState& state) {
    return StorePaletteEntries(palette, state);
}

uint32_t V2DSurfaceRGBA::ImagePixels(VLoaderState& state) {
    if (!IsCreated()) return VSURF_NOTCREATED;
    if (state.width == 0) return VSURF_INVALID;
    if (!HoldLoaderLock(pixels)) return VSURF_NOTCREATED;
    const bool indexed = state.pixelkind == VLOADER_PIXELS_INDEX;
    const uint32_t count = indexed ? state.length : state.length / 4;
    const bool dither = (state.flags & VLOADER_DITHER) != 0;
    const bool premultiplied = IsPremultiplied();
    const VOrientation o = Orientation();
    const uint32_t width = GetWidth(), height = GetHeight();
    for (uint32_t i = 0; i < count; ++i, ++state.pixelcounter) {
        const uint32_t x = state.pixelcounter % state.width;
        const uint32_t y = state.pixelcounter / state.width;
        if (x >= width || y >= height) continue;
        uint32_t colour;
        if (indexed) {
            colour = palette[state.data[i]];
        } else {
            std::memcpy(&colour, state.data + i * 4, 4);
        }
        if (dither) colour = DitherColour(colourformat, colour, x, y);
        int32_t px = int32_t(x), py = int32_t(y);
        LogicalToPhysical(o, physwidth, physheight, &px, &py);
        WordAt(px, py) = StoreWord(colourformat, colour, colour >> 24, premultiplied);
    }
    return VSURF_OK;
}

void V2DSurfaceRGBA::PutPixelAlpha(int32_t x, int32_t y, uint32_t colour, uint32_t alpha) {
    if (!IsCreated()) return;
    LogicalToPhysical(Orientation(), physwidth, physheight, &x, &y);
    if (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) return;
    WordAt(x, y) = StoreWord(colourformat, colour, alpha > 255 ? 255 : alpha, IsPremultiplied());
}

uint32_t V2DSurfaceRGBA::GetPixel(int32_t x, int32_t y) {
    if (!IsCreated() || x < 0 || y < 0 || uint32_t(x) >= GetWidth() || uint32_t(y) >= GetHeight())
        return 0;
    LogicalToPhysical(Orientation(), physwidth, physheight, &x, &y);
    uint32_t colour = 0;
    WithFormat(colourformat, [&]<class T>() {
        if constexpr (!T::kIndexed) colour = ReadRGBA<T>(WordAt(x, y), IsPremultiplied());
    });
    return colour;
}
