// The pictures the decode benchmark measures, encoded in memory by libpng, giflib and
// libjpeg-turbo.
#pragma once

#include <cstdint>
#include <vector>

constexpr uint32_t BENCH_SIZE = 1024;

// A 1024 × 1024 RGBA picture as a PNG file, interlaced or not.
std::vector<uint8_t> MakeBenchPng(bool interlaced);
// A 1024 × 1024 picture of 256 colours as a GIF file, interlaced or not.
std::vector<uint8_t> MakeBenchGif(bool interlaced);
// The same picture as a JPEG file of quality 85, chroma sampled 2 × 2 (4:2:0), baseline or
// progressive (libjpeg's standard progression).
std::vector<uint8_t> MakeBenchJpeg(bool progressive);
