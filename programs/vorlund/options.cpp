#include "programs/vorlund/options.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kMaxScale = 16;
constexpr uint32_t kMaxFrames = 0x7FFFFFFF;
constexpr uint64_t kMaxShots = 100000;  // a PNG each: more is a typing slip, not a wish

// A whole number from lo to hi, digits only (no sign, no spaces).
bool ParseNumber(const std::string& text, uint32_t lo, uint32_t hi, uint32_t* out) {
    if (text.empty() || text.size() > 10) return false;
    uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + uint64_t(c - '0');
    }
    if (value < lo || value > hi) return false;
    *out = uint32_t(value);
    return true;
}

bool EndsWith(const std::string& text, const char* suffix) {
    const size_t n = std::strlen(suffix);
    if (text.size() <= n) return false;
    for (size_t i = 0; i < n; ++i) {
        const char c = text[text.size() - n + i];
        if ((c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c) != suffix[i]) return false;
    }
    return true;
}

// "7", "10,20", "30-40": frame numbers and inclusive ranges, separated by commas.
bool ParseShotList(const std::string& text, std::vector<uint32_t>* shots, std::string* why) {
    size_t begin = 0;
    while (true) {
        const size_t comma = text.find(',', begin);
        const std::string item =
            text.substr(begin, comma == std::string::npos ? std::string::npos : comma - begin);
        const size_t dash = item.find('-');
        uint32_t first = 0, last = 0;
        if (dash == std::string::npos) {
            if (!ParseNumber(item, 0, kMaxFrames, &first)) {
                *why = "'" + item + "' is not a frame number";
                return false;
            }
            last = first;
        } else if (!ParseNumber(item.substr(0, dash), 0, kMaxFrames, &first) ||
                   !ParseNumber(item.substr(dash + 1), 0, kMaxFrames, &last) || last < first) {
            *why = "'" + item + "' is not a range of frames (first-last)";
            return false;
        }
        if (shots->size() + (uint64_t(last) - first + 1) > kMaxShots) {
            *why = "more than " + std::to_string(kMaxShots) + " frames";
            return false;
        }
        for (uint64_t f = first; f <= last; ++f) shots->push_back(uint32_t(f));
        if (comma == std::string::npos) break;
        begin = comma + 1;
    }
    std::sort(shots->begin(), shots->end());
    shots->erase(std::unique(shots->begin(), shots->end()), shots->end());
    return true;
}

VorlundParse Failure(std::string message) {
    VorlundParse parse;
    parse.command = VorlundCommand::Error;
    parse.error = std::move(message);
    return parse;
}

}  // namespace

uint32_t VorlundOptions::FrameLimit() const {
    if (frames != 0) return frames;
    return RunsHeadless() ? kDefaultHeadlessFrames : 0;
}

VorlundParse ParseVorlundOptions(int argc, const char* const* argv) {
    VorlundParse parse;
    VorlundOptions& o = parse.options;
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        std::string value;
        bool hasValue = false;
        const size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            hasValue = true;
        }
        const bool takesValue = name == "--scale" || name == "--frames" || name == "--shot" ||
                                name == "--shot-dir" || name == "--record" || name == "--audio-out";
        if (takesValue && !hasValue) {
            if (i + 1 >= argc) return Failure(name + " needs a value");
            value = argv[++i];
        } else if (!takesValue && hasValue) {
            return Failure(name + " takes no value");
        }

        if (name == "--help" || name == "-h") {
            parse.command = VorlundCommand::Help;
            return parse;
        } else if (name == "--version") {
            parse.command = VorlundCommand::Version;
            return parse;
        } else if (name == "--fullscreen") {
            o.fullScreen = true;
        } else if (name == "--headless") {
            o.headless = true;
        } else if (name == "--mute") {
            o.mute = true;
        } else if (name == "--scale") {
            if (!ParseNumber(value, 1, kMaxScale, &o.scale))
                return Failure("--scale: '" + value + "' is not a whole number from 1 to 16");
        } else if (name == "--frames") {
            if (!ParseNumber(value, 1, kMaxFrames, &o.frames))
                return Failure("--frames: '" + value + "' is not a whole number from 1 to " +
                               std::to_string(kMaxFrames));
        } else if (name == "--shot") {
            std::string why;
            if (!ParseShotList(value, &o.shots, &why)) return Failure("--shot: " + why);
        } else if (name == "--shot-dir") {
            if (value.empty()) return Failure("--shot-dir: the folder name is empty");
            o.shotDir = value;
        } else if (name == "--record") {
            if (!EndsWith(value, ".mp4"))
                return Failure("--record: '" + value + "' is not an .mp4 file name");
            o.recordPath = value;
        } else if (name == "--audio-out") {
            if (!EndsWith(value, ".wav"))
                return Failure("--audio-out: '" + value + "' is not a .wav file name");
            o.audioOutPath = value;
        } else if (name.rfind("-", 0) == 0) {
            return Failure("unknown option '" + name + "'");
        } else {
            return Failure("unexpected argument '" + name + "'");
        }
    }
    if (o.mute && !o.recordPath.empty())
        return Failure("--mute: a recording carries the demo's sound; leave out one of the two");
    if (o.mute && !o.audioOutPath.empty())
        return Failure("--mute: --audio-out writes the sound; leave out one of the two");
    const uint32_t limit = o.FrameLimit();
    if (limit != 0 && !o.shots.empty() && o.shots.back() >= limit) {
        return Failure("--shot: frame " + std::to_string(o.shots.back()) +
                       " comes after the last frame of the run (" + std::to_string(limit - 1) +
                       ")");
    }
    return parse;
}

std::string VorlundUsage(const char* program) {
    const std::string p = program != nullptr && *program != 0 ? program : "vorlund";
    return "usage: " + p +
           " [options]\n"
           "The Vorlund demo, in a window (the largest whole scale that fits), or headless\n"
           "when there is no display. Any key or a double click ends it.\n"
           "  --scale N         N screen pixels per display pixel (1 to 16)\n"
           "  --fullscreen      fill the desktop, the picture scaled and centred\n"
           "  --headless        run without a window, as fast as the machine goes\n"
           "  --frames N        end after N frames (headless default: " +
           std::to_string(kDefaultHeadlessFrames) +
           ", 75 s)\n"
           "  --shot LIST       write the picture after the listed frames as PNG\n"
           "                    (frames from 0: 100,200 or 31-169)\n"
           "  --shot-dir DIR    the folder for --shot (default: the current folder)\n"
           "  --record FILE.mp4 headless; a 50 fps video with the demo's sound, pixels x2\n"
           "  --audio-out FILE.wav  the demo's sound as a WAV file\n"
           "  --mute            no sound\n"
           "  --help, --version\n";
}

std::string VorlundVersion() {
    return std::string("vorlund ") + VORLUND_VERSION + " (VANELIB)\n";
}
