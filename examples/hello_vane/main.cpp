// hello_vane: the smallest complete program on the framework, in a window.
//
// It opens a 240 × 320 display, moves a ball across it, lets the arrow keys move a square and
// the stylus (the mouse) place marks, and shows its frame rate in the picture and after the
// window's caption.
//
//   Arrow keys  move the square        Mouse button  place a mark; drag it while held
//   Space       pause / go on          Double click  clear the marks
//   Wheel       ball faster / slower   D             write the back buffer to the --dump file
//   Esc         quit
//
// Usage: hello_vane [--scale N] [--fullscreen] [--screen-format N] [--dump picture.ppm]
//
// Without a display (no X server, SDL_VIDEODRIVER unusable) it runs 150 frames on the headless
// layer instead, writes the --dump picture at the end and says so.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "examples/hello_vane/hello_app.h"
#include "framework/key_codes.h"
#include "framework/messages.h"
#include "platform/desktop/desktop_platform.h"
#include "platform/headless/headless_platform.h"

namespace {

uint32_t RunHeadless(const std::string& reason) {
    constexpr uint32_t kFrames = 150;
    std::printf("no display (%s): running %u frames on the headless layer\n", reason.c_str(),
                kFrames);
    VHeadlessOptions options;
    options.frameBudget = kFrames + 1;
    VHeadlessPlatform platform(options);
    VMessage key;
    key.code = VMSG_KEYDOWN;
    key.param1 = 'D';
    platform.InjectMessage(kFrames, key);
    key.param1 = VKEY_ESCAPE;
    platform.InjectMessage(kFrames, key);
    return platform.Run();
}

}  // namespace

int main(int argc, char** argv) {
    // --dump is the example's own option; everything else goes to the platform layer.
    std::vector<const char*> layerArgs{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--dump") == 0 && i + 1 < argc) {
            SetHelloDumpPath(argv[++i]);
        } else {
            layerArgs.push_back(argv[i]);
        }
    }
    VDesktopOptions options;
    std::string error;
    if (!ParseDesktopOptions(int(layerArgs.size()), layerArgs.data(), &options, &error)) {
        std::fprintf(stderr,
                     "%s\nusage: %s [--scale N] [--fullscreen] [--screen-format N] "
                     "[--dump picture.ppm]\n",
                     error.c_str(), argv[0]);
        return 2;
    }
    std::string reason;
    if (!VDesktopPlatform::VideoAvailable(&reason)) return int(RunHeadless(reason));
    VDesktopPlatform platform(options);
    return int(platform.Run());
}
