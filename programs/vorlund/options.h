// The vorlund program's command line. The demo itself reads none: everything here is the
// starter's, which chooses the platform layer, where the sound goes and what is written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Headless runs without --frames stop here: 75 seconds, scenes 1 and 2 and the start of
// scene 3, since nobody is there to press a key.
constexpr uint32_t kDefaultHeadlessFrames = 3750;

struct VorlundOptions {
    uint32_t scale = 0;  // 0: the largest whole scale that fits the desktop
    bool fullScreen = false;
    bool headless = false;
    uint32_t frames = 0;          // 0: until the demo ends (headless: kDefaultHeadlessFrames)
    std::vector<uint32_t> shots;  // frame numbers, ascending, no repeats
    std::string shotDir = ".";    // where the shots go
    std::string recordPath;       // an MP4 file; implies headless
    std::string audioOutPath;     // a WAV file
    bool mute = false;

    // Frames the run lasts: --frames, or the headless default; 0 = until the demo ends.
    uint32_t FrameLimit() const;
    bool RunsHeadless() const { return headless || !recordPath.empty(); }
};

enum class VorlundCommand {
    Run,
    Help,     // --help: the usage on standard output, exit 0
    Version,  // --version
    Error,    // a bad option or value: the message and the usage on standard error, exit 2
};

struct VorlundParse {
    VorlundCommand command = VorlundCommand::Run;
    VorlundOptions options;
    std::string error;  // one line naming the option, for Error
};

VorlundParse ParseVorlundOptions(int argc, const char* const* argv);

// The usage text, several lines, each ending in a newline.
std::string VorlundUsage(const char* program);
std::string VorlundVersion();
