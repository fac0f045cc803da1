#include "graphics2d/surface.h"

#include <utility>

#include "fileio/memory.h"
#include "graphics2d/surface_registry.h"

namespace {

// Span buffers hold 16-bit positions, which bounds the size of a surface.
constexpr uint32_t kMaxSide = 32767;

constexpr uint32_t kMemoryKindMask = 0x0F;
constexpr uint32_t kFormatShift = 8;

}  // namespace

V2DSurface::~V2DSurface() {
    Free();
    // Buffers that outlive a failed creation or belong to an uncreated surface.
    MemFree(palette);
    palette = nullptr;
    MemFree(fontcharmap);
    fontcharmap = nullptr;
    FreeFontTable();
}

uint32_t V2DSurface::SpanRows() const {
    const bool swapped = Orientation().swapped != 0;
    return swapped && pitch > physheight ? pitch : physheight;
}

uint8_t* V2DSurface::PixelAddress(int32_t physx, int32_t physy) const {
    return pixels + (size_t(pitch) * uint32_t(physy) + uint32_t(physx)) * BytesPerPixel();
}

void V2DSurface::FreeFontTable() {
    MemFree(font);
    font = nullptr;
    MemFree(fontextra);
    fontextra = nullptr;
}

void V2DSurface::ClearClipArea() {
    if (clip.right <= clip.left || clip.bottom <= clip.top) return;
    const size_t bytes = BytesPerPixel();
    const size_t rowbytes = size_t(clip.right - clip.left) * bytes;
    for (int32_t y = clip.top; y < clip.bottom; ++y)
        MemFill8(PixelAddress(clip.left, y), 0, rowbytes);
}

uint32_t V2DSurface::Create(uint32_t width, uint32_t height, uint8_t defaultformat,
                            uint32_t flags) {
    if (owner == nullptr) return VSURF_INVALID;
    if ((flags & kMemoryKindMask) == VSURFACE_DEFAULT)
        flags |= owner->DefaultMemoryKind() & kMemoryKindMask;
    // With no kind configured, main memory is the one that always exists.
    if ((flags & kMemoryKindMask) == VSURFACE_DEFAULT) flags |= VSURFACE_SYSTEM;
    if ((flags & kMemoryKindMask) >= 4 || width == 0 || height == 0) return VSURF_INVALID;
    if (width > kMaxSide || height > kMaxSide) return VSURF_INVALID;
    const uint8_t wanted = (flags >> kFormatShift) & 0xFF;
    const uint8_t format = wanted != 0 ? wanted : defaultformat;
    const uint8_t bits = BitsPerPixelOf(format);
    if (bits == 0)
        return VSURF_BADFORMAT;  // refused before anything of an existing surface is touched

    if (IsCreated()) {
        if (flags == createflags && width == GetWidth() && height == GetHeight() &&
            format == pixelformat) {
            ClearClipArea();
            FreeFontTable();
            return VSURF_OK;
        }
        Free();
    }
    createflags = flags;

    if (palette == nullptr) {
        palette = static_cast<uint32_t*>(MemAlloc(256 * sizeof(uint32_t)));
        if (palette == nullptr) return VSURF_OUTOFMEMORY;
    }
    pixelformat = format;
    bitsperpixel = bits;
    const VOrientation o = Orientation();
    physwidth = o.swapped ? height : width;
    physheight = o.swapped ? width : height;
    pitch = (physwidth + 3) & ~3u;

    // No platform display service offers surfaces here: every kind is held in main memory.
    const uint8_t kind = VSURFACE_SYSTEM;
    pixels = static_cast<uint8_t*>(MemAlloc(size_t(BytesPerPixel()) * pitch * physheight));
    if (pixels == nullptr) return VSURF_OUTOFMEMORY;

    MemFill32(palette, 0, 256);
    clip = PhysicalClipRect(o, physwidth, physheight, nullptr);
    fontfirst = 32;
    fontlast = 127;
    fontspacing = fontspacing2 = 0;
    fontperrow = 128;
    fontrows = 1;
    FreeFontTable();
    const uint32_t rows = SpanRows();
    spanleft = static_cast<int16_t*>(MemAlloc(rows * sizeof(int16_t)));
    spanright = static_cast<int16_t*>(MemAlloc(rows * sizeof(int16_t)));
    spanleftvalues = static_cast<uint32_t*>(MemAlloc(size_t(rows) * 16));
    spanrightvalues = static_cast<uint32_t*>(MemAlloc(size_t(rows) * 16));
    state = kind;
    if (!spanleft || !spanright || !spanleftvalues || !spanrightvalues) {
        Free();
        return VSURF_OUTOFMEMORY;
    }
    ClearClipArea();
    if (!owner->Registry().Add(this)) {
        Free();
        return VSURF_OUTOFMEMORY;
    }
    return VSURF_OK;
}

