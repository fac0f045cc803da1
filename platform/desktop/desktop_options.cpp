#include "platform/desktop/desktop_options.h"

#include <cstdlib>
#include <cstring>

namespace {

bool ReadNumber(const char* text, uint32_t low, uint32_t high, uint32_t* value) {
    if (text == nullptr || *text == 0) return false;
    char* end = nullptr;
    const unsigned long n = std::strtoul(text, &end, 10);
    if (*end != 0 || text[0] == '-' || n < low || n > high) return false;
    *value = uint32_t(n);
    return true;
}

}  // namespace

bool ParseDesktopOptions(int argc, const char* const* argv, VDesktopOptions* options,
                         std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--fullscreen") == 0) {
            options->fullScreen = true;
        } else if (std::strcmp(arg, "--scale") == 0) {
            const char* value = i + 1 < argc ? argv[++i] : nullptr;
            if (!ReadNumber(value, 1, kMaxDesktopScale, &options->scale)) {
                *error = "--scale takes a whole number from 1 to 16";
                return false;
            }
        } else if (std::strcmp(arg, "--screen-format") == 0) {
            const char* value = i + 1 < argc ? argv[++i] : nullptr;
            uint32_t format = 0;
            if (!ReadNumber(value, 2, 4, &format)) {
                *error = "--screen-format takes 2 (4-4-4), 3 (5-5-5) or 4 (5-6-5)";
                return false;
            }
            options->sixteenBitFormat = uint8_t(format);
        } else {
            if (!options->commandLine.empty()) options->commandLine += ' ';
            options->commandLine += arg;
        }
    }
    return true;
}
