#include "hss/wav_data.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "hss/hss.h"

namespace hss {
namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

uint16_t Le16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}

uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

struct Format {
    uint16_t tag = 0;
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint16_t blockAlign = 0;
    uint16_t bits = 0;
};

unsigned ReadFormat(const uint8_t* chunk, uint32_t size, Format* f) {
    if (size < 16) return HSS_DAMAGED;
    f->tag = Le16(chunk);
    f->channels = Le16(chunk + 2);
    f->rate = Le32(chunk + 4);
    f->blockAlign = Le16(chunk + 12);
    f->bits = Le16(chunk + 14);
    if (f->tag == kFormatExtensible) {
        // The sub-format GUID starts with the plain format tag.
        if (size < 40) return HSS_DAMAGED;
        f->tag = Le16(chunk + 24);
    }
    if (f->channels == 0 || f->rate == 0) return HSS_DAMAGED;
    if (f->tag != kFormatPcm || (f->bits != 8 && f->bits != 16) || f->channels > 2)
        return HSS_NOT_SUPPORTED;
    if (f->blockAlign != f->channels * f->bits / 8) return HSS_DAMAGED;
    return HSS_OK;
}

}  // namespace

unsigned ParseWav(const uint8_t* data, size_t size, WavData** out) {
    *out = nullptr;
    if (data == nullptr || size < 12 || std::memcmp(data, "RIFF", 4) != 0 ||
        std::memcmp(data + 8, "WAVE", 4) != 0)
        return HSS_DAMAGED;
    Format format;
    bool haveFormat = false;
    size_t at = 12;
    while (at + 8 <= size) {
        const uint8_t* chunk = data + at + 8;
        uint32_t chunkSize = Le32(data + at + 4);
        size_t available = size - at - 8;
        if (std::memcmp(data + at, "fmt ", 4) == 0) {
            if (chunkSize > available) return HSS_DAMAGED;
            unsigned r = ReadFormat(chunk, chunkSize, &format);
            if (r != HSS_OK) return r;
            haveFormat = true;
        } else if (std::memcmp(data + at, "data", 4) == 0) {
            if (!haveFormat) return HSS_DAMAGED;
            size_t bytes = chunkSize < available ? chunkSize : available;
            uint32_t frames = uint32_t(bytes / format.blockAlign);
            WavData* wav = new (std::nothrow) WavData;
            if (wav == nullptr) return HSS_NO_MEMORY;
            size_t count = size_t(frames) * format.channels;
            wav->samples = static_cast<int16_t*>(std::malloc(count ? count * 2 : 2));
            if (wav->samples == nullptr) {
                delete wav;
                return HSS_NO_MEMORY;
            }
            for (size_t i = 0; i < count; ++i)
                wav->samples[i] = format.bits == 8 ? int16_t((chunk[i] - 128) * 256)
                                                   : int16_t(Le16(chunk + 2 * i));
            wav->frames = frames;
            wav->rate = format.rate;
            wav->channels = format.channels;
            *out = wav;
            return HSS_OK;
        }
        // Chunks are padded to an even size.
        size_t next = at + 8 + size_t(chunkSize) + (chunkSize & 1);
        if (next <= at) break;
        at = next;
    }
    return HSS_DAMAGED;
}

void FreeWav(WavData* wav) {
    if (wav == nullptr) return;
    std::free(wav->samples);
    delete wav;
}

}  // namespace hss
