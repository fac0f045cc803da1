// Load time of a 5 000-face 3D Studio model (bench/render3d/grid_5000.3ds, written by
// tools/render3d/make_test_models.py): our loader into a model on the application's pool,
// against assimp's importer reading the same bytes, in one run.
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
#include "render3d/model.h"
#include "render3d/pool_memory.h"

namespace {

constexpr uint32_t kFaces = 5000;

const std::vector<uint8_t>& Grid() {
    static const std::vector<uint8_t> file = [] {
        std::ifstream in(std::string(VANE_BENCH_RENDER3D) + "/grid_5000.3ds", std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }();
    return file;
}

void SetFaceCounter(benchmark::State& state) {
    state.counters["faces/s"] =
        benchmark::Counter(kFaces, benchmark::Counter::kIsIterationInvariantRate);
}

// Each iteration replaces the model of the one before, as a reload does.
void BM_Load3dsOurs(benchmark::State& state) {
    const std::vector<uint8_t>& file = Grid();
    VAllocPool pool;
    V3DPoolMemory memory(pool);
    ClassVMathTables math;
    math.BuildTables();
    V3DServices services{&memory, &math, nullptr};
    V3DModel model;
    model.SetOwner(&services);
    VLoader_3DS loader;
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
BENCHMARK(BM_Load3dsOurs)->Unit(benchmark::kMicrosecond);

// assimp's import without post-processing steps.
void BM_Load3dsAssimp(benchmark::State& state) {
    const std::vector<uint8_t>& file = Grid();
    Assimp::Importer importer;
    for (auto _ : state) {
        const aiScene* scene = importer.ReadFileFromMemory(file.data(), file.size(), 0, "3ds");
        if (scene == nullptr || scene->mNumMeshes != 1 || scene->mMeshes[0]->mNumFaces != kFaces) {
            state.SkipWithError("import failed");
            break;
        }
        benchmark::DoNotOptimize(scene);
    }
    SetFaceCounter(state);
}
BENCHMARK(BM_Load3dsAssimp)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
