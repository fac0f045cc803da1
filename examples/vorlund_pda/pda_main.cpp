// The simulator's entry: the program linked with it (hello_pda, or the Vorlund demo as
// vorlund_pda) on the handheld layer over a simulated Pocket PC, shown in a window with the
// device's face, or headless on the virtual clock.
#include <cstdio>
#include <filesystem>
#include <string>

#include "examples/vorlund_pda/pda_face.h"
#include "examples/vorlund_pda/pda_options.h"
#include "platform/handheld/handheld_platform.h"
#include "platform/handheld/sim/sim_device.h"

namespace {

std::string BesideProgram(const char* name) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(name) : (self.parent_path() / name).string();
}

}  // namespace

int main(int argc, char** argv) {
    PdaOptions options = ParsePdaOptions(argc, argv);
    if (options.help) {
        std::printf("%s", PdaUsage(argv[0]).c_str());
        return 0;
    }
    if (!options.error.empty()) {
        std::fprintf(stderr, "%s\n\n%s", options.error.c_str(), PdaUsage(argv[0]).c_str());
        return 2;
    }

    VSimOptions sim;
    sim.profile = *FindSimProfile(options.profile);
    sim.registryFile =
        options.registryFile.empty() ? BesideProgram("pda_registry.txt") : options.registryFile;

    PdaFace face;
    std::string reason;
    if (!options.headless && !face.Open(sim.profile, options.scale, &reason)) {
        std::printf("no display (%s): running %u frames headless instead\n", reason.c_str(),
                    options.frames);
        options.headless = true;
    }
    sim.realTime = !options.headless;
    if (options.headless) {
        const uint32_t frames = options.frames;
        sim.onPass = [frames](VSimDevice& device, uint32_t pass) {
            if (pass == frames) device.Close();
        };
    } else {
        sim.onPass = [&face](VSimDevice& device, uint32_t) {
            face.Poll(device);
            face.Draw(device);
        };
    }
    VSimDevice device(sim);
    VHandheldPlatform platform(device);
    const uint32_t code = platform.Run(u"");
    if (options.headless) {
        std::printf("%s: %u passes on the virtual clock, %u ms; exit code %u\n", sim.profile.name,
                    device.Passes(), device.Now(), code);
    }
    return int(code);
}
