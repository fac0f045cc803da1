// Effect flags and property word of every drawing operation, and their normalisation.
#pragma once

#include <cstdint>

constexpr uint32_t BLIT_KEY = 0x01;       // skip source pixels equal to the source's colour key
constexpr uint32_t BLIT_FILL = 0x02;      // every drawn pixel takes the property colour
constexpr uint32_t BLIT_MIX = 0x04;       // average of the pixel and the property colour
constexpr uint32_t BLIT_TINT = 0x06;      // property colour scaled by the pixel's brightest channel
constexpr uint32_t BLIT_OPACITY = 0x08;   // blend with the destination
constexpr uint32_t BLIT_ADD = 0x10;       // add, each channel saturating
constexpr uint32_t BLIT_SUBTRACT = 0x20;  // subtract, each channel stopping at 0
constexpr uint32_t BLIT_FORCEHW = 1u << 30;
constexpr uint32_t BLIT_NOHW = 1u << 31;

// Internal effects chosen by blits for opacities that need no multiplication:
// out = s - (s >> k) + (d >> k) for 256 - 256/2^k, out = d - (d >> k) + (s >> k) for 256/2^k.
constexpr uint32_t BLIT_SHIFT_SOURCE = 0x40;
constexpr uint32_t BLIT_SHIFT_DEST = 0x80;

constexpr uint32_t kBlitColourFlags = BLIT_FILL | BLIT_MIX;
constexpr uint32_t kBlitEffectMask = 0xFF;

// Flags, opacity and colour after normalisation.
struct VEffect {
    uint32_t flags = 0;    // effect bits 0-7 only
    uint32_t opacity = 0;  // 1..254 while BLIT_OPACITY is set
    uint32_t colour = 0;   // property colour (colour value) for the colour flags
};

// Normalisation for Blit: opacity from the property's top byte with a colour flag, else from
// its low byte (so 256 counts as 0). Returns VSURF_OK, or VSURF_NOTHINGTODRAW when the opacity
// quantises to nothing.
uint32_t NormaliseBlitEffect(uint32_t flags, uint32_t property, uint8_t format, VEffect* out);

// Normalisation for a single colour (PutPixel, FillRect): the colour flags are applied to
// colour here and removed, BLIT_OPACITY with add or subtract scales the colour and is removed.
// Returns false when nothing is to be drawn.
bool NormaliseColourEffect(uint32_t flags, uint32_t property, uint8_t format, uint32_t* colour,
                           VEffect* out);

// For an opacity of 256 - 256/2^k (BLIT_SHIFT_SOURCE) or 256/2^k (BLIT_SHIFT_DEST), the flag
// that names it; 0 for any other opacity. k is returned in *shift.
uint32_t ShiftEffectFor(uint32_t opacity, uint32_t* shift);
