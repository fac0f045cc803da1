// Ordered dithering of colour values before they are reduced to 4-, 5- or 6-bit channels.
#pragma once

#include <cstdint>

// The colour dithered for format (2, 3 or 4) at position value x + y; other formats unchanged.
// Alpha bits are kept.
uint32_t DitherColour(uint8_t format, uint32_t colour, uint32_t x, uint32_t y);

// One threshold-matrix entry (0 or one quantisation step) for a channel of the given width,
// channel value and position value; the shaded triangle fill dithers with the same matrices.
uint32_t DitherStep(int channelbits, uint32_t value, uint32_t position);
