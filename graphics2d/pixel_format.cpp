#include "graphics2d/pixel_format.h"

uint32_t ColorToPixel(uint8_t format, uint32_t colour) {
    uint32_t out = colour;
    WithFormat(format, [&]<class T>() { out = ColorToPixelOf<T>(colour); });
    return out;
}

uint32_t PixelToColor(uint8_t format, uint32_t pixel) {
    uint32_t out = pixel;
    WithFormat(format, [&]<class T>() { out = PixelToColorOf<T>(pixel); });
    return out;
}

uint32_t PixelToShownColor(uint8_t format, uint32_t pixel) {
    uint32_t out = pixel;
    WithFormat(format, [&]<class T>() { out = PixelToShownColorOf<T>(pixel); });
    return out;
}

VFormatLayout FormatLayoutOf(uint8_t format) {
    VFormatLayout layout;
    WithFormat(format, [&]<class T>() {
        layout.bitsPerPixel = uint8_t(T::kBits);
        if constexpr (!T::kIndexed) {
            layout.redBits = uint8_t(T::kRed.bits);
            layout.greenBits = uint8_t(T::kGreen.bits);
            layout.blueBits = uint8_t(T::kBlue.bits);
        }
    });
    return layout;
}

uint8_t BitsPerPixelOf(uint8_t format) {
    return FormatLayoutOf(format).bitsPerPixel;
}

uint32_t OpacityStepOf(uint8_t format) {
    uint32_t step = 1;
    WithFormat(format, [&]<class T>() {
        if constexpr (!T::kIndexed) step = 1u << (8 - T::kOpacityBits);
    });
    return step;
}

uint8_t FormatOfLayout(const VFormatLayout& layout) {
    uint8_t sized = 0, exact = 0;
    uint32_t sameSize = 0;
    for (uint8_t format = VPIXELFORMAT_8; format <= VPIXELFORMAT_X888; ++format) {
        const VFormatLayout f = FormatLayoutOf(format);
        if (f.bitsPerPixel != layout.bitsPerPixel) continue;
        ++sameSize;
        sized = format;
        if (f.redBits == layout.redBits && f.greenBits == layout.greenBits &&
            f.blueBits == layout.blueBits) {
            exact = format;
        }
    }
    return sameSize == 1 ? sized : exact;
}
