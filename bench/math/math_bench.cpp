// Throughput of the fixed-point math on the renderer's per-vertex path (point transforms)
// and on the per-model and load-time paths (matrix set-up, normalisation, float conversion).
#include <benchmark/benchmark.h>

#include <bit>
#include <cstdint>
#include <random>
#include <vector>

#include "math/fixed_point.h"
#include "math/math_tables.h"
#include "math/matrix.h"
#include "math/vector.h"

namespace {

struct Vertex {
    int32_t x, y, z;
};

std::vector<Vertex> RandomVertices(size_t count, int32_t range) {
    std::mt19937 random(42);
    std::uniform_int_distribution<int32_t> coordinate(-range, range);
    std::vector<Vertex> v(count);
    for (Vertex& p : v) p = {coordinate(random), coordinate(random), coordinate(random)};
    return v;
}

VMatrix ModelView(const ClassVMathTables& math) {
    VMatrix m;
    MatrixIdentity(m);
    MatrixRotation(math, 300, 700, 1100, m);
    MatrixTranslation(10, -20, -3000, m);
    return m;
}

// Vertices of a mid-sized model through a combined model and view matrix.
void BM_TransformPoint(benchmark::State& state) {
    ClassVMathTables math;
    math.BuildTables();
    const VMatrix m = ModelView(math);
    const std::vector<Vertex> in = RandomVertices(state.range(0), 4096);
    std::vector<Vertex> out(in.size());
    for (auto _ : state) {
        for (size_t i = 0; i < in.size(); ++i) {
            TransformPoint(out[i].x, out[i].y, out[i].z, in[i].x, in[i].y, in[i].z, m);
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TransformPoint)->Arg(1000);

// A rotation, a translation and the multiplication with a view: once per model per frame.
void BM_RotateAndMultiply(benchmark::State& state) {
    ClassVMathTables math;
    math.BuildTables();
    const VMatrix view = ModelView(math);
    int32_t angle = 0;
    for (auto _ : state) {
        VMatrix m = view;
        VMatrix r;
        MatrixIdentity(r);
        MatrixRotation(math, angle, angle * 2, angle * 3, r);
        MatrixTranslation(angle, 0, 0, r);
        MatrixMultiply(m, r);
        benchmark::DoNotOptimize(m);
        angle += 7;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RotateAndMultiply);

// Normal vectors at load time.
void BM_Normalize(benchmark::State& state) {
    const std::vector<Vertex> in = RandomVertices(1000, 1 << 20);
    for (auto _ : state) {
        for (Vertex v : in) {
            Normalize(v.x, v.y, v.z, 7);
            benchmark::DoNotOptimize(v);
        }
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_Normalize);

// Model-file coordinates at load time.
void BM_FloatToFixed(benchmark::State& state) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(-500.0f, 500.0f);
    std::vector<uint32_t> bits(1000);
    for (uint32_t& b : bits) b = std::bit_cast<uint32_t>(value(random));
    for (auto _ : state) {
        for (uint32_t b : bits) benchmark::DoNotOptimize(FloatToFixed(b, 12));
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_FloatToFixed);

}  // namespace

BENCHMARK_MAIN();
