// Pixel formats: codes, sizes and the conversion between colour values and pixel values.
//
// A colour value is 32 bits with red in bits 0-7, green in 8-15 and blue in 16-23. A pixel
// value is the colour in a surface's own format. Each format has a traits type describing its
// channels; every per-pixel rule is written once over these traits.
#pragma once

#include <cstdint>
#include <cstring>

constexpr uint8_t VPIXELFORMAT_8 = 1;
constexpr uint8_t VPIXELFORMAT_444 = 2;
constexpr uint8_t VPIXELFORMAT_555 = 3;
constexpr uint8_t VPIXELFORMAT_565 = 4;
constexpr uint8_t VPIXELFORMAT_888 = 5;
constexpr uint8_t VPIXELFORMAT_X888 = 6;

// One colour channel inside a pixel value: its width in bits and the position of its lowest bit.
struct VChannel {
    int bits;
    int shift;
    constexpr uint32_t Max() const { return (1u << bits) - 1; }
    constexpr uint32_t Mask() const { return Max() << shift; }
};

// Traits of the direct-colour formats. Channels are given in the layout of the pixel value;
// kOpacityBits is the precision at which opacity factors are applied to packed pixels, and
// kAlphaBits the precision of the per-pixel alpha of RGBA surfaces in this colour format.
template <uint8_t Code, typename PixelT, int Bytes, VChannel R, VChannel G, VChannel B,
          int OpacityBits, int AlphaBits>
struct VDirectFormat {
    static constexpr uint8_t kCode = Code;
    static constexpr bool kIndexed = false;
    using Pixel = PixelT;
    static constexpr int kBytes = Bytes;
    static constexpr int kBits = 8 * Bytes;
    static constexpr VChannel kRed = R, kGreen = G, kBlue = B;
    static constexpr int kOpacityBits = OpacityBits;
    static constexpr int kAlphaBits = AlphaBits;

    static Pixel Load(const uint8_t* p) {
        if constexpr (Bytes == 3) {
            return Pixel(p[0] | p[1] << 8 | p[2] << 16);
        } else {
            Pixel v;
            std::memcpy(&v, p, sizeof v);
            return v;
        }
    }
    static void Store(uint8_t* p, uint32_t v) {
        if constexpr (Bytes == 3) {
            p[0] = uint8_t(v);
            p[1] = uint8_t(v >> 8);
            p[2] = uint8_t(v >> 16);
        } else {
            const Pixel w = Pixel(v);
            std::memcpy(p, &w, sizeof w);
        }
    }
};

// Palette indices: one byte, no channels; the low byte of a colour value is the index.
struct VFormat8 {
    static constexpr uint8_t kCode = VPIXELFORMAT_8;
    static constexpr bool kIndexed = true;
    using Pixel = uint8_t;
    static constexpr int kBytes = 1;
    static constexpr int kBits = 8;
    static Pixel Load(const uint8_t* p) { return *p; }
    static void Store(uint8_t* p, uint32_t v) { *p = uint8_t(v); }
};

// Opacity is applied at the precision of the narrowest channel (16 levels in 4-4-4, 32 in the
// 5-bit formats); alpha at that of the widest (green in 5-6-5).
using VFormat444 = VDirectFormat<VPIXELFORMAT_444, uint16_t, 2, VChannel{4, 8}, VChannel{4, 4},
                                 VChannel{4, 0}, 4, 4>;
using VFormat555 = VDirectFormat<VPIXELFORMAT_555, uint16_t, 2, VChannel{5, 10}, VChannel{5, 5},
                                 VChannel{5, 0}, 5, 5>;
using VFormat565 = VDirectFormat<VPIXELFORMAT_565, uint16_t, 2, VChannel{5, 11}, VChannel{6, 5},
                                 VChannel{5, 0}, 5, 6>;
using VFormat888 = VDirectFormat<VPIXELFORMAT_888, uint32_t, 3, VChannel{8, 16}, VChannel{8, 8},
                                 VChannel{8, 0}, 8, 8>;
using VFormatX888 = VDirectFormat<VPIXELFORMAT_X888, uint32_t, 4, VChannel{8, 16}, VChannel{8, 8},
                                  VChannel{8, 0}, 8, 8>;

