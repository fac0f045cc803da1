// The loader side of V2DSurface: creation from the image size, palette entries and pixels.
#include <initializer_list>

#include "fileio/memory.h"
#include "graphics2d/display_palette.h"
#include "graphics2d/dither.h"
#include "graphics2d/surface.h"

namespace {

constexpr uint32_t kOpaque = 0xFF000000;

bool IsOpaque(uint32_t colour) {
    return (colour & kOpaque) == kOpaque;
}

// The darkest grey that does not become pixel 0 (the transparent colour) in format: one step
// of its narrowest channel in each.
uint32_t DarkestVisibleBlack(uint8_t format) {
    const VFormatLayout f = FormatLayoutOf(format);
    int narrowest = 8;
    for (int bits : {f.redBits, f.greenBits, f.blueBits}) {
        if (bits != 0 && bits < narrowest) narrowest = bits;
    }
    return (1u << (8 - narrowest)) * 0x010101u;
}

}  // namespace

uint32_t V2DSurface::ImageInfo(const VLoaderState& state) {
    const uint32_t result = Create(state.width, state.height, state.defaultformat, state.flags);
    if (result == VSURF_OK) SetColorKey(0);
    return result;
}

uint32_t V2DSurface::ImagePalette(VLoaderState& state) {
    const uint32_t result = StorePaletteEntries(palette, state);
    if (result != VSURF_OK) return result;
    // The remap table follows the palette; it is rebuilt on next use.
    MemFree(remap);
    remap = nullptr;
    return VSURF_OK;
}

void V2DSurface::StoreColour(int32_t x, int32_t y, uint32_t pixel) {
    LogicalToPhysical(Orientation(), physwidth, physheight, &x, &y);
    if (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) return;
    WithFormat(pixelformat, [&]<class T>() { T::Store(PixelAddress(x, y), pixel); });
}

uint32_t V2DSurface::ImagePixels(VLoaderState& state) {
    if (!IsCreated()) return VSURF_NOTCREATED;
    if (state.width == 0) return VSURF_INVALID;
    if (!HoldLoaderLock(pixels)) return VSURF_NOTCREATED;
    const bool indexed = state.pixelkind == VLOADER_PIXELS_INDEX;
    const uint32_t count = indexed ? state.length : state.length / 4;
    const bool match = (state.flags & VLOADER_MATCHPALETTE) != 0;
    const uint8_t* inverse = nullptr;
    if (pixelformat == VPIXELFORMAT_8 && match) {
        if (indexed) {
            if (remap == nullptr) {
                remap = static_cast<uint8_t*>(MemAlloc(256));
                if (remap == nullptr) return VSURF_OUTOFMEMORY;
                owner->Palette().BuildRemap(palette, remap);
            }
        } else {
            inverse = owner->Palette().InverseTable();
            if (inverse == nullptr) return VSURF_NOTCREATED;
        }
    }
    const bool dither = (state.flags & VLOADER_DITHER) != 0;
    for (uint32_t i = 0; i < count; ++i, ++state.pixelcounter) {
        const int32_t x = int32_t(state.pixelcounter % state.width);
        const int32_t y = int32_t(state.pixelcounter / state.width);
        uint32_t colour, index = 0;
        if (indexed) {
            index = state.data[i];
            colour = palette[index];
        } else {
            std::memcpy(&colour, state.data + i * 4, 4);
            index = colour & 0xFF;
        }
        if (pixelformat == VPIXELFORMAT_8) {
            if (!IsOpaque(colour)) {
                index = 0;
            } else if (match) {
                index = indexed ? remap[index] : inverse[VDisplayPalette::InverseIndexOf(colour)];
            }
            StoreColour(x, y, index);
            continue;
        }
        if (!IsOpaque(colour)) {
            colour = 0;
        } else {
            colour &= 0xFFFFFF;
            if (state.keepblack && colour == 0) colour = DarkestVisibleBlack(pixelformat);
            if (dither) colour = DitherColour(pixelformat, colour, uint32_t(x), uint32_t(y));
        }
        StoreColour(x, y, ColorToPixel(pixelformat, colour));
    }
    return VSURF_OK;
}
