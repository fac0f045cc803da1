#include "examples/hello_vane/snapshot.h"

#include <cstdint>
#include <cstdio>

#include "framework/screen.h"

namespace {

// A channel of the given width at the top of 8 bits, its high bits repeated below.
uint8_t Widen(uint32_t value, uint32_t bits) {
    uint32_t out = value << (8 - bits);
    for (uint32_t filled = bits; filled < 8; filled += bits) out |= out >> filled;
    return uint8_t(out);
}

void ToRgb(uint32_t pixel, uint8_t format, uint8_t* rgb) {
    switch (format) {
        case VPIXELFORMAT_444:
            rgb[0] = Widen((pixel >> 8) & 15, 4);
            rgb[1] = Widen((pixel >> 4) & 15, 4);
            rgb[2] = Widen(pixel & 15, 4);
            break;
        case VPIXELFORMAT_555:
            rgb[0] = Widen((pixel >> 10) & 31, 5);
            rgb[1] = Widen((pixel >> 5) & 31, 5);
            rgb[2] = Widen(pixel & 31, 5);
            break;
        case VPIXELFORMAT_565:
            rgb[0] = Widen((pixel >> 11) & 31, 5);
            rgb[1] = Widen((pixel >> 5) & 63, 6);
            rgb[2] = Widen(pixel & 31, 5);
            break;
        default:
            rgb[0] = uint8_t(pixel >> 16);
            rgb[1] = uint8_t(pixel >> 8);
            rgb[2] = uint8_t(pixel);
            break;
    }
}

}  // namespace

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
            uint8_t rgb[3];
            ToRgb(pixel, l.pixelformat, rgb);
            std::fwrite(rgb, 1, 3, file);
        }
    }
    buffer.Unlock();
    return std::fclose(file) == 0;
}