// Colour value to pixel value: the top bits of each 8-bit channel.
template <class T>
constexpr uint32_t ColorToPixelOf(uint32_t c) {
    if constexpr (T::kIndexed) {
        return c & 0xFF;
    } else {
        const uint32_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
        return (r >> (8 - T::kRed.bits)) << T::kRed.shift |
               (g >> (8 - T::kGreen.bits)) << T::kGreen.shift |
               (b >> (8 - T::kBlue.bits)) << T::kBlue.shift;
    }
}

// Pixel value to colour value: each channel at the top of its byte, low bits zero.
template <class T>
constexpr uint32_t PixelToColorOf(uint32_t p) {
    if constexpr (T::kIndexed) {
        return p;
    } else {
        const uint32_t r = ((p >> T::kRed.shift) & T::kRed.Max()) << (8 - T::kRed.bits);
        const uint32_t g = ((p >> T::kGreen.shift) & T::kGreen.Max()) << (8 - T::kGreen.bits);
        const uint32_t b = ((p >> T::kBlue.shift) & T::kBlue.Max()) << (8 - T::kBlue.bits);
        return r | g << 8 | b << 16;
    }
}

// A channel value of the given width at the top of 8 bits with its top bits repeated below, as
// a screen shows it: 0 stays 0 and the largest value becomes 255.
constexpr uint32_t WidenChannel(uint32_t value, int bits) {
    uint32_t out = value << (8 - bits);
    for (int filled = bits; filled < 8; filled += bits) out |= out >> filled;
    return out & 0xFF;
}

// Pixel value to colour value with every channel widened so (palette indices pass unchanged),
// for pictures meant to be looked at or compared with a screen.
template <class T>
constexpr uint32_t PixelToShownColorOf(uint32_t p) {
    if constexpr (T::kIndexed) {
        return p;
    } else {
        auto channel = [p](VChannel ch) {
            return WidenChannel((p >> ch.shift) & ch.Max(), ch.bits);
        };
        return channel(T::kRed) | channel(T::kGreen) << 8 | channel(T::kBlue) << 16;
    }
}

// Calls f.template operator()<Traits>() for the traits of format; returns false for a code that
// names no format.
template <class F>
bool WithFormat(uint8_t format, F&& f) {
    switch (format) {
        case VPIXELFORMAT_8:
            f.template operator()<VFormat8>();
            return true;
        case VPIXELFORMAT_444:
            f.template operator()<VFormat444>();
            return true;
        case VPIXELFORMAT_555:
            f.template operator()<VFormat555>();
            return true;
        case VPIXELFORMAT_565:
            f.template operator()<VFormat565>();
            return true;
        case VPIXELFORMAT_888:
            f.template operator()<VFormat888>();
            return true;
        case VPIXELFORMAT_X888:
            f.template operator()<VFormatX888>();
            return true;
        default:
            return false;
    }
}

// The conversions for a format given at run time; an unknown format passes values unchanged.
uint32_t ColorToPixel(uint8_t format, uint32_t colour);
uint32_t PixelToColor(uint8_t format, uint32_t pixel);
uint32_t PixelToShownColor(uint8_t format, uint32_t pixel);

// What the traits say of a format given at run time. Everything is 0 for a code that names no
// format; the channel widths are 0 for palette indices.
struct VFormatLayout {
    uint8_t bitsPerPixel = 0;  // 8, 16, 24 or 32
    uint8_t redBits = 0, greenBits = 0, blueBits = 0;
};
VFormatLayout FormatLayoutOf(uint8_t format);
uint8_t BitsPerPixelOf(uint8_t format);
// The step opacities are rounded down to in this format: 16 for 4-bit channels, 8 for the
// 5-bit formats, 1 where every level shows (8-bit channels, and palette indices, which take no
// opacity).
uint32_t OpacityStepOf(uint8_t format);
// The format of a screen mode: the one format with that many bits per pixel, or where several
// share the size, the one whose channel widths the mode reports; 0 when none matches.
uint8_t FormatOfLayout(const VFormatLayout& layout);