void V2DSurface::Free() {
    if (!IsCreated()) return;
    lockcount = 1;
    Unlock();
    loaderlock_ = false;
    texturehandle = -1;
    MemFree(pixels);
    pixels = nullptr;
    MemFree(fontcharmap);
    fontcharmap = nullptr;
    FreeFontTable();
    MemFree(spanleft);
    MemFree(spanright);
    MemFree(spanleftvalues);
    MemFree(spanrightvalues);
    spanleft = spanright = nullptr;
    spanleftvalues = spanrightvalues = nullptr;
    MemFree(remap);
    remap = nullptr;
    MemFree(palette);
    palette = nullptr;
    videosurface = nullptr;
    if (owner != nullptr) owner->Registry().Remove(this);
    state = 0;
    lockcount = 0;
}

void V2DSurface::SwapStorage(V2DSurface& other) {
    std::swap(pixels, other.pixels);
    std::swap(pitch, other.pitch);
    std::swap(physwidth, other.physwidth);
    std::swap(physheight, other.physheight);
    std::swap(spanleft, other.spanleft);
    std::swap(spanright, other.spanright);
    std::swap(spanleftvalues, other.spanleftvalues);
    std::swap(spanrightvalues, other.spanrightvalues);
}

void V2DSurface::ChangeOrientation(const VOrientation& previous) {
    if (!IsCreated()) return;
    const VOrientation now = Orientation();
    if (previous == now) return;
    const SurfaceLayout from =
        DescribeLayout(previous, physwidth, physheight, pitch, bitsperpixel, pixelformat);
    const VRect logicalclip = PhysicalToLogical(previous, physwidth, physheight, clip);

    V2DSurface turned;
    turned.owner = owner;
    const uint32_t flags = (createflags & ~(kMemoryKindMask | 0xFF00u)) | state |
                           uint32_t(pixelformat) << kFormatShift;
    uint8_t* src = Lock();
    if (src == nullptr || turned.Create(from.width, from.height, pixelformat, flags) != 0) {
        if (src != nullptr) Unlock();
        Free();
        return;
    }
    SurfaceLayout to;
    uint8_t* dst = turned.Lock(&to);
    const uint32_t bytes = BytesPerPixel();
    for (uint32_t y = 0; y < from.height; ++y) {
        const uint8_t* s = src + from.origin + int64_t(y) * from.ystep;
        uint8_t* d = dst + to.origin + int64_t(y) * to.ystep;
        for (uint32_t x = 0; x < from.width; ++x, s += from.xstep, d += to.xstep) {
            for (uint32_t b = 0; b < bytes; ++b) d[b] = s[b];
        }
    }
    turned.Unlock();
    Unlock();

    SwapStorage(turned);
    turned.Free();  // releases the old pixel memory and span buffers
    clip = LogicalToPhysical(now, physwidth, physheight, logicalclip);
}

SurfaceLayout V2DSurface::Layout() const {
    return DescribeLayout(Orientation(), physwidth, physheight, pitch, bitsperpixel, pixelformat);
}

uint8_t* V2DSurface::Lock(SurfaceLayout* info) {
    if (!IsCreated() || pixels == nullptr) return nullptr;
    ++lockcount;
    if (info != nullptr) *info = Layout();
    return pixels;
}

void V2DSurface::SetColorKey(uint32_t colour) {
    if (!IsCreated()) return;
    colorkey = ColorToPixel(pixelformat, colour);
}

uint32_t V2DSurface::GetColorKey() const {
    return PixelToColor(pixelformat, colorkey);
}
