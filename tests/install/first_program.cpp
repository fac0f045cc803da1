// first_program: a picture slides in over a colour gradient and stops in the middle.
//
// Usage: first_program PICTURE                          in a window; Esc quits
//        first_program PICTURE --frames N --shot FILE   N frames without a window, then the
//                                                       last picture as a PPM file
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "framework/application_factory.h"
#include "framework/key_codes.h"
#include "framework/vane.h"
#include "graphics2d/color_value.h"
#include "graphics2d/pixel_format.h"
#include "platform/desktop/desktop_platform.h"
#include "platform/headless/headless_platform.h"

namespace {

const char* picturePath = nullptr;

class ClassFirst : public ClassVane {
  public:
    // Settings: 50 frames per second, a 320 x 240 display with a caption.
    int OnConfigure(VAppSettings& settings) override {
        settings.fpslimit = 50;
        return 0;
    }

    int OnConfigureDisplay(VScreenSettings& settings) override {
        const char16_t caption[] = u"My first VANELIB program";
        std::memcpy(settings.caption, caption, sizeof(caption));
        settings.width = 320;
        settings.height = 240;
        return 0;
    }

    // The display is open: load the picture. A non-zero result stops the program, and the text
    // given to ReportError is shown when it ends.
    int OnInit(uintptr_t, ClassVScreen& screen) override {
        std::ifstream file(picturePath, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                         std::istreambuf_iterator<char>()};
        if (bytes.empty() ||
            screen.LoadSurface(picture_, bytes.data(), uint32_t(bytes.size()), 0) != 0) {
            ReportError(u"The picture could not be loaded.");
            return 1;
        }
        return 0;
    }

    // Every frame: the whole back buffer is drawn again; the framework presents it afterwards.
    int OnFrame(ClassVScreen& screen, uint32_t elapsedMs) override {
        time_ += elapsedMs;
        V2DSurface& back = screen.BackBuffer();
        back.FillGradientRect(nullptr, VRgb(20, 30, 90), VRgb(200, 120, 40));
        const int32_t centreX = int32_t(screen.GetWidth() - picture_.GetWidth()) / 2;
        const int32_t centreY = int32_t(screen.GetHeight() - picture_.GetHeight()) / 2;
        // From off the left edge to the centre in one second.
        const int32_t startX = -int32_t(picture_.GetWidth());
        const int32_t x =
            time_ >= 1000 ? centreX : startX + (centreX - startX) * int32_t(time_) / 1000;
        back.Blit(x, centreY, &picture_, nullptr, 0, 0);
        return 0;
    }

    void OnKeyDown(uint32_t key, VKeyList&) override {
        if (key == VKEY_ESCAPE) Quit();
    }

  private:
    V2DSurface picture_;  // created by the display, which frees it when it closes
    uint32_t time_ = 0;
};

// The framework creates the application through this registration.
VANE_APPLICATION(ClassFirst);

// The headless layer's last picture as a PPM file, each pixel as the screen shows it.
bool WritePpm(const VHeadlessPicture& picture, const char* path) {
    std::FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return false;
    std::fprintf(out, "P6\n%u %u\n255\n", picture.width, picture.height);
    for (uint32_t y = 0; y < picture.height; ++y) {
        for (uint32_t x = 0; x < picture.width; ++x) {
            const uint8_t* p =
                &picture.pixels[size_t(y) * picture.pitch + x * picture.bytesPerPixel];
            uint32_t pixel = 0;
            for (uint32_t i = 0; i < picture.bytesPerPixel; ++i) pixel |= uint32_t(p[i]) << (8 * i);
            const uint32_t c = PixelToShownColor(picture.format, pixel);
            const uint8_t rgb[3] = {uint8_t(VRed(c)), uint8_t(VGreen(c)), uint8_t(VBlue(c))};
            std::fwrite(rgb, 1, 3, out);
        }
    }
    return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2) {
        picturePath = argv[1];
        VDesktopPlatform platform;
        return int(platform.Run());
    }
    if (argc == 6 && std::strcmp(argv[2], "--frames") == 0 && std::strcmp(argv[4], "--shot") == 0) {
        picturePath = argv[1];
        char* end = nullptr;
        const long frames = std::strtol(argv[3], &end, 10);
        if (*end != 0 || frames < 1 || frames > 1000000) {
            std::fprintf(stderr, "--frames takes 1 to 1000000\n");
            return 2;
        }
        VHeadlessOptions options;
        options.frameBudget = uint32_t(frames);  // then the headless layer quits
        VHeadlessPlatform platform(options);
        const uint32_t exitCode = platform.Run();
        if (exitCode != 0) return int(exitCode);
        return WritePpm(platform.Picture(), argv[5]) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: %s PICTURE [--frames N --shot FILE]\n", argv[0]);
    return 2;
}
