// V2DSurface primitives: single pixels, rectangle fills and lines.
#include <algorithm>
#include <cstdlib>

#include "fileio/memory.h"
#include "graphics2d/blit_loops.h"
#include "graphics2d/pixel_run.h"
#include "graphics2d/surface.h"

namespace {

// Solid rows: one run when the rectangle covers whole rows, else one run per row.
template <class T>
void SolidFill(uint8_t* dst, uint32_t width, uint32_t height, uint32_t pitch, uint32_t pixel) {
    if (width == pitch) {
        StorePixelRun<T>(dst, size_t(width) * height, pixel);
        return;
    }
    for (uint32_t j = 0; j < height; ++j)
        StorePixelRun<T>(dst + size_t(j) * pitch * T::kBytes, width, pixel);
}

template <class T, uint32_t F>
void Blend(uint8_t* dst, uint32_t width, uint32_t height, uint32_t pitch, const VFillParams& p) {
    FillRows<T>(width, height, dst, int32_t(pitch * T::kBytes), VFixedEffect<F>{}, p);
}

}  // namespace

void V2DSurface::FillRect(const VRect* r, uint32_t colour, uint32_t flags, uint32_t property) {
    if (!IsCreated()) return;
    const VRect physical =
        r != nullptr ? LogicalToPhysical(Orientation(), physwidth, physheight, *r) : clip;
    const VRect cut = CutToClip(physical);
    if (cut.right <= cut.left || cut.bottom <= cut.top) return;
    PreparedFill fill;
    if (!PrepareFill(colour, flags, property, &fill)) return;
    if (Lock() == nullptr) return;
    FillPreparedRect(cut, fill);
    Unlock();
}

VRect V2DSurface::CutToClip(const VRect& physical) const {
    return VRect{std::max(physical.left, clip.left), std::max(physical.top, clip.top),
                 std::min(physical.right, clip.right), std::min(physical.bottom, clip.bottom)};
}

bool V2DSurface::PrepareFill(uint32_t colour, uint32_t flags, uint32_t property,
                             PreparedFill* fill) const {
    VEffect e;
    uint32_t c = colour;
    if (!NormaliseColourEffect(flags, property, pixelformat, &c, &e)) return false;
    WithFormat(pixelformat, [&]<class T>() {
        uint32_t f = e.flags & (BLIT_OPACITY | BLIT_ADD | BLIT_SUBTRACT);
        fill->params = VFillParams{};
        if constexpr (T::kIndexed) {
            f &= ~BLIT_OPACITY;  // an opacity fill of palette indices is a solid fill
        } else if (f & BLIT_OPACITY) {
            c = ScaleChannels(c, e.opacity);
            fill->params.opacity = e.opacity;
            const uint32_t kind = ShiftEffectFor(e.opacity, &fill->params.shift);
            if (kind != 0) f = kind;
        }
        fill->kind = f;
        fill->params.pixel = ColorToPixelOf<T>(c);
    });
    return true;
}

void V2DSurface::FillPreparedRect(const VRect& physical, const PreparedFill& fill) {
    const VRect r = CutToClip(physical);
    if (r.right <= r.left || r.bottom <= r.top) return;
    uint8_t* dst = PixelAddress(r.left, r.top);
    const uint32_t width = uint32_t(r.right - r.left), height = uint32_t(r.bottom - r.top);
    WithFormat(pixelformat, [&]<class T>() {
        const VFillParams& p = fill.params;
        switch (fill.kind) {
            case 0:
                SolidFill<T>(dst, width, height, pitch, p.pixel);
                break;
            case BLIT_ADD:
                Blend<T, BLIT_ADD>(dst, width, height, pitch, p);
                break;
            case BLIT_SUBTRACT:
                Blend<T, BLIT_SUBTRACT>(dst, width, height, pitch, p);
                break;
            case BLIT_OPACITY:
                Blend<T, BLIT_OPACITY>(dst, width, height, pitch, p);
                break;
            case BLIT_SHIFT_SOURCE:
                Blend<T, BLIT_SHIFT_SOURCE>(dst, width, height, pitch, p);
                break;
            case BLIT_SHIFT_DEST:
                Blend<T, BLIT_SHIFT_DEST>(dst, width, height, pitch, p);
                break;
            default:
                break;
        }
    });
}

