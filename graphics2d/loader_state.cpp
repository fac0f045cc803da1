#include "graphics2d/loader_state.h"

#include "fileio/memory.h"
#include "graphics2d/surface_results.h"

uint32_t StorePaletteEntries(uint32_t* palette, VLoaderState& state) {
    if (state.paletteindex >= 256) return VSURF_PALETTERANGE;
    if (palette == nullptr) return VSURF_NOTCREATED;
    uint32_t count = state.length / 4;
    if (count > 256 - state.paletteindex) count = 256 - state.paletteindex;
    if (count > 0) MemCopy(palette + state.paletteindex, state.data, count * 4, false);
    state.paletteindex += count;
    return VSURF_OK;
}
