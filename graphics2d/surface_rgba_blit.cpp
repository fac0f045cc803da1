// V2DSurface::Blit with an RGBA source: the alpha loops of the colour format, the effect rule
// with the pixel's alpha in place of the opacity, and the converting path for destinations of
// another format.
#include <algorithm>

#include "graphics2d/display_palette.h"
#include "graphics2d/surface.h"
#include "graphics2d/surface_rgba.h"
#include "graphics2d/surface_rgba_kernels.h"
#include "graphics2d/surface_rgba_rules.h"

namespace {

// The clipped destination point and source rectangle, in physical coordinates.
struct RGBABlitArea {
    int64_t x = 0, y = 0;
    VRect source;
    uint32_t Width() const { return uint32_t(source.right - source.left); }
    uint32_t Height() const { return uint32_t(source.bottom - source.top); }
};

// The shared blit clip over the physical sizes of both surfaces; false when nothing is visible.
bool ClipRGBABlit(const VOrientation& o, const V2DSurface& dst, const V2DSurfaceRGBA& src,
                  int32_t x, int32_t y, const VRect& logical, RGBABlitArea* area) {
    const VRect s = LogicalToPhysical(o, src.physwidth, src.physheight, logical);
    int64_t left = s.left, top = s.top, right = s.right, bottom = s.bottom;
    int32_t px = x, py = y;
    LogicalToPhysical(o, dst.physwidth, dst.physheight, &px, &py);
    int64_t dx = px, dy = py;
    if (o.xdirection < 0) dx -= right - left - 1;
    if (o.ydirection < 0) dy -= bottom - top - 1;
    const VRect& c = dst.clip;
    if (dx >= c.right || dy >= c.bottom) return false;
    if (right <= left || bottom <= top) return false;
    if (right <= 0 || bottom <= 0 || left >= int64_t(src.physwidth) ||
        top >= int64_t(src.physheight))
        return false;
    if (left < 0) dx -= left, left = 0;
    if (top < 0) dy -= top, top = 0;
    if (dx < c.left) left += c.left - dx, dx = c.left;
    if (dy < c.top) top += c.top - dy, dy = c.top;
    right = std::min<int64_t>(right, src.physwidth);
    bottom = std::min<int64_t>(bottom, src.physheight);
    right = std::min<int64_t>(right, left + (c.right - dx));
    bottom = std::min<int64_t>(bottom, top + (c.bottom - dy));
    if (right <= left || bottom <= top) return false;
    area->x = dx;
    area->y = dy;
    area->source = VRect{int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
    return true;
}

struct RGBARowsView {
    uint8_t* dst;
    const uint32_t* src;
    int32_t dstrowbytes;
    uint32_t srcpitch;  // words per source row
    uint32_t width, height;
};

// Same format, no effects: the alpha rule, written so that the compiler can run several pixels
// at once (no branches, one load and one store per pixel).
template <class T, bool Premultiplied>
void AlphaRows(const RGBARowsView& v) {
    uint8_t* dst = v.dst;
    const uint32_t* src = v.src;
    for (uint32_t j = 0; j < v.height; ++j, dst += v.dstrowbytes, src += v.srcpitch) {
        if constexpr (T::kBytes == 4 && AlphaBitsOf<T>() == 8) {
            AlphaRowBytes32<Premultiplied>(reinterpret_cast<uint32_t*>(dst), src, v.width);
        } else if constexpr (T::kBytes == sizeof(typename T::Pixel)) {
            // Rows of 16- and 32-bit pixels are aligned to their size.
            auto* d = reinterpret_cast<typename T::Pixel*>(dst);
            for (uint32_t i = 0; i < v.width; ++i)
                d[i] = typename T::Pixel(RGBAPixel<T, Premultiplied>(d[i], src[i]));
        } else {
            for (uint32_t i = 0; i < v.width; ++i) {
                uint8_t* d = dst + i * T::kBytes;
                T::Store(d, RGBAPixel<T, Premultiplied>(T::Load(d), src[i]));
            }
        }
    }
}

// Same format with effects: the blit rule with the pixel's alpha (times the opacity) as the
// opacity; pixels left with alpha 0 are skipped.
template <class T>
void AlphaEffectRows(const RGBARowsView& v, const VEffect& e, bool premultiplied) {
    VBlitParams p;
    p.colour = e.colour;
    p.pixel = EffectPixelOf<T>(e.colour, e.flags);
    const uint32_t base = e.flags & ~(BLIT_KEY | BLIT_OPACITY);
    uint8_t* dst = v.dst;
    const uint32_t* src = v.src;
    for (uint32_t j = 0; j < v.height; ++j, dst += v.dstrowbytes, src += v.srcpitch) {
        for (uint32_t i = 0; i < v.width; ++i) {
            uint32_t s = src[i] & kRGBAColourMask, a = src[i] >> kRGBAAlphaShift;
            if (premultiplied) {
                const uint32_t c = ReadRGBA<T>(src[i], true);
                a = c >> kRGBAAlphaShift;
                s = ColorToPixelOf<T>(c & kRGBAColourMask);
            }
            if (e.flags & BLIT_OPACITY) a = (a * e.opacity) >> 8;
            if (a == 0) continue;
            p.opacity = a;
            const uint32_t flags = a >= 255 ? base : base | BLIT_OPACITY;
            uint8_t* d = dst + i * T::kBytes;
            T::Store(d, BlitPixel<T>(s, T::Load(d), VDynamicEffect{flags}, p));
        }
    }
}

// Different formats: each pixel read back as a colour with alpha and drawn with the single-pixel
// rule, opacity = alpha (times the blit's opacity).
template <class S, class D>
void AlphaConvertingRows(const RGBARowsView& v, const VEffect& e, bool premultiplied,
                         const uint32_t* displaypalette, const uint8_t* inverse) {
    const uint32_t flags = (e.flags & ~BLIT_KEY) | BLIT_OPACITY;
    const bool colourflags = (e.flags & kBlitColourFlags) != 0;
    uint8_t* dst = v.dst;
    const uint32_t* src = v.src;
    for (uint32_t j = 0; j < v.height; ++j, dst += v.dstrowbytes, src += v.srcpitch) {
        for (uint32_t i = 0; i < v.width; ++i) {
            const uint32_t c = ReadRGBA<S>(src[i], premultiplied);
            uint32_t a = c >> kRGBAAlphaShift;
            if (e.flags & BLIT_OPACITY) a = (a * e.opacity) >> 8;
            if (a == 0) continue;
            uint32_t colour = c & kRGBAColourMask;
            VEffect pe;
            const uint32_t property = colourflags ? a << 24 | e.colour : a;
            if (!NormaliseColourEffect(flags, property, D::kCode, &colour, &pe)) continue;
            uint8_t* d = dst + i * D::kBytes;
            if constexpr (D::kIndexed) {
                const uint32_t dc = displaypalette[*d] & kRGBAColourMask;
                const uint32_t out = ColourRule(dc, colour, pe.flags, pe.opacity);
                D::Store(d, inverse[VDisplayPalette::InverseIndexOf(out)]);
            } else {
                D::Store(d, ColourPixel<D>(D::Load(d), colour, pe.flags, pe.opacity));
            }
        }
    }
}

}  // namespace

uint32_t V2DSurface::Blit(int32_t x, int32_t y, V2DSurfaceRGBA* source, const VRect* sourcerect,
                          uint32_t flags, uint32_t property) {
    if (source == nullptr || !IsCreated() || !source->IsCreated()) return 1;
    // Opacity as for single colours: the whole property, 255 or more being opaque.
    const bool colourflags = (flags & kBlitColourFlags) != 0;
    VEffect e;
    if (NormaliseBlitEffect(flags & ~BLIT_KEY, colourflags ? property : std::min(property, 255u),
                            pixelformat, &e) != 0)
        return 10;
    const VRect whole{0, 0, int32_t(source->GetWidth()), int32_t(source->GetHeight())};
    const VRect logical = sourcerect != nullptr ? *sourcerect : whole;
    RGBABlitArea area;
    if (!ClipRGBABlit(Orientation(), *this, *source, x, y, logical, &area)) return 4;

    if (Lock() == nullptr) return 12;
    const uint32_t* srcmem = source->Lock();
    if (srcmem == nullptr) {
        Unlock();
        return 12;
    }
    RGBARowsView v;
    v.width = area.Width();
    v.height = area.Height();
    v.dst = PixelAddress(int32_t(area.x), int32_t(area.y));
    v.dstrowbytes = int32_t(pitch * BytesPerPixel());
    v.src = &source->WordAt(area.source.left, area.source.top);
    v.srcpitch = source->pitch;
    const bool premultiplied = source->IsPremultiplied();

    uint32_t result = 0;
    if (source->colourformat == pixelformat) {
        WithFormat(pixelformat, [&]<class T>() {
            if constexpr (!T::kIndexed) {
                if (e.flags != 0)
                    AlphaEffectRows<T>(v, e, premultiplied);
                else if (premultiplied)
                    AlphaRows<T, true>(v);
                else
                    AlphaRows<T, false>(v);
            }
        });
    } else {
        const uint32_t* displaypalette = owner->Palette().Entries();
        const uint8_t* inverse = nullptr;
        if (pixelformat == VPIXELFORMAT_8) {
            inverse = owner->Palette().InverseTable();
            if (inverse == nullptr) result = 2;
        }
        if (result == 0) {
            WithFormat(source->colourformat, [&]<class S>() {
                if constexpr (!S::kIndexed) {
                    WithFormat(pixelformat, [&]<class D>() {
                        AlphaConvertingRows<S, D>(v, e, premultiplied, displaypalette, inverse);
                    });
                }
            });
        }
    }
    source->Unlock();
    Unlock();
    return result;
}
