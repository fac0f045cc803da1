// The simulator's command line.
#pragma once

#include <cstdint>
#include <string>

struct PdaOptions {
    std::string profile = "pocketpc";
    bool headless = false;     // no window: the virtual clock, --frames frames, then the end
    uint32_t frames = 300;     // headless: frames to run
    uint32_t scale = 2;        // window pixels per device pixel
    std::string registryFile;  // "": pda_registry.txt beside the program
    bool help = false;
    std::string error;  // set when the command line is wrong
};

PdaOptions ParsePdaOptions(int argc, char** argv);
// The usage text: options, profiles and keys.
std::string PdaUsage(const char* program);
