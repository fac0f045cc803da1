// Marker codes of JPEG files (the byte after 0xFF) and the zigzag order of coefficients.
#pragma once

#include <cstdint>

constexpr uint8_t JPEG_SOF0 = 0xC0;  // baseline sequential, Huffman
constexpr uint8_t JPEG_SOF1 = 0xC1;  // extended sequential, Huffman
constexpr uint8_t JPEG_SOF2 = 0xC2;  // progressive, Huffman
constexpr uint8_t JPEG_SOF3 = 0xC3;  // lossless
constexpr uint8_t JPEG_DHT = 0xC4;
constexpr uint8_t JPEG_SOF5 = 0xC5;  // SOF5-SOF7: hierarchical
constexpr uint8_t JPEG_SOF7 = 0xC7;
constexpr uint8_t JPEG_JPG = 0xC8;
constexpr uint8_t JPEG_SOF9 = 0xC9;  // SOF9-SOF15 and DAC: arithmetic coding
constexpr uint8_t JPEG_SOF11 = 0xCB;
constexpr uint8_t JPEG_DAC = 0xCC;
constexpr uint8_t JPEG_SOF13 = 0xCD;
constexpr uint8_t JPEG_SOF15 = 0xCF;
constexpr uint8_t JPEG_RST0 = 0xD0;
constexpr uint8_t JPEG_RST7 = 0xD7;
constexpr uint8_t JPEG_SOI = 0xD8;
constexpr uint8_t JPEG_EOI = 0xD9;
constexpr uint8_t JPEG_SOS = 0xDA;
constexpr uint8_t JPEG_DQT = 0xDB;
constexpr uint8_t JPEG_DRI = 0xDD;
constexpr uint8_t JPEG_TEM = 0x01;

// Position in the block (row by row) of the k-th coefficient in coding order.
constexpr uint8_t JPEG_ZIGZAG[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};
