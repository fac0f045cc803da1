#include "graphics2d/dither.h"

#include "graphics2d/pixel_format.h"

namespace {

constexpr uint8_t kMatrix5[8][8] = {
    {0, 0, 0, 0, 8, 8, 8, 8}, {0, 0, 0, 8, 0, 0, 8, 8}, {0, 0, 0, 0, 8, 8, 8, 8},
    {0, 0, 8, 0, 0, 8, 0, 8}, {0, 0, 0, 8, 8, 0, 8, 8}, {0, 8, 0, 0, 0, 8, 8, 0},
    {0, 0, 0, 0, 8, 8, 8, 8}, {0, 0, 8, 8, 0, 0, 0, 8},
};

constexpr uint8_t kMatrix6[4][4] = {{0, 0, 4, 4}, {0, 0, 0, 4}, {0, 4, 4, 0}, {0, 0, 0, 4}};

// Rows of the 4-bit matrix, bit 15 - column set where the entry is one step (16).
constexpr const char* kMatrix4[16] = {
    "0000001011011111", "0000100100110111", "0000010011101111", "0010001100011101",
    "0000000011111111", "0001100100110011", "0000011011001111", "0100000100111110",
    "0000001011011111", "0000110001100111", "0001000110111011", "0010001001011101",
    "0000010110101111", "0000100001110111", "0000001110011111", "0001010001101011",
};

uint32_t DitherChannel(int bits, uint32_t value, uint32_t position) {
    const uint32_t mask = (0xFFu << (8 - bits)) & 0xFF;
    if (value >= mask) return value;
    return (value & mask) + DitherStep(bits, value, position);
}

}  // namespace

uint32_t DitherStep(int channelbits, uint32_t value, uint32_t position) {
    switch (channelbits) {
        case 4:
            return kMatrix4[position % 16][value % 16] == '1' ? 16 : 0;
        case 5:
            return kMatrix5[position % 8][value % 8];
        case 6:
            return kMatrix6[position % 4][value % 4];
        default:
            return 0;
    }
}

uint32_t DitherColour(uint8_t format, uint32_t colour, uint32_t x, uint32_t y) {
    // Only the 16-bit formats drop bits worth dithering; 8-bit channels keep every value and
    // palette indices are matched, not truncated.
    const VFormatLayout f = FormatLayoutOf(format);
    if (f.bitsPerPixel != 16) return colour;
    const uint32_t p = x + y;
    const uint32_t r = DitherChannel(f.redBits, colour & 0xFF, p);
    const uint32_t g = DitherChannel(f.greenBits, (colour >> 8) & 0xFF, p);
    const uint32_t b = DitherChannel(f.blueBits, (colour >> 16) & 0xFF, p);
    return (colour & 0xFF000000) | r | g << 8 | b << 16;
}
