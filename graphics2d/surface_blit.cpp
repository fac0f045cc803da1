// V2DSurface::Blit: clipping, the choice between fast loops, the general rule and the
// converting copies.
#include <algorithm>

#include "fileio/memory.h"
#include "graphics2d/blit_clip.h"
#include "graphics2d/blit_loops.h"
#include "graphics2d/blitter_table.h"
#include "graphics2d/display_palette.h"
#include "graphics2d/surface.h"

namespace {

// Rows of pixels to read and write.
struct BlitRowsView {
    uint8_t* dst;
    const uint8_t* src;
    int32_t dstrowbytes;
    int32_t srcrowbytes;
    uint32_t width, height;
};

// Same format with effects: the blitter table when it serves this format, else the rule.
template <class T>
void BlitSameFormat(const BlitRowsView& v, const VEffect& e, uint32_t key,
                    const VBlitterTable* table) {
    uint32_t shifted = 0;
    const VBlitParams p = BlitParamsFor<T>(e, key, &shifted);
    const uint32_t flags = e.flags;
    if (table != nullptr && table->format == T::kCode) {
        for (uint32_t f : {shifted, flags}) {
            const VBlitLoop loop = table->Find(f);
            if (loop != nullptr && loop(v.width, v.height, v.dst, v.src, v.dstrowbytes,
                                        v.srcrowbytes, p.key, p.pixel, p.opacity))
                return;
            if (f == flags) break;
        }
    }
    BlitGeneral<T>(v.width, v.height, v.dst, v.src, v.dstrowbytes, v.srcrowbytes, flags, p);
}

// Colour value of a source pixel (palette indices through the display palette).
template <class S>
uint32_t SourceColour(uint32_t pixel, const uint32_t* displaypalette) {
    if constexpr (S::kIndexed) {
        return displaypalette[pixel & 0xFF] & 0xFFFFFF;
    } else {
        return PixelToColorOf<S>(pixel);
    }
}

// Pixel value of a colour in the destination (palette indices through the inverse table).
template <class D>
uint32_t DestinationPixel(uint32_t colour, const uint8_t* inverse) {
    if constexpr (D::kIndexed) {
        return inverse[VDisplayPalette::InverseIndexOf(colour)];
    } else {
        return ColorToPixelOf<D>(colour);
    }
}

// Different formats, no effects.
template <class S, class D>
void ConvertingCopy(const BlitRowsView& v, const uint32_t* displaypalette, const uint8_t* inverse) {
    uint8_t* dst = v.dst;
    const uint8_t* src = v.src;
    for (uint32_t j = 0; j < v.height; ++j, dst += v.dstrowbytes, src += v.srcrowbytes) {
        for (uint32_t i = 0; i < v.width; ++i) {
            const uint32_t c = SourceColour<S>(S::Load(src + i * S::kBytes), displaypalette);
            D::Store(dst + i * D::kBytes, DestinationPixel<D>(c, inverse));
        }
    }
}

// Different formats with effects: each source pixel as a colour through the colour flags and
// the single-pixel rule.
template <class S, class D>
void ConvertingEffects(const BlitRowsView& v, const VEffect& e, uint32_t key,
                       const uint32_t* displaypalette, const uint8_t* inverse) {
    uint32_t flags = e.flags;
    const bool scaled = (flags & BLIT_OPACITY) && (flags & (BLIT_ADD | BLIT_SUBTRACT));
    if (scaled) flags &= ~BLIT_OPACITY;
    uint8_t* dst = v.dst;
    const uint8_t* src = v.src;
    for (uint32_t j = 0; j < v.height; ++j, dst += v.dstrowbytes, src += v.srcrowbytes) {
        for (uint32_t i = 0; i < v.width; ++i) {
            const uint32_t sp = S::Load(src + i * S::kBytes);
            if ((flags & BLIT_KEY) && sp == key) continue;
            uint32_t c = SourceColour<S>(sp, displaypalette);
            switch (flags & kBlitColourFlags) {
                case BLIT_TINT:
                    c = ScaleChannels(e.colour, MaxChannel(c));
                    break;
                case BLIT_FILL:
                    c = e.colour;
                    break;
                case BLIT_MIX:
                    c = HalveChannels(c) + HalveChannels(e.colour);
                    break;
                default:
                    break;
            }
            if (scaled) c = ScaleChannels(c, e.opacity);
            uint8_t* d = dst + i * D::kBytes;
            if constexpr (D::kIndexed) {
                const uint32_t dc = displaypalette[*d] & 0xFFFFFF;
                D::Store(d, DestinationPixel<D>(ColourRule(dc, c, flags, e.opacity), inverse));
            } else {
                D::Store(d, ColourPixel<D>(D::Load(d), c, flags, e.opacity));
            }
        }
    }
}

}  // namespace

