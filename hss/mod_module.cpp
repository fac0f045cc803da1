#include "hss/mod_module.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "hss/hss.h"

namespace hss {
namespace {

constexpr size_t kSampleHeaderOffset = 20;
constexpr size_t kSampleHeaderSize = 30;
constexpr size_t kSongLengthOffset = 950;
constexpr size_t kOrdersOffset = 952;
constexpr size_t kTagOffset = 1080;
constexpr size_t kHeaderSize = 1084;
constexpr size_t kPatternBytes = kModRows * kModChannels * 4;

uint32_t Be16(const uint8_t* p) {
    return (uint32_t(p[0]) << 8) | p[1];
}

bool IsFourChannelTag(const uint8_t* tag) {
    static const char* const kTags[] = {"M.K.", "M!K!", "FLT4", "4CHN"};
    for (const char* t : kTags)
        if (std::memcmp(tag, t, 4) == 0) return true;
    return false;
}

// Tags of other channel counts and trackers: recognisable modules this player does not play.
bool IsOtherModuleTag(const uint8_t* tag) {
    static const char* const kTags[] = {"FLT8", "OCTA", "CD81", "TDZ"};
    for (const char* t : kTags)
        if (std::memcmp(tag, t, std::strlen(t)) == 0) return true;
    bool digitsThenChn = tag[0] >= '1' && tag[0] <= '9' && std::memcmp(tag + 1, "CHN", 3) == 0;
    bool twoDigitsThenCh = tag[0] >= '1' && tag[0] <= '9' && tag[1] >= '0' && tag[1] <= '9' &&
                           tag[2] == 'C' && (tag[3] == 'H' || tag[3] == 'N');
    return digitsThenChn || twoDigitsThenCh;
}

void ReadSampleHeader(const uint8_t* h, ModSample* s) {
    uint32_t length = Be16(h + 22) * 2;
    int finetune = h[24] & 0x0F;
    s->finetune = finetune >= 8 ? finetune - 16 : finetune;
    s->volume = h[25] > 64 ? 64 : h[25];
    s->length = length;
    s->loopStart = Be16(h + 26) * 2;
    s->loopLength = Be16(h + 28) * 2;
}

// Clips the loop into the sample; a loop of 2 bytes or less is ProTracker's "no loop".
void FixLoop(ModSample* s) {
    if (s->loopLength <= 2 || s->loopStart >= s->length) {
        s->loopStart = 0;
        s->loopLength = 0;
        return;
    }
    if (s->loopStart + s->loopLength > s->length) s->loopLength = s->length - s->loopStart;
}

uint16_t PeriodFromBytes(const uint8_t* p) {
    return uint16_t(((p[0] & 0x0F) << 8) | p[1]);
}

}  // namespace

unsigned ParseModule(const uint8_t* data, size_t size, ModModule** out) {
    *out = nullptr;
    if (data == nullptr || size < kHeaderSize) return HSS_DAMAGED;
    const uint8_t* tag = data + kTagOffset;
    if (!IsFourChannelTag(tag)) return IsOtherModuleTag(tag) ? HSS_NOT_SUPPORTED : HSS_DAMAGED;

    int songLength = data[kSongLengthOffset];
    if (songLength < 1 || songLength > kModOrders) return HSS_DAMAGED;
    int patternCount = 0;
    for (int i = 0; i < kModOrders; ++i) {
        int p = data[kOrdersOffset + i];
        if (p >= 128) return HSS_DAMAGED;
        if (p + 1 > patternCount) patternCount = p + 1;
    }
    size_t patternBytes = size_t(patternCount) * kPatternBytes;
    if (size < kHeaderSize + patternBytes) return HSS_DAMAGED;

    ModModule* m = new (std::nothrow) ModModule;
    if (m == nullptr) return HSS_NO_MEMORY;
    std::memcpy(m->title, data, 20);
    for (char& c : m->title)
        if (c != 0 && (c < 32 || c > 126)) c = ' ';
    m->songLength = songLength;
    int restart = data[kSongLengthOffset + 1];
    m->restart = restart < songLength ? restart : 0;
    std::memcpy(m->orders, data + kOrdersOffset, kModOrders);
    m->patternCount = patternCount;

    size_t noteCount = size_t(patternCount) * kModRows * kModChannels;
    m->notes = static_cast<ModNote*>(std::malloc(noteCount * sizeof(ModNote)));
    size_t wanted = 0;
    for (int i = 1; i <= kModSamples; ++i) {
        ReadSampleHeader(data + kSampleHeaderOffset + (i - 1) * kSampleHeaderSize, &m->samples[i]);
        wanted += m->samples[i].length;
    }
    // Sample data past the end of the file is missing: the samples keep what is there.
    size_t available = size - kHeaderSize - patternBytes;
    size_t dataBytes = wanted < available ? wanted : available;
    m->sampleData = static_cast<int8_t*>(std::malloc(dataBytes ? dataBytes : 1));
    if (m->notes == nullptr || m->sampleData == nullptr) {
        FreeModule(m);
        return HSS_NO_MEMORY;
    }

    const uint8_t* p = data + kHeaderSize;
    for (size_t i = 0; i < noteCount; ++i, p += 4) {
        ModNote& n = m->notes[i];
        n.period = PeriodFromBytes(p);
        n.sample = uint8_t((p[0] & 0xF0) | (p[2] >> 4));
        n.effect = p[2] & 0x0F;
        n.param = p[3];
        if (n.sample > kModSamples) n.sample = 0;
    }
    std::memcpy(m->sampleData, p, dataBytes);
    size_t offset = 0;
    for (int i = 1; i <= kModSamples; ++i) {
        ModSample& s = m->samples[i];
        size_t left = dataBytes - offset;
        if (s.length > left) s.length = uint32_t(left);
        s.data = s.length ? m->sampleData + offset : nullptr;
        offset += s.length;
        FixLoop(&s);
    }
    *out = m;
    return HSS_OK;
}

void FreeModule(ModModule* module) {
    if (module == nullptr) return;
    std::free(module->notes);
    std::free(module->sampleData);
    delete module;
}

}  // namespace hss
