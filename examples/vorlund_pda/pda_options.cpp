#include "examples/vorlund_pda/pda_options.h"

#include <cstdlib>

#include "examples/vorlund_pda/pda_keys.h"
#include "platform/handheld/sim/sim_profiles.h"

namespace {

bool Number(const char* text, uint32_t low, uint32_t high, uint32_t* out) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (end == text || *end != 0 || value < low || value > high) return false;
    *out = uint32_t(value);
    return true;
}

}  // namespace

PdaOptions ParsePdaOptions(int argc, char** argv) {
    PdaOptions o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--headless") {
            o.headless = true;
        } else if (a == "--profile" && hasValue) {
            o.profile = argv[++i];
            if (FindSimProfile(o.profile) == nullptr) o.error = "unknown profile " + o.profile;
        } else if (a == "--frames" && hasValue) {
            if (!Number(argv[++i], 1, 1000000, &o.frames)) o.error = "--frames takes 1 to 1000000";
        } else if (a == "--scale" && hasValue) {
            if (!Number(argv[++i], 1, 4, &o.scale)) o.error = "--scale takes 1 to 4";
        } else if (a == "--registry" && hasValue) {
            o.registryFile = argv[++i];
        } else {
            o.error = "unknown option " + a;
        }
    }
    return o;
}

std::string PdaUsage(const char* program) {
    std::string text = std::string("Usage: ") + program +
                       " [--profile NAME] [--scale N] [--registry FILE] [--headless [--frames N]]\n"
                       "\nThe program on a simulated Pocket PC.\n\nProfiles:\n";
    for (const VSimProfile& p : SimProfiles()) {
        text += "  " + std::string(p.name) + std::string(14 - std::string(p.name).size(), ' ') +
                p.description + "\n";
    }
    text += "\nKeys:\n";
    for (const PdaKeyHelp& k : PdaKeyList()) {
        text += "  " + std::string(k.keys) + std::string(14 - std::string(k.keys).size(), ' ') +
                k.action + "\n";
    }
    text += "\nThe registry (backlight timeouts) is kept in pda_registry.txt beside the program.\n";
    return text;
}
