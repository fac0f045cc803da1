// The blitter table: fast loops for one pixel format, the display's buffer format. A blit
// consults it only when its destination has that format, before the general loop.
//
// Its entries are of two kinds, and only the first is a pure optimisation:
// - The rule compiled for one effect (entries 1, 3, 4, 5, 8, 9, 16, 17, 32 and 33: key, key +
//   fill, mix, key + mix, opacity, key + opacity, add and subtract with or without the key).
//   They give the same bytes as the general loop; the fast-path test demands it.
// - Rules of their own: the shift blends (entries 64, 65, 128 and 129). For the opacities
//   128, 192, 224 and 240 (BLIT_SHIFT_SOURCE, out = s - (s >> k) + (d >> k)) and 16, 32 and 64
//   (BLIT_SHIFT_DEST, out = d - (d >> k) + (s >> k)) they blend without a multiplication, and
//   their result differs from the opacity rule's (d × (256 - a) + s × a) >> 8 at the same
//   opacity. A blit at such an opacity therefore looks different on a surface of the display's
//   format than on any other surface, as the blitting rules intend. Any other opacity is
//   declined and runs the opacity rule.
// Palette indices take neither mixes nor opacities: format 1's entries for them copy.
// Beside the 256 effect entries are the stepped copies of the quarter-turn blit, without and
// with the colour key.
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

struct VBlitterTable {
    uint8_t format = 0;            // pixel format the loops are made for; 0 when none installed
    VBlitLoop effect[256] = {};    // by effect flags, null where no fast loop exists
    VSteppedCopy stepped[2] = {};  // without and with the colour key

    VBlitLoop Find(uint32_t flags) const { return effect[flags & 0xFF]; }
};

// Fills table with the fast loops for format (1, 2, 4 or 6); other formats get an empty table
// of that format. Every other entry is cleared.
void InstallBlitterTable(VBlitterTable* table, uint8_t format);
