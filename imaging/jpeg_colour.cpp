#include "imaging/jpeg_colour.h"

void VJpegColourTables::Build() {
    for (int32_t i = 0; i < 256; ++i) {
        const int32_t k = i - 128;
        redfromcr[i] = (91882 * k + 32768) >> 16;
        bluefromcb[i] = (116130 * k + 32768) >> 16;
        greenfromcr[i] = -46802 * k;
        greenfromcb[i] = -22554 * k + 32768;
    }
}

void JpegChromaTerms(const VJpegColourTables& tables, const uint8_t* cb, const uint8_t* cr,
                     uint32_t width, uint32_t hfactor, int16_t* terms, uint32_t termstride) {
    int16_t* red = terms;
    int16_t* green = terms + termstride;
    int16_t* blue = terms + 2 * termstride;
    for (uint32_t x = 0; x < width; ++x) {
        const uint8_t b = cb[x / hfactor], r = cr[x / hfactor];
        red[x] = int16_t(tables.redfromcr[r]);
        green[x] = int16_t((tables.greenfromcr[r] + tables.greenfromcb[b]) >> 16);
        blue[x] = int16_t(tables.bluefromcb[b]);
    }
}

void JpegColourLine(const uint8_t* luma, const int16_t* terms, uint32_t termstride, uint32_t width,
                    uint8_t* out) {
    const int16_t* red = terms;
    const int16_t* green = terms + termstride;
    const int16_t* blue = terms + 2 * termstride;
    for (uint32_t x = 0; x < width; ++x) {
        out[4 * x + 0] = VJpegColourTables::Limit(luma[x] + red[x]);
        out[4 * x + 1] = VJpegColourTables::Limit(luma[x] + green[x]);
        out[4 * x + 2] = VJpegColourTables::Limit(luma[x] + blue[x]);
        out[4 * x + 3] = 255;
    }
}
