// VLoaderState: the record through which an image loader describes a picture to a surface.
// A loader keeps it on its own stack for one decode; the surface reads it and advances the
// palette index and the pixel counter.
#pragma once

#include <cstdint>

constexpr uint8_t VLOADER_PIXELS_COLOUR = 0;  // 32-bit colour values with alpha in bits 24-31
constexpr uint8_t VLOADER_PIXELS_INDEX = 1;   // one byte each, index into the surface's palette

// Loader flags in the creation flags of a load.
constexpr uint32_t VLOADER_DITHER = 0x10;        // ordered dithering into 4-, 5- and 6-bit channels
constexpr uint32_t VLOADER_PREMULTIPLY = 0x20;   // premultiplied storage (RGBA surfaces)
constexpr uint32_t VLOADER_MATCHPALETTE = 0x40;  // 8-bit surfaces: match colours to the display

struct VLoaderState {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t pixelkind = VLOADER_PIXELS_COLOUR;
    uint8_t keepblack = 0;  // 1 when the image carries transparency
    const uint8_t* data = nullptr;
    uint32_t length = 0;      // bytes at data
    uint32_t framelimit = 0;  // highest frame to decode (animated formats)
    uint8_t defaultformat = 0;
    uint32_t flags = 0;
    uint32_t paletteindex = 0;  // next palette entry ImagePalette writes
    uint32_t pixelcounter = 0;  // next pixel ImagePixels writes
};

// ImagePalette of every surface: copies the delivered entries into palette (256 colour values)
// from state.paletteindex on, cut at entry 255, and advances the index. Results: VSURF_OK,
// VSURF_NOTCREATED (no palette), VSURF_PALETTERANGE (the index already past the last entry).
uint32_t StorePaletteEntries(uint32_t* palette, VLoaderState& state);