bool V2DSurface::ConversionTables(const uint32_t** displaypalette, const uint8_t** inverse) {
    *displaypalette = owner->Palette().Entries();
    *inverse = pixelformat == VPIXELFORMAT_8 ? owner->Palette().InverseTable() : nullptr;
    return pixelformat != VPIXELFORMAT_8 || *inverse != nullptr;
}

uint32_t V2DSurface::Blit(int32_t x, int32_t y, V2DSurface* source, const VRect* sourcerect,
                          uint32_t flags, uint32_t property) {
    if (source == nullptr || !IsCreated() || !source->IsCreated()) return VSURF_NOTCREATED;
    VEffect e;
    if (NormaliseBlitEffect(flags, property, pixelformat, &e) != VSURF_OK)
        return VSURF_NOTHINGTODRAW;
    const VRect whole{0, 0, int32_t(source->GetWidth()), int32_t(source->GetHeight())};
    const VRect logical = sourcerect != nullptr ? *sourcerect : whole;
    if ((e.flags & (BLIT_KEY | kBlitColourFlags)) == BLIT_FILL) {
        const int64_t w = int64_t(logical.right) - logical.left;
        const int64_t h = int64_t(logical.bottom) - logical.top;
        const VRect r{x, y, int32_t(std::clamp<int64_t>(x + w, INT32_MIN, INT32_MAX)),
                      int32_t(std::clamp<int64_t>(y + h, INT32_MIN, INT32_MAX))};
        FillRect(&r, e.colour, e.flags, property);
        return VSURF_OK;
    }
    VBlitArea area;
    if (!ClipBlit(Orientation(), BlitExtent(), source->BlitExtent(), x, y, logical, &area))
        return VSURF_NOTVISIBLE;

    uint8_t* dstmem = Lock();
    if (dstmem == nullptr) return VSURF_LOCKFAILED;
    uint8_t* srcmem = source->Lock();
    if (srcmem == nullptr) {
        Unlock();
        return VSURF_LOCKFAILED;
    }
    const uint32_t srcbytes = source->BytesPerPixel();
    BlitRowsView v;
    v.width = area.Width();
    v.height = area.Height();
    v.dst = PixelAddress(int32_t(area.x), int32_t(area.y));
    v.dstrowbytes = int32_t(pitch * BytesPerPixel());
    v.src = source->PixelAddress(area.source.left, area.source.top);
    v.srcrowbytes = int32_t(source->pitch * srcbytes);

    // A blit of a surface onto an overlapping part of itself reads a copy of the source.
    uint8_t* copy = nullptr;
    uint32_t result = VSURF_OK;
    if (source == this && area.x < area.source.right && area.source.left < area.x + v.width &&
        area.y < area.source.bottom && area.source.top < area.y + v.height) {
        const uint32_t rowbytes = v.width * srcbytes;
        copy = static_cast<uint8_t*>(MemAlloc(size_t(rowbytes) * v.height));
        if (copy == nullptr) {
            result = VSURF_OUTOFMEMORY;
        } else {
            for (uint32_t j = 0; j < v.height; ++j)
                MemCopy(copy + size_t(j) * rowbytes, v.src + int64_t(j) * v.srcrowbytes, rowbytes,
                        false);
            v.src = copy;
            v.srcrowbytes = int32_t(rowbytes);
        }
    }

    if (result == VSURF_OK && source->pixelformat == pixelformat) {
        if ((e.flags & kBlitEffectMask) == 0) {
            const size_t rowbytes = size_t(v.width) * srcbytes;
            if (copy == nullptr && v.width == pitch && v.width == source->pitch) {
                MemCopy(v.dst, v.src, rowbytes * v.height, false);
            } else {
                for (uint32_t j = 0; j < v.height; ++j)
                    MemCopy(v.dst + int64_t(j) * v.dstrowbytes, v.src + int64_t(j) * v.srcrowbytes,
                            rowbytes, false);
            }
        } else {
            const VBlitterTable* table = owner->BlitterTable();
            WithFormat(pixelformat,
                       [&]<class T>() { BlitSameFormat<T>(v, e, source->colorkey, table); });
        }
    } else if (result == VSURF_OK) {
        const uint32_t* displaypalette = nullptr;
        const uint8_t* inverse = nullptr;
        if (!ConversionTables(&displaypalette, &inverse)) {
            result = VSURF_OUTOFMEMORY;
        } else {
            const uint32_t key = source->colorkey;
            WithFormat(source->pixelformat, [&]<class S>() {
                WithFormat(pixelformat, [&]<class D>() {
                    if ((e.flags & kBlitEffectMask) == 0)
                        ConvertingCopy<S, D>(v, displaypalette, inverse);
                    else
                        ConvertingEffects<S, D>(v, e, key, displaypalette, inverse);
                });
            });
        }
    }
    MemFree(copy);
    source->Unlock();
    Unlock();
    return result;
}
