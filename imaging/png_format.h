// The pixel layout of a PNG image as its header describes it: colour type, bit depth and the
// sizes derived from them, and the Adam7 pass geometry.
#pragma once

#include <cstdint>

constexpr uint8_t PNG_GREY = 0;
constexpr uint8_t PNG_COLOUR = 2;
constexpr uint8_t PNG_PALETTE = 3;
constexpr uint8_t PNG_GREY_ALPHA = 4;
constexpr uint8_t PNG_COLOUR_ALPHA = 6;

struct PngFormat {
    uint8_t colourtype = 0;
    uint8_t bitdepth = 0;

    bool Indexed() const { return colourtype == PNG_PALETTE; }
    bool HasAlpha() const { return (colourtype & 4) != 0; }
    uint32_t Channels() const {
        switch (colourtype) {
            case PNG_COLOUR:
                return 3;
            case PNG_GREY_ALPHA:
                return 2;
            case PNG_COLOUR_ALPHA:
                return 4;
            default:
                return 1;
        }
    }
    uint32_t BitsPerPixel() const { return Channels() * bitdepth; }
    // Bytes per complete pixel, the distance the Sub, Average and Paeth filters look back.
    uint32_t FilterStep() const { return (BitsPerPixel() + 7) / 8; }
    // Bytes of one stored row of width pixels, without its filter type byte.
    uint64_t RowBytes(uint32_t width) const { return (uint64_t(width) * BitsPerPixel() + 7) / 8; }
    // Bytes per pixel delivered to the surface: an index, or a colour value.
    uint32_t OutputBytes() const { return Indexed() ? 1 : 4; }

    // The combinations of colour type and bit depth the PNG format allows.
    bool Legal() const {
        switch (colourtype) {
            case PNG_GREY:
                return bitdepth == 1 || bitdepth == 2 || bitdepth == 4 || bitdepth == 8 ||
                       bitdepth == 16;
            case PNG_PALETTE:
                return bitdepth == 1 || bitdepth == 2 || bitdepth == 4 || bitdepth == 8;
            case PNG_COLOUR:
            case PNG_GREY_ALPHA:
            case PNG_COLOUR_ALPHA:
                return bitdepth == 8 || bitdepth == 16;
            default:
                return false;
        }
    }
};

// One Adam7 pass: the first pixel it holds and the steps between its pixels.
struct Adam7Pass {
    uint32_t x0, y0, dx, dy;

    uint32_t Width(uint32_t width) const { return width > x0 ? (width - x0 + dx - 1) / dx : 0; }
    uint32_t Height(uint32_t height) const { return height > y0 ? (height - y0 + dy - 1) / dy : 0; }
};

constexpr Adam7Pass ADAM7_PASSES[7] = {
    {0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
    {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2},
};
