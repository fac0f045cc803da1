// A ProTracker module in memory: the 31 sample headers, the order list, the patterns and the
// sample data, parsed from the "M.K." file layout (and its 4-channel variants).
#pragma once

#include <cstddef>
#include <cstdint>

namespace hss {

constexpr int kModChannels = 4;
constexpr int kModSamples = 31;
constexpr int kModRows = 64;
constexpr int kModOrders = 128;

struct ModSample {
    const int8_t* data = nullptr;  // points into ModModule::sampleData; null when empty
    uint32_t length = 0;           // in sample frames, clipped to the data present in the file
    uint32_t loopStart = 0;
    uint32_t loopLength = 0;  // 0: no loop
    int finetune = 0;         // -8 to 7
    int volume = 0;           // 0 to 64
};

struct ModNote {
    uint16_t period;  // 0: no note
    uint8_t sample;   // 1 to 31; 0: none
    uint8_t effect;   // 0 to 15
    uint8_t param;
};

struct ModModule {
    char title[21] = {};
    ModSample samples[kModSamples + 1];  // [0] is the empty "no sample"
    uint8_t orders[kModOrders] = {};
    int songLength = 0;  // orders in use, 1 to 128
    int restart = 0;     // the order a looping song starts again from
    int patternCount = 0;
    ModNote* notes = nullptr;  // patternCount × 64 rows × 4 channels
    int8_t* sampleData = nullptr;

    const ModNote& At(int pattern, int row, int channel) const {
        return notes[(pattern * kModRows + row) * kModChannels + channel];
    }
};

// Parses a module. Returns HSS_OK and a module to free with FreeModule, or HSS_DAMAGED (too
// short, bad order list), HSS_NOT_SUPPORTED (another tracker format or channel count) or
// HSS_NO_MEMORY.
unsigned ParseModule(const uint8_t* data, size_t size, ModModule** out);
void FreeModule(ModModule* module);

}  // namespace hss