void V2DSurface::PutPixel(int32_t x, int32_t y, uint32_t colour, uint32_t flags,
                          uint32_t property) {
    if (!IsCreated()) return;
    VEffect e;
    uint32_t c = colour;
    if (!NormaliseColourEffect(flags, property, pixelformat, &c, &e)) return;
    if (Lock() == nullptr) return;
    PlotLogical(Orientation(), x, y, c, e);
    Unlock();
}

void V2DSurface::PlotLogical(const VOrientation& o, int32_t x, int32_t y, uint32_t colour,
                             const VEffect& e) {
    LogicalToPhysical(o, physwidth, physheight, &x, &y);
    if (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) return;
    uint8_t* d = PixelAddress(x, y);
    WithFormat(pixelformat, [&]<class T>() {
        T::Store(d, ColourPixel<T>(T::Load(d), colour, e.flags, e.opacity));
    });
}

uint32_t V2DSurface::GetPixel(int32_t x, int32_t y) {
    if (!IsCreated() || x < 0 || y < 0 || uint32_t(x) >= GetWidth() || uint32_t(y) >= GetHeight())
        return 0;
    LogicalToPhysical(Orientation(), physwidth, physheight, &x, &y);
    if (Lock() == nullptr) return 0;
    uint32_t colour = 0;
    WithFormat(pixelformat,
               [&]<class T>() { colour = PixelToColorOf<T>(T::Load(PixelAddress(x, y))); });
    Unlock();
    return colour;
}

void V2DSurface::DrawHLine(int32_t x, int32_t y, int32_t length, uint32_t colour, uint32_t flags,
                           uint32_t property) {
    int64_t start = x, count = length;
    if (start < 0) {
        count += start;
        start = 0;
    }
    if (count <= 0) return;
    const VRect r{int32_t(start), y, int32_t(std::min<int64_t>(start + count, INT32_MAX)),
                  int32_t(std::min<int64_t>(int64_t(y) + 1, INT32_MAX))};
    FillRect(&r, colour, flags, property);
}

void V2DSurface::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                          uint32_t flags, uint32_t property) {
    if (!IsCreated()) return;
    if (y1 == y2) {
        const int64_t length = std::abs(int64_t(x2) - x1) + 1;
        DrawHLine(std::min(x1, x2), y1, int32_t(std::min<int64_t>(length, INT32_MAX)), colour,
                  flags, property);
        return;
    }
    if (y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    // The colour effect is made ready once and the surface locked once for the whole line.
    VEffect e;
    uint32_t c = colour;
    if (!NormaliseColourEffect(flags, property, pixelformat, &c, &e)) return;
    if (Lock() == nullptr) return;
    const VOrientation o = Orientation();
    const auto plot = [&](int32_t x, int32_t y) { PlotLogical(o, x, y, c, e); };
    // The error-accumulating walk puts step i at a closed form: along the long axis by i, along
    // the short one by floor(i * short / long). Only the steps inside the surface are visited,
    // which draws the same pixels without walking the invisible part of a long line.
    const int64_t dx = int64_t(x2) - x1;
    const int64_t sx = dx < 0 ? -1 : 1;
    const uint64_t adx = uint64_t(dx < 0 ? -dx : dx);
    const uint64_t dy = uint64_t(int64_t(y2) - y1);
    const int64_t width = GetWidth(), height = GetHeight();
    if (adx <= dy) {
        const int64_t first = std::max<int64_t>(0, -int64_t(y1));
        const int64_t last = std::min<int64_t>(int64_t(dy), height - 1 - y1);
        for (int64_t i = first; i <= last; ++i) {
            const int64_t x = x1 + sx * int64_t(uint64_t(i) * adx / dy);
            plot(SaturateCoordinate(x), int32_t(y1 + i));
        }
    } else {
        const int64_t first = std::max<int64_t>(0, sx > 0 ? -int64_t(x1) : x1 - (width - 1));
        const int64_t last = std::min<int64_t>(int64_t(adx), sx > 0 ? width - 1 - x1 : int64_t(x1));
        for (int64_t i = first; i <= last; ++i) {
            const int64_t y = y1 + int64_t(uint64_t(i) * dy / adx);
            plot(int32_t(x1 + sx * i), SaturateCoordinate(y));
        }
    }
    Unlock();
}
