// The display's 256-entry palette and its nearest-colour service for 8-bit surfaces: the inverse
// table (one palette index per 5-bit colour) and remap tables for surface palettes.
#pragma once

#include <cstdint>

class VDisplayPalette {
  public:
    static constexpr uint32_t kInverseEntries = 32768;

    VDisplayPalette() = default;
    VDisplayPalette(const VDisplayPalette&) = delete;
    VDisplayPalette& operator=(const VDisplayPalette&) = delete;
    ~VDisplayPalette();

    const uint32_t* Entries() const { return entries_; }
    // Changes the palette; the inverse table is rebuilt on next use.
    void SetEntries(const uint32_t* colours, uint32_t first, uint32_t count);

    // The palette index nearest to a colour value (entry 0 is never chosen).
    uint8_t Nearest(uint32_t colour) const;
    // Index blue5 << 10 | green5 << 5 | red5 → palette index; built on first use, null when out
    // of memory.
    const uint8_t* InverseTable();
    // remap[i] = nearest display index of palette[i]; remap[0] = 0 keeps index 0 transparent.
    void BuildRemap(const uint32_t* palette, uint8_t* remap) const;

    // The inverse-table index of a colour value: the top five bits of each channel.
    static constexpr uint32_t InverseIndexOf(uint32_t colour) {
        return ((colour >> 19) & 0x1F) << 10 | ((colour >> 11) & 0x1F) << 5 |
               ((colour >> 3) & 0x1F);
    }

  private:
    void Prepare() const;
    uint8_t NearestFive(uint32_t r5, uint32_t g5, uint32_t b5) const;

    uint32_t entries_[256] = {};
    uint8_t* inverse_ = nullptr;
    // Candidate list in search order: distinct colours of entries 1-255, one bubble pass by
    // brightness; kept as 5-bit channels with their palette index.
    mutable uint8_t candidateindex_[255] = {};
    mutable uint8_t candidatefive_[255][3] = {};
    mutable uint32_t candidates_ = 0;
    mutable bool prepared_ = false;
};
