// Runs the program it is linked with on the headless layer and writes the picture the screen
// shows after a given frame as a PPM file, every channel widened as screens widen it. The web
// page's screenshot of the same frame must equal it.
//
// Usage: <program> FRAME OUTPUT.ppm   (frames counted from 0)
#include <cstdio>
#include <cstdlib>

#include "graphics2d/color_value.h"
#include "graphics2d/pixel_format.h"
#include "platform/headless/headless_platform.h"

namespace {

bool WritePicture(const VHeadlessPicture& picture, const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    std::fprintf(file, "P6\n%u %u\n255\n", picture.width, picture.height);
    for (uint32_t y = 0; y < picture.height; ++y) {
        const uint8_t* row = picture.pixels.data() + size_t(y) * picture.pitch;
        for (uint32_t x = 0; x < picture.width; ++x) {
            uint32_t pixel = 0;
            for (uint32_t i = 0; i < picture.bytesPerPixel; ++i) {
                pixel |= uint32_t(row[x * picture.bytesPerPixel + i]) << (8 * i);
            }
            const uint32_t c = PixelToShownColor(picture.format, pixel);
            const uint8_t rgb[3] = {uint8_t(VRed(c)), uint8_t(VGreen(c)), uint8_t(VBlue(c))};
            std::fwrite(rgb, 1, 3, file);
        }
    }
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    char* end = nullptr;
    const unsigned long frame = argc == 3 ? std::strtoul(argv[1], &end, 10) : 0;
    if (argc != 3 || end == argv[1] || *end != 0 || frame > 1000000) {
        std::fprintf(stderr, "usage: %s FRAME OUTPUT.ppm\n", argv[0]);
        return 2;
    }
    VHeadlessOptions options;
    options.frameBudget = uint32_t(frame) + 1;
    VHeadlessPlatform platform(options);
    const uint32_t code = platform.Run();
    const VHeadlessPicture& picture = platform.Picture();
    if (picture.presents < frame + 1) {
        std::fprintf(stderr, "the program ended after %u of %lu frames (exit code %u)\n",
                     picture.presents, frame + 1, code);
        return 1;
    }
    if (!WritePicture(picture, argv[2])) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
