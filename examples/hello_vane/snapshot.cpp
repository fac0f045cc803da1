#include "examples/hello_vane/snapshot.h"

#include <cstdint>
#include <cstdio>

#include "framework/screen.h"
#include "graphics2d/color_value.h"
#include "graphics2d/pixel_format.h"

bool WriteBackBufferPpm(ClassVScreen& screen, const char* path) {
    V2DSurface& buffer = screen.BackBuffer();
    SurfaceLayout l;
    const uint8_t* pixels = buffer.Lock(&l);
    // 8-bit pixels are palette indices; only the direct-colour formats have a picture here.
    if (pixels == nullptr) return false;
    std::FILE* file = l.pixelformat == VPIXELFORMAT_8 ? nullptr : std::fopen(path, "wb");
    if (file == nullptr) {
        buffer.Unlock();
        return false;
    }
    // Logical rows, whatever the orientation the buffer is stored in.
    const uint32_t bytes = l.bitsperpixel / 8u;
    std::fprintf(file, "P6\n%u %u\n255\n", l.width, l.height);
    for (uint32_t y = 0; y < l.height; ++y) {
        for (uint32_t x = 0; x < l.width; ++x) {
            const uint8_t* p = pixels + l.origin + int64_t(x) * l.xstep + int64_t(y) * l.ystep;
            uint32_t pixel = 0;
            for (uint32_t i = 0; i < bytes; ++i) pixel |= uint32_t(p[i]) << (8 * i);
            const uint32_t c = PixelToShownColor(l.pixelformat, pixel);
            const uint8_t rgb[3] = {uint8_t(VRed(c)), uint8_t(VGreen(c)), uint8_t(VBlue(c))};
            std::fwrite(rgb, 1, 3, file);
        }
    }
    buffer.Unlock();
    return std::fclose(file) == 0;
}
