// V2DSurface::Blit with an RGBA source: the alpha loops of the colour format, the effect rule
// with the pixel's alpha in place of the opacity, and the converting path for destinations of
// another format.
#include <algorithm>
#include <type_traits>

#include "graphics2d/blit_clip.h"
#include "graphics2d/display_palette.h"
#include "graphics2d/surface.h"
#include "graphics2d/surface_rgba.h"
#include "graphics2d/surface_rgba_kernels.h"
#include "graphics2d/surface_rgba_rules.h"

namespace {

struct RGBARowsView {
    uint8_t* dst;
    const uint32_t* src;
    int32_t dstrowbytes;
    uint32_t srcpitch;  // words per source row
    uint32_t width, height;
};

// Same format, no effects: the alpha rule, through the vector kernels where the format has them,
// otherwise written so that the compiler can run several pixels at once (no branches, one load
// and one store per pixel).
template <class T, bool Premultiplied>
void AlphaRows(const RGBARowsView& v) {
    if constexpr (kRGBAKernelFormat<T>) {
        using Kernel = std::conditional_t<Premultiplied, rgbakernel::PremultipliedKernel,
                                          rgbakernel::AlphaKernel<0, false, false>>;
        KernelRows<T>(v.dst, v.dstrowbytes, v.src, v.srcpitch, v.width, v.height, Kernel{});
    } else {
        uint8_t* dst = v.dst;
        const uint32_t* src = v.src;
        for (uint32_t j = 0; j < v.height; ++j, dst += v.dstrowbytes, src += v.srcpitch) {
            if constexpr (T::kBytes == sizeof(typename T::Pixel)) {
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
}

// Same format with effects: the blit rule with the pixel's alpha (times the opacity) as the
// opacity, through the vector kernels where one keeps the alpha rule.
template <class T>
void AlphaEffectRows(const RGBARowsView& v, const VEffect& e, bool premultiplied) {
    if constexpr (kRGBAKernelFormat<T>) {
        if (EffectKernelRows<T>(v.dst, v.dstrowbytes, v.src, v.srcpitch, v.width, v.height, e,
                                premultiplied))
            return;
    }
    VBlitParams p;
    p.colour = e.colour;
    p.pixel = EffectPixelOf<T>(e.colour, e.flags);
    uint8_t* dst = v.dst;
    const uint32_t* src = v.src;
    for (uint32_t j = 0; j < v.height; ++j, dst += v.dstrowbytes, src += v.srcpitch) {
        for (uint32_t i = 0; i < v.width; ++i) {
            uint8_t* d = dst + i * T::kBytes;
            T::Store(d, RGBAEffectPixel<T>(T::Load(d), src[i], premultiplied, e, p));
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
    VBlitArea area;
    if (!ClipBlit(Orientation(), BlitExtent(), source->BlitExtent(), x, y, logical, &area))
        return 4;

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
        const uint32_t* displaypalette = nullptr;
        const uint8_t* inverse = nullptr;
        if (!ConversionTables(&displaypalette, &inverse)) {
            result = 2;
        } else {
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
