#include "platform/shared/screen_mode.h"

#include "graphics2d/pixel_format.h"

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
