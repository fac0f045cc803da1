// Fill rate of shaded and textured triangles on a 240 × 320 target, small and large, and of
// a 128 × 128 picture turned and scaled. Each benchmark reports the pixels it draws per second
// ("pixels/s"); pixels are counted once by drawing into a cleared surface. The screen gradient
// is two shaded triangles whose rows hardly change colour.
#include <benchmark/benchmark.h>

#include <functional>

#include "graphics2d/polygon_span_loops.h"
#include "graphics2d/surface.h"
#include "graphics2d/surface_services.h"
#include "graphics2d/transformed_blit.h"
#include "math/math_tables.h"

namespace {

constexpr int32_t kScreenW = 240, kScreenH = 320;
constexpr int32_t kOne = 1024;

struct Scene {
    explicit Scene(uint8_t format, uint32_t texturew = 64, uint32_t textureh = 64)
        : services(format) {
        tables.BuildTables();
        services.SetTurnTables(&tables);
        screen.SetOwner(&services);
        texture.SetOwner(&services);
        screen.Create(kScreenW, kScreenH, format, 0);
        texture.Create(texturew, textureh, format, 0);
        for (uint32_t y = 0; y < textureh; ++y)
            for (uint32_t x = 0; x < texturew; ++x)
                texture.PutPixel(int32_t(x), int32_t(y), (x * 37 + y * 91) * 0x010307 | 0x404040);
        texture.SetColorKey(0x404040);
    }
    VSurfaceServices services;
    ClassVMathTables tables;  // the turns' sines, as the application's 3D math gives them
    V2DSurface screen, texture;
};

// Pixels one call of draw changes on a cleared screen.
int64_t CountPixels(Scene& s, const std::function<void()>& draw) {
    s.screen.FillRect(nullptr, 0);
    draw();
    int64_t n = 0;
    for (int32_t y = 0; y < kScreenH; ++y)
        for (int32_t x = 0; x < kScreenW; ++x) n += s.screen.GetPixel(x, y) != 0;
    return n;
}

void Run(benchmark::State& state, Scene& s, const std::function<void()>& draw) {
    const int64_t pixels = CountPixels(s, draw);
    for (auto _ : state) {
        draw();
        benchmark::ClobberMemory();
    }
    state.counters["pixels/s"] = benchmark::Counter(double(pixels) * double(state.iterations()),
                                                    benchmark::Counter::kIsRate);
    state.counters["pixels"] = double(pixels);
}

// A small triangle (about 16 × 16 pixels, 128 pixels) or a large one (half the screen).
struct Triangle {
    int32_t x1, y1, x2, y2, x3, y3;
};
constexpr Triangle kSmall{100 * kOne + 300, 100 * kOne + 200, 116 * kOne + 700,
                          101 * kOne + 100, 103 * kOne,       116 * kOne + 900};
constexpr Triangle kLarge{0, 0, kScreenW* kOne, 10 * kOne, 5 * kOne, kScreenH* kOne};

void Shaded(benchmark::State& state, uint8_t format, Triangle t, uint32_t flags) {
    Scene s(format);
    Run(state, s, [&] {
        s.screen.FillShadedTriangle(t.x1, t.y1, 0x2080F0, t.x2, t.y2, 0xF04020, t.x3, t.y3,
                                    0x30F060, flags);
    });
}

// The demo's background: the whole screen, grey at the top to black at the bottom.
void Gradient(benchmark::State& state, uint8_t format) {
    Scene s(format);
    Run(state, s, [&] { s.screen.FillGradientRect(nullptr, 0x505050, 0x000000); });
}

void Textured(benchmark::State& state, uint8_t format, Triangle t, uint32_t texturew,
              uint32_t flags, uint32_t property) {
    Scene s(format, texturew, 64);
    const int32_t tw = int32_t(texturew) * kOne;
    Run(state, s, [&] {
        s.screen.FillTexturedTriangle(t.x1, t.y1, 0, 0, t.x2, t.y2, 2 * tw, 0, t.x3, t.y3, 0,
                                      3 * 64 * kOne, &s.texture, flags, property);
    });
}

void Turned(benchmark::State& state, uint8_t format, uint32_t angle, int32_t scale,
            uint32_t flags) {
    Scene s(format, 128, 128);
    VBlitTransform t;
    t.angle = angle;
    t.xscale = t.yscale = scale;
    t.flags = flags;
    Run(state, s, [&] { s.screen.BlitTransformed(120, 160, &s.texture, nullptr, &t); });
}

constexpr uint8_t k565 = VPIXELFORMAT_565, kX888 = VPIXELFORMAT_X888;

BENCHMARK_CAPTURE(Shaded, small_565, k565, kSmall, 0);
BENCHMARK_CAPTURE(Shaded, large_565, k565, kLarge, 0);
BENCHMARK_CAPTURE(Shaded, large_565_dither, k565, kLarge, VFILL_DITHER);
BENCHMARK_CAPTURE(Shaded, small_x888, kX888, kSmall, 0);
BENCHMARK_CAPTURE(Gradient, screen_565, k565);
BENCHMARK_CAPTURE(Gradient, screen_x888, kX888);
BENCHMARK_CAPTURE(Shaded, large_x888, kX888, kLarge, 0);

BENCHMARK_CAPTURE(Textured, small_565_square, k565, kSmall, 64, 0, 0);
BENCHMARK_CAPTURE(Textured, large_565_square, k565, kLarge, 64, 0, 0);
BENCHMARK_CAPTURE(Textured, large_565_any_size, k565, kLarge, 60, 0, 0);
BENCHMARK_CAPTURE(Textured, large_565_square_key, k565, kLarge, 64, BLIT_KEY, 0);
BENCHMARK_CAPTURE(Textured, large_565_square_opacity, k565, kLarge, 64, BLIT_OPACITY, 100);
BENCHMARK_CAPTURE(Textured, small_x888_square, kX888, kSmall, 64, 0, 0);
BENCHMARK_CAPTURE(Textured, large_x888_square, kX888, kLarge, 64, 0, 0);
BENCHMARK_CAPTURE(Textured, large_x888_any_size, kX888, kLarge, 60, 0, 0);

BENCHMARK_CAPTURE(Turned, quarter_565, k565, 1024, 0x10000, 0);
BENCHMARK_CAPTURE(Turned, rotated_565, k565, 300, 0x10000, 0);
BENCHMARK_CAPTURE(Turned, rotated_scaled_565, k565, 300, 0x18000, 0);
BENCHMARK_CAPTURE(Turned, rotated_scaled_565_key, k565, 300, 0x18000, BLIT_KEY);
BENCHMARK_CAPTURE(Turned, quarter_x888, kX888, 1024, 0x10000, 0);
BENCHMARK_CAPTURE(Turned, rotated_scaled_x888, kX888, 300, 0x18000, 0);

}  // namespace

BENCHMARK_MAIN();
