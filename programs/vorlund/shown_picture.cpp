#include "programs/vorlund/shown_picture.h"

#include "framework/screen.h"
#include "graphics2d/color_value.h"
#include "graphics2d/pixel_format.h"

bool ReadShownPicture(ClassVScreen& screen, VShownPicture* picture) {
    V2DSurface& buffer = screen.BackBuffer();
    SurfaceLayout l;
    const uint8_t* pixels = buffer.Lock(&l);
    if (pixels == nullptr) return false;
    if (l.pixelformat == VPIXELFORMAT_8) {
        buffer.Unlock();
        return false;
    }
    picture->width = l.width;
    picture->height = l.height;
    picture->rgb.resize(size_t(l.width) * l.height * 3);
    uint8_t* out = picture->rgb.data();
    // Logical rows, whatever the orientation the buffer is stored in.
    const uint32_t bytes = l.bitsperpixel / 8u;
    for (uint32_t y = 0; y < l.height; ++y) {
        for (uint32_t x = 0; x < l.width; ++x) {
            const uint8_t* p = pixels + l.origin + int64_t(x) * l.xstep + int64_t(y) * l.ystep;
            uint32_t pixel = 0;
            for (uint32_t i = 0; i < bytes; ++i) pixel |= uint32_t(p[i]) << (8 * i);
            const uint32_t c = PixelToShownColor(l.pixelformat, pixel);
            *out++ = uint8_t(VRed(c));
            *out++ = uint8_t(VGreen(c));
            *out++ = uint8_t(VBlue(c));
        }
    }
    buffer.Unlock();
    return true;
}
