// PCM sound data read from a RIFF WAV file, kept as 16-bit samples.
#pragma once

#include <cstddef>
#include <cstdint>

namespace hss {

struct WavData {
    int16_t* samples = nullptr;  // frames × channels, interleaved
    uint32_t frames = 0;
    uint32_t rate = 0;
    uint32_t channels = 0;  // 1 or 2
};

// Parses a RIFF WAVE file with PCM data of 8 (unsigned) or 16 (signed) bits, mono or stereo,
// at any rate. A data chunk cut short by the end of the file keeps its whole frames. Returns
// HSS_OK and data to free with FreeWav, or HSS_DAMAGED, HSS_NOT_SUPPORTED (another encoding,
// bit depth or channel count) or HSS_NO_MEMORY.
unsigned ParseWav(const uint8_t* data, size_t size, WavData** out);
void FreeWav(WavData* wav);

}  // namespace hss
