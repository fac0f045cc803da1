// YCbCr to RGB for JPEG pictures, through four tables built once per decoder: for each 8-bit
// chroma value k = value - 128, the red term (91882 k + 32768) >> 16 of Cr, the blue term
// (116130 k + 32768) >> 16 of Cb, and the two parts of the green term, -46802 k of Cr and
// -22554 k + 32768 of Cb, added and shifted down by 16. Each channel is Y plus its term,
// limited to 0..255.
#pragma once

#include <cstdint>

struct VJpegColourTables {
    int32_t redfromcr[256];
    int32_t bluefromcb[256];
    int32_t greenfromcr[256];
    int32_t greenfromcb[256];

    void Build();

    // The rule for one pixel: R, G, B.
    void Pixel(uint8_t y, uint8_t cb, uint8_t cr, uint8_t rgb[3]) const {
        rgb[0] = Limit(y + redfromcr[cr]);
        rgb[1] = Limit(y + ((greenfromcr[cr] + greenfromcb[cb]) >> 16));
        rgb[2] = Limit(y + bluefromcb[cb]);
    }
    static uint8_t Limit(int32_t v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }
};

// The terms of count chroma samples: terms holds three rows, termstride apart, of red, green
// and blue terms.
void JpegChromaTerms(const VJpegColourTables& tables, const uint8_t* cb, const uint8_t* cr,
                     uint32_t count, int16_t* terms, uint32_t termstride);

// One line of width pixels from its luma samples and the terms of its chroma row, each term
// standing for hfactor (1 or 2) pixels side by side, as bytes R, G, B, 255 per pixel.
void JpegColourLine(const uint8_t* luma, const int16_t* terms, uint32_t termstride,
                    uint32_t hfactor, uint32_t width, uint8_t* out);
