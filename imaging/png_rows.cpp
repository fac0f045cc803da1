#include "imaging/png_rows.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr uint8_t FILTER_NONE = 0;
constexpr uint8_t FILTER_SUB = 1;
constexpr uint8_t FILTER_UP = 2;
constexpr uint8_t FILTER_AVERAGE = 3;
constexpr uint8_t FILTER_PAETH = 4;

inline uint8_t Paeth(int a, int b, int c) {
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    if (pa <= pb && pa <= pc) return uint8_t(a);
    return uint8_t(pb <= pc ? b : c);
}

// The filter step is a template parameter for the common pixel sizes so that the loops over
// one pixel's bytes unroll; STEP 0 takes the step from the argument.
template <uint32_t STEP>
void UnfilterRow(uint8_t filter, uint8_t* row, const uint8_t* above, size_t n, uint32_t step) {
    const size_t bpp = STEP != 0 ? STEP : step;
    switch (filter) {
        case FILTER_SUB:
            for (size_t i = bpp; i < n; ++i) row[i] = uint8_t(row[i] + row[i - bpp]);
            break;
        case FILTER_UP:
            if (above == nullptr) break;
            for (size_t i = 0; i < n; ++i) row[i] = uint8_t(row[i] + above[i]);
            break;
        case FILTER_AVERAGE:
            if (above == nullptr) {
                for (size_t i = bpp; i < n; ++i) row[i] = uint8_t(row[i] + (row[i - bpp] >> 1));
                break;
            }
            for (size_t i = 0; i < bpp && i < n; ++i) row[i] = uint8_t(row[i] + (above[i] >> 1));
            for (size_t i = bpp; i < n; ++i) {
                row[i] = uint8_t(row[i] + ((row[i - bpp] + above[i]) >> 1));
            }
            break;
        case FILTER_PAETH:
            // Without a row above, the predictor is always the left byte: Paeth becomes Sub.
            if (above == nullptr) {
                for (size_t i = bpp; i < n; ++i) row[i] = uint8_t(row[i] + row[i - bpp]);
                break;
            }
            for (size_t i = 0; i < bpp && i < n; ++i) row[i] = uint8_t(row[i] + above[i]);
            for (size_t i = bpp; i < n; ++i) {
                row[i] = uint8_t(row[i] + Paeth(row[i - bpp], above[i], above[i - bpp]));
            }
            break;
        default:  // none, and unknown types that are passed over
            break;
    }
}

void ConvertSubByte(const PngFormat& format, const uint8_t* row, uint32_t width, uint8_t* out) {
    const uint32_t depth = format.bitdepth;
    const uint32_t perbyte = 8 / depth;
    const uint32_t mask = (1u << depth) - 1;
    for (uint32_t i = 0; i < width; ++i) {
        const uint32_t shift = 8 - depth * (i % perbyte + 1);
        const uint32_t sample = (row[i / perbyte] >> shift) & mask;
        if (format.Indexed()) {
            out[i] = uint8_t(sample);
        } else {
            const uint8_t grey = PngScaleGrey(sample, format.bitdepth);
            out[4 * i + 0] = grey;
            out[4 * i + 1] = grey;
            out[4 * i + 2] = grey;
            out[4 * i + 3] = 255;
        }
    }
}

// Samples of 8 or 16 bits; s is the byte distance between samples (1 or 2), so the first
// byte of a 16-bit sample is its most significant one.
template <uint32_t S>
void ConvertWhole(uint8_t colourtype, const uint8_t* row, uint32_t width, uint8_t* out) {
    switch (colourtype) {
        case PNG_GREY:
            for (uint32_t i = 0; i < width; ++i, row += S, out += 4) {
                out[0] = out[1] = out[2] = row[0];
                out[3] = 255;
            }
            break;
        case PNG_GREY_ALPHA:
            for (uint32_t i = 0; i < width; ++i, row += 2 * S, out += 4) {
                out[0] = out[1] = out[2] = row[0];
                out[3] = row[S];
            }
            break;
        case PNG_COLOUR:
            for (uint32_t i = 0; i < width; ++i, row += 3 * S, out += 4) {
                out[0] = row[0];
                out[1] = row[S];
                out[2] = row[2 * S];
                out[3] = 255;
            }
            break;
        case PNG_COLOUR_ALPHA:
            if (S == 1) {
                std::memcpy(out, row, size_t(width) * 4);
                break;
            }
            for (uint32_t i = 0; i < width; ++i, row += 4 * S, out += 4) {
                out[0] = row[0];
                out[1] = row[S];
                out[2] = row[2 * S];
                out[3] = row[3 * S];
            }
            break;
        default:  // palette, 8 bits
            std::memcpy(out, row, width);
            break;
    }
}

}  // namespace

void PngUnfilterRow(uint8_t* row, const uint8_t* above, uint64_t rowbytes, uint32_t filterstep) {
    const uint8_t filter = row[0];
    if (filter == FILTER_NONE) return;
    uint8_t* bytes = row + 1;
    const size_t n = size_t(rowbytes);
    switch (filterstep) {
        case 1:
            UnfilterRow<1>(filter, bytes, above, n, filterstep);
            break;
        case 2:
            UnfilterRow<2>(filter, bytes, above, n, filterstep);
            break;
        case 3:
            UnfilterRow<3>(filter, bytes, above, n, filterstep);
            break;
        case 4:
            UnfilterRow<4>(filter, bytes, above, n, filterstep);
            break;
        case 6:
            UnfilterRow<6>(filter, bytes, above, n, filterstep);
            break;
        case 8:
            UnfilterRow<8>(filter, bytes, above, n, filterstep);
            break;
        default:
            UnfilterRow<0>(filter, bytes, above, n, filterstep);
            break;
    }
}

void PngConvertRow(const PngFormat& format, const uint8_t* row, uint32_t width, uint8_t* out) {
    if (format.bitdepth < 8) {
        ConvertSubByte(format, row, width, out);
    } else if (format.bitdepth == 8) {
        ConvertWhole<1>(format.colourtype, row, width, out);
    } else {
        ConvertWhole<2>(format.colourtype, row, width, out);
    }
}

void PngApplyTransparentKey(uint8_t* rgba, uint32_t width, uint32_t key) {
    const uint8_t r = uint8_t(key), g = uint8_t(key >> 8), b = uint8_t(key >> 16);
    for (uint32_t i = 0; i < width; ++i, rgba += 4) {
        if (rgba[0] == r && rgba[1] == g && rgba[2] == b) rgba[3] = 0;
    }
}
