#include "examples/example_shell/example_shell.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/screen.h"
#include "graphics2d/color_value.h"
#include "graphics2d/font.h"
#include "graphics2d/pixel_format.h"
#include "platform/desktop/desktop_platform.h"
#include "platform/headless/headless_platform.h"
#include "platform/resources.h"

namespace {

constexpr long kMaxFrames = 1000000;

// The picture as the screen shows it: every channel widened to 8 bits.
bool WritePpm(const VHeadlessPicture& picture, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    std::fprintf(file, "P6\n%u %u\n255\n", picture.width, picture.height);
    std::vector<uint8_t> row(size_t(picture.width) * 3);
    for (uint32_t y = 0; y < picture.height; ++y) {
        const uint8_t* p = &picture.pixels[size_t(y) * picture.pitch];
        for (uint32_t x = 0; x < picture.width; ++x, p += picture.bytesPerPixel) {
            uint32_t pixel = 0;
            for (uint32_t i = 0; i < picture.bytesPerPixel; ++i) pixel |= uint32_t(p[i]) << (8 * i);
            const uint32_t c = PixelToShownColor(picture.format, pixel);
            row[size_t(x) * 3] = uint8_t(VRed(c));
            row[size_t(x) * 3 + 1] = uint8_t(VGreen(c));
            row[size_t(x) * 3 + 2] = uint8_t(VBlue(c));
        }
        std::fwrite(row.data(), 1, row.size(), file);
    }
    return std::fclose(file) == 0;
}

bool ReadFrames(const char* text, uint32_t* frames) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*text == 0 || *end != 0 || value < 1 || value > kMaxFrames) return false;
    *frames = uint32_t(value);
    return true;
}

int RunHeadless(const VExampleRun& run) {
    VHeadlessOptions options;
    options.frameBudget = run.frames;
    VHeadlessPlatform platform(options);
    const int exitCode = int(platform.Run());
    if (!run.shot.empty() && exitCode != 0) {
        std::fprintf(stderr, "the program ended with exit code %d: %s not written\n", exitCode,
                     run.shot.c_str());
    } else if (!run.shot.empty()) {
        if (platform.Picture().pixels.empty()) {
            std::fprintf(stderr, "no picture was shown: %s not written\n", run.shot.c_str());
            return 1;
        }
        if (!WritePpm(platform.Picture(), run.shot)) {
            std::fprintf(stderr, "could not write %s\n", run.shot.c_str());
            return 1;
        }
        std::printf("%u frames; last picture written to %s\n", platform.FramesSent(),
                    run.shot.c_str());
    }
    return exitCode;
}

}  // namespace

const char* ExampleOptionsUsage() {
    return "[--scale N] [--fullscreen] [--screen-format N] [--frames N] [--shot picture.ppm]";
}

bool ParseExampleArgs(int argc, const char* const* argv, VExampleRun* run, std::string* error) {
    std::vector<const char*> layerArgs{argc > 0 ? argv[0] : "example"};
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(arg, "--frames") == 0 || std::strcmp(arg, "--shot") == 0) {
            if (!hasValue) {
                *error = std::string(arg) + " needs a value";
                return false;
            }
            run->headless = true;
            const char* value = argv[++i];
            if (std::strcmp(arg, "--shot") == 0) {
                run->shot = value;
            } else if (!ReadFrames(value, &run->frames)) {
                *error = std::string("--frames takes 1 to 1000000, not ") + value;
                return false;
            }
        } else if (std::strcmp(arg, "--scale") == 0 || std::strcmp(arg, "--screen-format") == 0) {
            layerArgs.push_back(arg);
            if (hasValue) layerArgs.push_back(argv[++i]);
        } else if (std::strcmp(arg, "--fullscreen") == 0) {
            layerArgs.push_back(arg);
        } else {
            run->arguments.push_back(arg);
        }
    }
    return ParseDesktopOptions(int(layerArgs.size()), layerArgs.data(), &run->desktop, error);
}

int RunExample(const VExampleRun& run) {
    if (run.headless) return RunHeadless(run);
    std::string reason;
    if (!VDesktopPlatform::VideoAvailable(&reason)) {
        std::printf("no display (%s): running %u frames on the headless layer\n", reason.c_str(),
                    run.frames);
        return RunHeadless(run);
    }
    VDesktopPlatform platform(run.desktop);
    return int(platform.Run());
}

const char16_t* LoadExampleFont(ClassVScreen& screen, V2DSurface* font) {
    constexpr uint32_t kFontId = 108, kFontKey = 0xF8F8F8;
    const uint8_t* data = nullptr;
    size_t size = 0;
    if (!FindResource(ProgramResources(), "IMAGES", kFontId, &data, &size) ||
        screen.LoadSurface(*font, data, uint32_t(size), VSURFACE_DEFAULT) != 0) {
        return u"The font resource could not be loaded.";
    }
    font->SetFontRange(32, 255);
    if (font->ScanFont(false, kFontKey) != 0) return u"The font could not be scanned.";
    return nullptr;
}
