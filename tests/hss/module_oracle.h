// Renderings of a module by libopenmpt (the independent reference) and by our replayer, in the
// same conditions: same rate, no interpolation, no volume ramping, each channel three quarters
// on its own side (libopenmpt's 100 % stereo separation, our default).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hsstest {

std::vector<uint8_t> ReadFile(const std::string& path);

struct RowStart {
    int order;
    int row;
    uint64_t frame;
    bool operator==(const RowStart&) const = default;
};

struct Rendering {
    std::vector<int16_t> stereo;  // interleaved left, right, to the end of the song
    uint64_t Frames() const { return stereo.size() / 2; }
};

// channelMask: bit c set renders channel c (the others are muted).
Rendering RenderReference(const std::vector<uint8_t>& mod, int rate, unsigned channelMask = 0xF);
Rendering RenderOurs(const std::vector<uint8_t>& mod, int rate, unsigned channelMask = 0xF);

// Where each row starts, to the frame.
std::vector<RowStart> ReferenceRows(const std::vector<uint8_t>& mod, int rate);
std::vector<RowStart> OurRows(const std::vector<uint8_t>& mod, int rate);
double ReferenceDurationSeconds(const std::vector<uint8_t>& mod);

// A copy of a module whose sample data is replaced (lengths and loops kept) by the note-on
// marker: one strongly negative frame, then positive ones.
std::vector<uint8_t> WithMarkedSamples(const std::vector<uint8_t>& mod);

// Frames where the test samples restart: the mono signal turns clearly negative (the generated
// samples start with one strongly negative frame and are positive after it).
std::vector<uint64_t> NoteOns(const Rendering& r);
// Root mean square of the mono signal over consecutive windows of `window` frames.
std::vector<double> RmsEnvelope(const Rendering& r, unsigned window);
double Correlation(const std::vector<double>& a, const std::vector<double>& b);

}  // namespace hsstest
