// The pictures the decode benchmark measures, encoded in memory by libpng and giflib.
#pragma once

#include <cstdint>
#include <vector>

constexpr uint32_t BENCH_SIZE = 1024;

// A 1024 × 1024 RGBA picture as a PNG file, interlaced or not.
std::vector<uint8_t> MakeBenchPng(bool interlaced);
// A 1024 × 1024 picture of 256 colours as a GIF file, interlaced or not.
std::vector<uint8_t> MakeBenchGif(bool interlaced);
