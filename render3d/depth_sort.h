// The renderer's depth order: an in-place heap sort of the sort list.
#pragma once

#include <cstdint>

#include "render3d/model.h"

// Sorts count entries in ascending order of their whole 32-bit key (smaller keys lie farther
// away and are drawn first). In place and without allocating; equal keys keep no particular
// order.
void SortByDepth(V3DSortEntry* entries, uint32_t count);
