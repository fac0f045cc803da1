// A small program run by the headless platform layer: it draws a moving colour gradient at a
// limited frame rate, quits when a key is pressed (the layer presses one after the last
// frame), prints its frame figures and writes the final picture as a PPM file.
//
// Usage: headless_sample [frames [fpslimit [picture.ppm]]]   (defaults: 150 frames, 50)
#include <cstdio>
#include <cstdlib>

#include "framework/application_factory.h"
#include "framework/key_codes.h"
#include "framework/vane.h"
#include "graphics2d/color_value.h"
#include "graphics2d/pixel_format.h"
#include "platform/headless/headless_platform.h"

namespace {

constexpr uint32_t kLengthsShown = 6;

struct SampleStats {
    uint32_t fpslimit = 50;
    uint32_t frames = 0;
    uint64_t limiterTotal = 0;  // µs, over the first fpslimit frames
    uint32_t lengths[kLengthsShown] = {};
    uint32_t gameTime = 0;
    uint32_t fps = 0, fpsHundredths = 0;
    uint32_t width = 0, height = 0;
} stats;

class ClassSample : public ClassVane {
  public:
    int OnConfigure(VAppSettings& settings) override {
        settings.fpslimit = stats.fpslimit;
        return 0;
    }

    int OnConfigureDisplay(VScreenSettings& settings) override {
        const char16_t caption[] = u"VANELIB headless sample";
        for (size_t i = 0; i < sizeof(caption) / sizeof(caption[0]); ++i) {
            settings.caption[i] = caption[i];
        }
        return 0;
    }

    int OnFrame(ClassVScreen& screen, uint32_t elapsedMs) override {
        stats.gameTime += elapsedMs;
        const uint32_t length = Limiter().LastFrameLength();
        if (stats.frames < kLengthsShown) stats.lengths[stats.frames] = length;
        if (stats.frames < stats.fpslimit) stats.limiterTotal += length;
        ++stats.frames;
        GetFrameRate(&stats.fps, &stats.fpsHundredths);
        stats.width = screen.GetWidth();
        stats.height = screen.GetHeight();
        // Red across, green down, blue with the time.
        V2DSurface& back = screen.BackBuffer();
        const uint32_t phase = stats.gameTime / 10;
        for (uint32_t y = 0; y < screen.GetHeight(); ++y) {
            for (uint32_t x = 0; x < screen.GetWidth(); ++x) {
                const uint32_t r = x * 255 / screen.GetWidth();
                const uint32_t g = y * 255 / screen.GetHeight();
                const uint32_t b = ((x + y + phase) & 31) * 8;
                back.PutPixel(int32_t(x), int32_t(y), VRgb(r, g, b));
            }
        }
        return 0;
    }

    void OnKeyDown(uint32_t, VKeyList&) override { Quit(); }
};

VANE_APPLICATION(ClassSample);

// The presented picture with every channel widened to 8 bits as a screen shows it.
bool WritePpm(const VHeadlessPicture& picture, const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    std::fprintf(file, "P6\n%u %u\n255\n", picture.width, picture.height);
    for (uint32_t y = 0; y < picture.height; ++y) {
        for (uint32_t x = 0; x < picture.width; ++x) {
            const uint8_t* p =
                &picture.pixels[size_t(y) * picture.pitch + x * picture.bytesPerPixel];
            uint32_t pixel = 0;
            for (uint32_t i = 0; i < picture.bytesPerPixel; ++i) pixel |= uint32_t(p[i]) << (8 * i);
            const uint32_t c = PixelToShownColor(picture.format, pixel);
            const uint8_t rgb[3] = {uint8_t(VRed(c)), uint8_t(VGreen(c)), uint8_t(VBlue(c))};
            std::fwrite(rgb, 1, 3, file);
        }
    }
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const long frames = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 150;
    const long fpslimit = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 50;
    if (frames < 1 || frames > 1000000 || fpslimit < 0 || fpslimit > 1000) {
        std::fprintf(stderr,
                     "usage: %s [frames (1 to 1000000) [fpslimit (0 to 1000) [picture.ppm]]]\n",
                     argv[0]);
        return 2;
    }
    stats.fpslimit = uint32_t(fpslimit);
    const char* picturePath = argc > 3 ? argv[3] : nullptr;

    VHeadlessOptions options;
    options.screenFormat = VPIXELFORMAT_565;
    options.frameBudget = uint32_t(frames) + 1;  // a safety net: the key press ends it first
    VHeadlessPlatform platform(options);
    VMessage key;
    key.code = VMSG_KEYDOWN;
    key.param1 = VKEY_ESCAPE;
    platform.InjectMessage(uint32_t(frames), key);

    const uint32_t exitCode = platform.Run();
    std::printf("VANELIB headless sample: %u x %u display, 5-6-5 screen, fpslimit %u\n",
                stats.width, stats.height, stats.fpslimit);
    std::printf("%u frames, %u ms of game time, %u simulated ms, %u.%02u frames per second\n",
                stats.frames, stats.gameTime, platform.Now(), stats.fps, stats.fpsHundredths);
    std::printf("frame lengths (us):");
    for (uint32_t i = 0; i < kLengthsShown && i < stats.frames; ++i) {
        std::printf(" %u", stats.lengths[i]);
    }
    std::printf("\n");
    if (stats.fpslimit != 0 && stats.frames >= stats.fpslimit) {
        std::printf("first %u frames: %llu us\n", stats.fpslimit,
                    static_cast<unsigned long long>(stats.limiterTotal));
    }
    if (picturePath != nullptr) {
        if (!WritePpm(platform.Picture(), picturePath)) {
            std::fprintf(stderr, "could not write %s\n", picturePath);
            return 1;
        }
        std::printf("last picture written to %s\n", picturePath);
    }
    std::printf("exit code %u\n", exitCode);
    return int(exitCode);
}
