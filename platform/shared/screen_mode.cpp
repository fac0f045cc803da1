#include "platform/shared/screen_mode.h"

#include "graphics2d/pixel_format.h"

uint8_t PackedFormatForDepth(uint32_t bitsPerPixel) {
    switch (bitsPerPixel) {
        case 8:
            return VPIXELFORMAT_8;
        case 16:
            return VPIXELFORMAT_565;
        case 24:
            return VPIXELFORMAT_888;
        case 32:
            return VPIXELFORMAT_X888;
        default:
            return 0;
    }
}

bool PackedScreenMode(uint8_t format, uint32_t width, uint32_t height, VScreenMode* mode) {
    const VFormatLayout layout = FormatLayoutOf(format);
    if (layout.bitsPerPixel == 0) return false;
    const uint32_t bytes = layout.bitsPerPixel / 8u;
    *mode = VScreenMode{};
    mode->bitsPerPixel = layout.bitsPerPixel;
    mode->redBits = layout.redBits;
    mode->greenBits = layout.greenBits;
    mode->blueBits = layout.blueBits;
    mode->width = width;
    mode->height = height;
    mode->xStep = int32_t(bytes);
    mode->yStep = int32_t(width * bytes);
    return true;
}
