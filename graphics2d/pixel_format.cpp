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
