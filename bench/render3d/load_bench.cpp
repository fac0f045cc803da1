// Load time of a 5 000-face model in each format our loaders read (bench/render3d/grid_5000.*,
// written by tools/render3d/make_test_models.py): our loader into a model on the
// application's pool, against assimp's importer reading the same bytes (it reads no V3D), in
// one run.
#include <assimp/scene.h>
#include <benchmark/benchmark.h>
#include <assimp/Importer.hpp>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fileio/alloc_pool.h"
#include "math/math_tables.h"
#include "render3d/loader_3ds.h"
#include "render3d/loader_ms3d.h"
#include "render3d/loader_v3d.h"
#include "render3d/model.h"
#include "render3d/pool_memory.h"

namespace {

constexpr uint32_t kFaces = 5000;

std::vector<uint8_t> Grid(const char* extension) {
    std::ifstream in(std::string(VANE_BENCH_RENDER3D) + "/grid_5000." + extension,
                     std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void SetFaceCounter(benchmark::State& state) {
    state.counters["faces/s"] =
        benchmark::Counter(kFaces, benchmark::Counter::kIsIterationInvariantRate);
}

// Each iteration replaces the model of the one before, as a reload does.
template <typename Loader>
void LoadOurs(benchmark::State& state, const char* extension) {
    const std::vector<uint8_t> file = Grid(extension);
    VAllocPool pool;
    V3DPoolMemory memory(pool);
    ClassVMathTables math;
    math.BuildTables();
    V3DServices services{&memory, &math, nullptr};
    V3DModel model;
    model.SetOwner(&services);
    Loader loader;
    for (auto _ : state) {
        const uint32_t a = uint32_t(-3);  // the demo's scale
        if (loader.LoadModel(&model, file.data(), uint32_t(file.size()), a, 0) != 0 ||
            model.GetFaceCount() != kFaces) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(model.VertexBuffer());
    }
    SetFaceCounter(state);
}

// assimp's import without post-processing steps.
void LoadAssimp(benchmark::State& state, const char* extension) {
    const std::vector<uint8_t> file = Grid(extension);
    Assimp::Importer importer;
    for (auto _ : state) {
        const aiScene* scene = importer.ReadFileFromMemory(file.data(), file.size(), 0, extension);
        if (scene == nullptr || scene->mNumMeshes != 1 || scene->mMeshes[0]->mNumFaces != kFaces) {
            state.SkipWithError("import failed");
            break;
        }
        benchmark::DoNotOptimize(scene);
    }
    SetFaceCounter(state);
}

void BM_Load3dsOurs(benchmark::State& state) {
    LoadOurs<VLoader_3DS>(state, "3ds");
}
void BM_Load3dsAssimp(benchmark::State& state) {
    LoadAssimp(state, "3ds");
}
void BM_LoadMs3dOurs(benchmark::State& state) {
    LoadOurs<VLoader_MS3D>(state, "ms3d");
}
void BM_LoadMs3dAssimp(benchmark::State& state) {
    LoadAssimp(state, "ms3d");
}
void BM_LoadV3dOurs(benchmark::State& state) {
    LoadOurs<VLoader_V3D>(state, "v3d");
}
BENCHMARK(BM_Load3dsOurs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Load3dsAssimp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadMs3dOurs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadMs3dAssimp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadV3dOurs)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
