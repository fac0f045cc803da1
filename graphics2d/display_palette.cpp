#include "graphics2d/display_palette.h"

#include "fileio/memory.h"

VDisplayPalette::~VDisplayPalette() {
    MemFree(inverse_);
}

void VDisplayPalette::SetEntries(const uint32_t* colours, uint32_t first, uint32_t count) {
    for (uint32_t i = 0; i < count && first + i < 256; ++i) entries_[first + i] = colours[i];
    MemFree(inverse_);
    inverse_ = nullptr;
    prepared_ = false;
}

void VDisplayPalette::Prepare() const {
    if (prepared_) return;
    uint32_t colours[255];
    candidates_ = 0;
    for (uint32_t i = 1; i < 256; ++i) {
        const uint32_t c = entries_[i] & 0xFFFFFF;
        bool seen = false;
        for (uint32_t k = 0; k < candidates_ && !seen; ++k) seen = colours[k] == c;
        if (seen) continue;
        colours[candidates_] = c;
        candidateindex_[candidates_] = uint8_t(i);
        ++candidates_;
    }
    auto brightness = [](uint32_t c) { return ((c & 0xFF) + ((c >> 8) & 0xFF) + (c >> 16)) >> 3; };
    for (uint32_t k = 0; k + 1 < candidates_; ++k) {
        if (brightness(colours[k]) > brightness(colours[k + 1])) {
            const uint32_t c = colours[k];
            colours[k] = colours[k + 1];
            colours[k + 1] = c;
            const uint8_t i = candidateindex_[k];
            candidateindex_[k] = candidateindex_[k + 1];
            candidateindex_[k + 1] = i;
        }
    }
    for (uint32_t k = 0; k < candidates_; ++k) {
        candidatefive_[k][0] = uint8_t((colours[k] >> 3) & 0x1F);
        candidatefive_[k][1] = uint8_t((colours[k] >> 11) & 0x1F);
        candidatefive_[k][2] = uint8_t((colours[k] >> 19) & 0x1F);
    }
    prepared_ = true;
}

uint8_t VDisplayPalette::NearestFive(uint32_t r5, uint32_t g5, uint32_t b5) const {
    auto diff = [](uint32_t a, uint32_t b) { return a > b ? a - b : b - a; };
    uint32_t best = ~0u;
    uint8_t index = 0;
    for (uint32_t k = 0; k < candidates_; ++k) {
        const uint32_t d = diff(candidatefive_[k][0], r5) + diff(candidatefive_[k][1], g5) +
                           diff(candidatefive_[k][2], b5);
        if (d < best) {
            best = d;
            index = candidateindex_[k];
        }
    }
    return index;
}

uint8_t VDisplayPalette::Nearest(uint32_t colour) const {
    Prepare();
    return NearestFive((colour >> 3) & 0x1F, (colour >> 11) & 0x1F, (colour >> 19) & 0x1F);
}

const uint8_t* VDisplayPalette::InverseTable() {
    if (inverse_ != nullptr) return inverse_;
    inverse_ = static_cast<uint8_t*>(MemAlloc(kInverseEntries));
    if (inverse_ == nullptr) return nullptr;
    Prepare();
    for (uint32_t i = 0; i < kInverseEntries; ++i)
        inverse_[i] = NearestFive(i & 0x1F, (i >> 5) & 0x1F, i >> 10);
    return inverse_;
}

void VDisplayPalette::BuildRemap(const uint32_t* palette, uint8_t* remap) const {
    remap[0] = 0;
    for (uint32_t i = 1; i < 256; ++i) remap[i] = Nearest(palette[i]);
}
