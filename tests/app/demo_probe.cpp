// demo_probe: the demo on the headless layer, silent, as a program of its own, so that tests
// can run it from a folder of their choice (its settings file lives beside the program) and
// watch it end.
//
//   demo_probe FRAMES [--key-before N] [--without TYPE ID] [--announce SCENE FRAME]
//
// Runs at most FRAMES frames; --key-before delivers a key press before frame N; --without
// leaves one resource out of the program's table; --announce prints "reached scene S frame F"
// when that frame starts. Exits with the demo's exit code.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/class_main.h"
#include "framework/application_factory.h"
#include "framework/key_codes.h"
#include "platform/headless/headless_platform.h"
#include "tests/app/demo_harness.h"

namespace {

int announceScene = 0, announceFrame = 0;

class AnnouncingMain final : public ClassMain {
  public:
    explicit AnnouncingMain(const VDemoOptions& options) : ClassMain(options) {}
    int OnFrame(ClassVScreen& screen, uint32_t elapsedMs) override {
        if (Scene().scene == announceScene && Scene().frame == announceFrame) {
            std::printf("reached scene %d frame %d\n", announceScene, announceFrame);
            std::fflush(stdout);
        }
        return ClassMain::OnFrame(screen, elapsedMs);
    }
};

ClassVane* MakeProbe(VStartRecord*) {
    VDemoOptions options;
    options.speakerOutput = HSS_OUTPUT_NULL;
    return new AnnouncingMain(options);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FRAMES [--key-before N] [--without TYPE ID]\n", argv[0]);
        return 2;
    }
    VHeadlessOptions layer;
    layer.frameBudget = uint32_t(std::strtoul(argv[1], nullptr, 10));
    uint32_t keyBefore = 0;
    std::string withoutType;
    uint32_t withoutId = 0;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--key-before") == 0 && i + 1 < argc) {
            keyBefore = uint32_t(std::strtoul(argv[++i], nullptr, 10));
        } else if (std::strcmp(argv[i], "--without") == 0 && i + 2 < argc) {
            withoutType = argv[++i];
            withoutId = uint32_t(std::strtoul(argv[++i], nullptr, 10));
        } else if (std::strcmp(argv[i], "--announce") == 0 && i + 2 < argc) {
            announceScene = std::atoi(argv[++i]);
            announceFrame = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "unknown option %s\n", argv[i]);
            return 2;
        }
    }
    ResourceTableWithout table(withoutType.c_str(), withoutId);
    if (!withoutType.empty()) layer.instanceHandle = reinterpret_cast<uintptr_t>(&table.module);
    VApplicationRegistration registration(&MakeProbe);
    VHeadlessPlatform platform(layer);
    if (keyBefore != 0) {
        VMessage key;
        key.code = VMSG_KEYDOWN;
        key.param1 = VKEY_ESCAPE;
        platform.InjectMessage(keyBefore, key);
    }
    return int(platform.Run());
}
