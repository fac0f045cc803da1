// V2DSurface::BlitQuarterTurn: a pixel-exact copy turned by a multiple of a quarter turn and
// mirrored, with stepped source addressing.
#include <algorithm>

#include "fileio/memory.h"
#include "graphics2d/blit_loops.h"
#include "graphics2d/blitter_table.h"
#include "graphics2d/surface.h"
#include "graphics2d/transformed_blit.h"

namespace {

// One source coordinate as a function of the drawn area's column i and row j:
// base + di × i + dj × j, where exactly one of di and dj is +1 or -1.
struct AxisMap {
    int64_t base = 0, di = 0, dj = 0;
    int64_t At(int64_t i, int64_t j) const { return base + di * i + dj * j; }
    AxisMap Mirrored(int64_t size) const { return AxisMap{size - 1 - base, -di, -dj}; }
};

// Where the drawn area's pixel (i, j) reads the source rectangle of w × h pixels: turned by
// turn quarters after mirroring by flip.
void QuarterTurnMap(uint32_t turn, uint8_t flip, int64_t w, int64_t h, AxisMap* a, AxisMap* b) {
    switch (turn) {
        case 0:
            *a = {0, 1, 0}, *b = {0, 0, 1};
            break;
        case 1:
            *a = {0, 0, 1}, *b = {h - 1, -1, 0};
            break;
        case 2:
            *a = {w - 1, -1, 0}, *b = {h - 1, 0, -1};
            break;
        default:
            *a = {w - 1, 0, -1}, *b = {0, 1, 0};
            break;
    }
    if (flip & VFLIP_LEFTRIGHT) *a = a->Mirrored(w);
    if (flip & VFLIP_TOPBOTTOM) *b = b->Mirrored(h);
}

// Narrows the range [*i0, *i1) or [*j0, *j1), whichever the map reads, to the positions whose
// source coordinate lies in [lo, hi).
void LimitByAxis(const AxisMap& m, int64_t lo, int64_t hi, int64_t* i0, int64_t* i1, int64_t* j0,
                 int64_t* j1) {
    const int64_t d = m.di != 0 ? m.di : m.dj;
    int64_t from, to;
    if (d > 0) {
        from = lo - m.base, to = hi - m.base;
    } else {
        from = m.base - hi + 1, to = m.base - lo + 1;
    }
    int64_t* start = m.di != 0 ? i0 : j0;
    int64_t* end = m.di != 0 ? i1 : j1;
    *start = std::max(*start, from);
    *end = std::min(*end, to);
}

// The per-pixel rule over stepped source addresses, for effects no stepped copy covers.
template <class T, class E>
void SteppedBlit(uint32_t width, uint32_t height, uint8_t* dst, int32_t dstrowbytes,
                 const uint8_t* src, int32_t columnstep, int32_t rowstep, E e,
                 const VBlitParams& p) {
    for (uint32_t j = 0; j < height; ++j, dst += dstrowbytes, src += rowstep) {
        uint8_t* d = dst;
        const uint8_t* s = src;
        for (uint32_t i = 0; i < width; ++i, d += T::kBytes, s += columnstep)
            T::Store(d, BlitPixel<T>(T::Load(s), T::Load(d), e, p));
    }
}

struct SteppedView {
    uint32_t width = 0, height = 0;
    uint8_t* dst = nullptr;
    int32_t dstrowbytes = 0;
    const uint8_t* src = nullptr;
    int32_t columnstep = 0, rowstep = 0;
};

// Plain and key-only copies take the stepped copies (the blitter table's when it serves this
// format); every other effect runs the rule, opacities of 256 - 256/2^k and 256/2^k through
// the shift rule.
template <class T>
void QuarterTurnRows(const SteppedView& v, const VEffect& e, uint32_t key,
                     const VBlitterTable* table) {
    const bool own = table != nullptr && table->format == T::kCode;
    if (e.flags == 0 || e.flags == BLIT_KEY) {
        const bool keyed = e.flags == BLIT_KEY;
        const VSteppedCopy copy = own ? table->stepped[keyed ? 1 : 0]
                                      : (keyed ? &SteppedCopy<T, true> : &SteppedCopy<T, false>);
        if (copy != nullptr &&
            copy(v.width, v.height, v.dst, v.dstrowbytes, v.src, v.columnstep, v.rowstep, key))
            return;
    }
    uint32_t flags = 0;
    const VBlitParams p = BlitParamsFor<T>(e, key, &flags);
    SteppedBlit<T>(v.width, v.height, v.dst, v.dstrowbytes, v.src, v.columnstep, v.rowstep,
                   VDynamicEffect{flags}, p);
}

int32_t ClampToInt32(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

uint32_t V2DSurface::BlitQuarterTurn(int32_t x, int32_t y, V2DSurface* source,
                                     const VRect* sourcerect, uint32_t angle, uint8_t flip,
                                     uint32_t flags, uint32_t property) {
    if (source == nullptr || !IsCreated() || !source->IsCreated()) return VSURF_NOTCREATED;
    angle &= 0xFFFF;
    if ((angle & 1023) != 0) return VSURF_INVALID;
    const uint32_t turn = (angle & 4095) >> 10;
    VEffect e;
    if (NormaliseBlitEffect(flags, property, pixelformat, &e) != VSURF_OK)
        return VSURF_NOTHINGTODRAW;
    const VRect whole{0, 0, int32_t(source->GetWidth()), int32_t(source->GetHeight())};
    const VRect r = sourcerect != nullptr ? *sourcerect : whole;
    const int64_t w = int64_t(r.right) - r.left, h = int64_t(r.bottom) - r.top;
    if (w <= 0 || h <= 0) return VSURF_NOTVISIBLE;
    const int64_t turnedw = (turn & 1) ? h : w, turnedh = (turn & 1) ? w : h;
    if ((e.flags & (BLIT_KEY | kBlitColourFlags)) == BLIT_FILL) {
        const VRect area{x, y, ClampToInt32(x + turnedw), ClampToInt32(y + turnedh)};
        FillRect(&area, e.colour, e.flags, property);
        return VSURF_OK;
    }
    // Turned texels are copied as stored; a source in another format has no meaning here.
    if (source->pixelformat != pixelformat) return VSURF_FORMATSDIFFER;

    // The drawn area, cut to the pixels whose source lies inside the source surface and to
    // this surface; then, in physical coordinates, to the clip rectangle.
    AxisMap ma, mb;
    QuarterTurnMap(turn, flip, w, h, &ma, &mb);
    int64_t i0 = 0, i1 = turnedw, j0 = 0, j1 = turnedh;
    LimitByAxis(ma, -int64_t(r.left), int64_t(whole.right) - r.left, &i0, &i1, &j0, &j1);
    LimitByAxis(mb, -int64_t(r.top), int64_t(whole.bottom) - r.top, &i0, &i1, &j0, &j1);
    i0 = std::max<int64_t>(i0, -int64_t(x)), j0 = std::max<int64_t>(j0, -int64_t(y));
    i1 = std::min<int64_t>(i1, int64_t(GetWidth()) - x);
    j1 = std::min<int64_t>(j1, int64_t(GetHeight()) - y);
    if (i1 <= i0 || j1 <= j0) return VSURF_NOTVISIBLE;
    const VOrientation o = Orientation();
    const VRect logical{int32_t(x + i0), int32_t(y + j0), int32_t(x + i1), int32_t(y + j1)};
    const VRect p = LogicalToPhysical(o, physwidth, physheight, logical);
    const VRect area = IntersectRect(p, clip);
    if (area.right <= area.left || area.bottom <= area.top) return VSURF_NOTVISIBLE;

    uint8_t* dstmem = Lock();
    if (dstmem == nullptr) return VSURF_LOCKFAILED;
    const uint8_t* srcmem = source->Lock();
    if (srcmem == nullptr) {
        Unlock();
        return VSURF_LOCKFAILED;
    }
    // Byte offset in the source of the pixel that physical destination pixel (px, py) reads.
    const int64_t srcbytes = source->BytesPerPixel();
    auto sourceoffset = [&](int32_t px, int32_t py) {
        PhysicalToLogical(o, physwidth, physheight, &px, &py);
        const int64_t i = int64_t(px) - x, j = int64_t(py) - y;
        int32_t sx = int32_t(r.left + ma.At(i, j)), sy = int32_t(r.top + mb.At(i, j));
        LogicalToPhysical(o, source->physwidth, source->physheight, &sx, &sy);
        return (int64_t(sy) * source->pitch + sx) * srcbytes;
    };
    const int64_t origin = sourceoffset(area.left, area.top);
    uint32_t result = VSURF_OK;
    // Turning a surface onto itself reads from a copy of its pixels.
    uint8_t* copy = nullptr;
    if (source == this) {
        const size_t size = size_t(source->pitch) * source->physheight * size_t(srcbytes);
        copy = static_cast<uint8_t*>(MemAlloc(size));
        if (copy != nullptr)
            MemCopy(copy, srcmem, size, false);
        else
            result = VSURF_OUTOFMEMORY;
    }
    if (result == VSURF_OK) {
        SteppedView v;
        v.width = uint32_t(area.right - area.left);
        v.height = uint32_t(area.bottom - area.top);
        v.dst = PixelAddress(area.left, area.top);
        v.dstrowbytes = int32_t(pitch * BytesPerPixel());
        v.src = (copy != nullptr ? copy : srcmem) + origin;
        v.columnstep = int32_t(sourceoffset(area.left + 1, area.top) - origin);
        v.rowstep = int32_t(sourceoffset(area.left, area.top + 1) - origin);
        const VBlitterTable* table = owner->BlitterTable();
        const uint32_t key = source->colorkey;
        WithFormat(pixelformat, [&]<class T>() { QuarterTurnRows<T>(v, e, key, table); });
    }
    MemFree(copy);
    source->Unlock();
    Unlock();
    return result;
}
