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
        case 2:
            rgb[0] = Widen((pixel >> 8) & 15, 4);
            rgb[1] = Widen((pixel >> 4) & 15, 4);
            rgb[2] = Widen(pixel & 15, 4);
            break;
        case 3:
            rgb[0] = Widen((pixel >> 10) & 31, 5);
            rgb[1] = Widen((pixel >> 5) & 31, 5);
            rgb[2] = Widen(pixel & 31, 5);
            break;
        case 4:
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
    const uint8_t* pixels = screen.BackBuffer();
    // 8-bit pixels are palette indices; only the direct-colour formats have a picture here.
    if (pixels == nullptr || screen.BufferFormat() < 2) return false;
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    const uint32_t bytes = screen.BytesPerPixel();
    std::fprintf(file, "P6\n%u %u\n255\n", screen.GetWidth(), screen.GetHeight());
    for (uint32_t y = 0; y < screen.GetHeight(); ++y) {
        const uint8_t* row = pixels + size_t(y) * screen.BackBufferPitch();
        for (uint32_t x = 0; x < screen.GetWidth(); ++x) {
            uint32_t pixel = 0;
            for (uint32_t i = 0; i < bytes; ++i) pixel |= uint32_t(row[x * bytes + i]) << (8 * i);
            uint8_t rgb[3];
            ToRgb(pixel, screen.BufferFormat(), rgb);
            std::fwrite(rgb, 1, 3, file);
        }
    }
    return std::fclose(file) == 0;
}
