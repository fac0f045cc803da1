// The blitter table: fast loops for one pixel format. Entries 0-255 are indexed by the
// normalised effect flags; entries 256 and 257 are the stepped copies without and with the
// colour key.
#pragma once

#include <cstdint>

// A fast effect loop. Row bytes may be negative. Returns true when it has done the work, false
// to decline (the general loop then runs).
using VBlitLoop = bool (*)(uint32_t width, uint32_t height, uint8_t* dst, const uint8_t* src,
                           int32_t dstrowbytes, int32_t srcrowbytes, uint32_t key, uint32_t colour,
                           uint32_t opacity);

// A stepped copy: destination pixel (i, j) reads the source pixel at src + i * srccolumnstep +
// j * srcrowstep (steps in bytes, possibly negative). Used by the quarter-turn blit.
using VSteppedCopy = bool (*)(uint32_t width, uint32_t height, uint8_t* dst, int32_t dstrowbytes,
                              const uint8_t* src, int32_t srccolumnstep, int32_t srcrowstep,
                              uint32_t key);

constexpr uint32_t kBlitterTableEntries = 512;
constexpr uint32_t kSteppedCopyEntry = 256;     // plain stepped copy
constexpr uint32_t kSteppedCopyKeyEntry = 257;  // stepped copy skipping the colour key

struct VBlitterTable {
    uint8_t format = 0;            // pixel format the loops are made for; 0 when none installed
    VBlitLoop effect[256] = {};    // by effect flags, null where no fast loop exists
    VSteppedCopy stepped[2] = {};  // entries 256 and 257

    VBlitLoop Find(uint32_t flags) const { return effect[flags & 0xFF]; }
};

// Fills table with the fast loops for format (1, 2, 4 or 6); other formats get an empty table
// of that format. Every other entry is cleared.
void InstallBlitterTable(VBlitterTable* table, uint8_t format);
