#include "hss/system_output.h"

#include <string>

#include "hss/device.h"
#include "hss/hss.h"

namespace {

// One program, one route: the state lives as long as the program.
struct RouteState {
    hssSystemRoute route = hssSystemRoute::Device;
    std::string path;
    bool fileGiven = false;            // the file went to a speaker; it is never truncated again
    hssSpeaker* fileHolder = nullptr;  // the speaker writing the file, while it is open
    uint64_t framesWritten = 0;
};

RouteState& State() {
    static RouteState state;
    return state;
}

}  // namespace

bool hssRouteSystemOutput(hssSystemRoute route, const char* path) {
    if (route == hssSystemRoute::File && (path == nullptr || *path == 0)) return false;
    RouteState& s = State();
    s.route = route;
    s.path = route == hssSystemRoute::File ? path : "";
    s.fileGiven = false;
    return true;
}

hssSystemRoute hssSystemOutputRoute() {
    return State().route;
}

unsigned hssAdvanceSystemOutput(uint64_t microseconds) {
    RouteState& s = State();
    if (s.fileHolder == nullptr) return HSS_OK;
    const uint64_t due = microseconds * s.fileHolder->rate() / 1000000u;
    while (s.framesWritten < due) {
        const uint64_t left = due - s.framesWritten;
        const unsigned n = left > 0x10000u ? 0x10000u : unsigned(left);
        const unsigned result = s.fileHolder->render(n);
        if (result != HSS_OK) return result;
        s.framesWritten += n;
    }
    return HSS_OK;
}

uint64_t hssSystemOutputFrames() {
    return State().fileHolder == nullptr ? 0 : State().framesWritten;
}

unsigned hssFinishSystemOutput() {
    RouteState& s = State();
    if (s.route == hssSystemRoute::File && !s.fileGiven) return HSS_NOT_OPEN;
    if (s.fileHolder == nullptr) return HSS_OK;
    return s.fileHolder->close();
}

namespace hss {

unsigned NewRoutedSystemDevice(hssSpeaker* speaker, Mixer* mixer, Device** out) {
    RouteState& s = State();
    switch (s.route) {
        case hssSystemRoute::Device:
            return NewSystemDevice(mixer, out);
        case hssSystemRoute::File:
            // The first speaker on the route gets the file; a later one (or the same one
            // opened again) would truncate what was written, so it plays nowhere.
            if (!s.fileGiven) {
                const unsigned result = NewFileDevice(s.path.c_str(), mixer->Format(), out);
                if (result != HSS_OK) return result;
                s.fileGiven = true;
                s.fileHolder = speaker;
                s.framesWritten = 0;
                return HSS_OK;
            }
            break;
        case hssSystemRoute::Nowhere:
            break;
    }
    *out = NewNullDevice();
    return *out == nullptr ? HSS_NO_MEMORY : HSS_OK;
}

void SystemOutputClosed(hssSpeaker* speaker) {
    RouteState& s = State();
    if (s.fileHolder == speaker) s.fileHolder = nullptr;
}

}  // namespace hss
