// The present's copy of a 240 × 320 back buffer to a 240 × 320 screen: upright (one block),
// upright into a wider screen row (row by row) and turned by each quarter (32 × 32 tiles), for
// 16-, 24- and 32-bit pixels.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "framework/turning_copy.h"

namespace {

constexpr uint32_t kWidth = 240;
constexpr uint32_t kHeight = 320;

// args: bytes per pixel, quarter turns, extra screen row bytes.
void BM_Present(benchmark::State& state) {
    const uint32_t bytes = uint32_t(state.range(0));
    const uint32_t turns = uint32_t(state.range(1));
    const int32_t sx = int32_t(bytes);
    const int32_t sy = int32_t(kWidth * bytes + state.range(2));
    std::vector<uint8_t> screen(size_t(sy) * kHeight);
    const bool swapped = turns % 2 != 0;
    const uint32_t width = swapped ? kHeight : kWidth, height = swapped ? kWidth : kHeight;
    std::vector<uint8_t> back(size_t(width) * height * bytes, 0x5A);
    const VPixelWalk source{back.data(), int32_t(bytes), int32_t(width * bytes)};
    // The screen layout of each turn: origin offset and logical steps.
    VPixelWalk target{screen.data(), sx, sy};
    if (turns == 1) target = {screen.data() + (kWidth - 1) * sx, sy, -sx};
    if (turns == 2) target = {screen.data() + (kHeight - 1) * sy + (kWidth - 1) * sx, -sx, -sy};
    if (turns == 3) target = {screen.data() + (kHeight - 1) * sy, -sy, sx};
    for (auto _ : state) {
        TurningCopy(source, target, width, height, bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * bytes);
}

BENCHMARK(BM_Present)
    ->ArgNames({"bytes", "turns", "pad"})
    ->Args({2, 0, 0})
    ->Args({2, 0, 64})
    ->Args({2, 1, 0})
    ->Args({2, 2, 0})
    ->Args({2, 3, 0})
    ->Args({3, 1, 0})
    ->Args({4, 0, 0})
    ->Args({4, 1, 0});

}  // namespace

BENCHMARK_MAIN();
