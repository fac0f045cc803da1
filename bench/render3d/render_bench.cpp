// Faces per second of the renderer into a 240 × 320 565 back buffer, for rings of 1000 and
// 5000 faces in each mode, split into building the triangle list (transform, project, cull,
// colour and the sort), the sort alone, and the whole render (the fills are the difference).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "graphics2d/blit_flags.h"
#include "graphics2d/surface.h"
#include "graphics2d/surface_services.h"
#include "math/math_tables.h"
#include "math/matrix.h"
#include "math/vector.h"
#include "render3d/depth_sort.h"
#include "render3d/model.h"
#include "render3d/model_services.h"
#include "render3d/render_list.h"
#include "tests/render3d/torus_model.h"

namespace {

class BenchMemory final : public V3DMemory {
  public:
    void* Allocate(size_t size) override { return ::operator new(size); }
    void Release(void* block) override { ::operator delete(block); }
};

class BenchDisplay final : public V3DDisplayState {
  public:
    VLight* Lights() override { return lights; }
    V2DSurface* Texture() const override { return texture; }
    uint32_t ProjectionScale() const override { return 240; }
    VLight lights[kDisplayLights];
    V2DSurface* texture = nullptr;
};

// One back buffer, texture, light and pair of rings for every benchmark.
struct Scene {
    Scene() {
        math.BuildTables();
        buffer.SetOwner(&surfaces);
        buffer.Create(240, 320, VPIXELFORMAT_565, 0);
        texture.SetOwner(&surfaces);
        texture.Create(64, 64, VPIXELFORMAT_565, 0);
        for (int32_t y = 0; y < 64; ++y)
            for (int32_t x = 0; x < 64; ++x)
                texture.PutPixel(x, y, ((x / 8 + y / 8) & 1) ? 0x30E0FF : 0x404040);
        display.texture = &texture;
        int32_t lx = 2048, ly = 2048, lz = -4096;
        Normalize(lx, ly, lz, 0);
        display.lights[0] = VLight{1, {lx * 8, ly * 8, lz * 8}, 0, 0xFFFFFF};
        const TorusShape shapes[2] = {{25, 20, 3000, 1200, 0}, {50, 50, 3000, 1200, 0}};
        for (int i = 0; i < 2; ++i) {
            rings[i].SetOwner(&services);
            BuildTorus(rings[i], shapes[i]);
            VMatrix& m = rings[i].ModelMatrix();
            MatrixRotation(math, -700, 300, 0, m);
            m[14] = -6000;
        }
    }
    ClassVMathTables math;
    BenchMemory memory;
    BenchDisplay display;
    V3DServices services{&memory, &math, &display};
    VSurfaceServices surfaces{VPIXELFORMAT_565};
    V2DSurface buffer, texture;
    V3DModel rings[2];
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

struct ModeArgs {
    bool lighting, colour, shaded, textured, cull;
};

ModeArgs ArgsFor(V3DModel& model, uint32_t flags) {
    const bool textured = (flags & V3DRENDER_TEXTURED) && model.Has(V3DATTR_TEXCOORD);
    return {(flags & (V3DRENDER_SHADED | V3DRENDER_LIT)) != 0, !textured,
            (flags & V3DRENDER_SHADED) != 0, textured,
            (flags & kRenderCullBits) != V3DRENDER_WIREFRAME};
}

V3DModel& RingOf(const benchmark::State& state) {
    return TheScene().rings[state.range(0) == 1000 ? 0 : 1];
}

void Count(benchmark::State& state, uint32_t drawn) {
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
    state.counters["drawn"] = drawn;
}

void BM_Build(benchmark::State& state) {
    V3DModel& model = RingOf(state);
    const ModeArgs a = ArgsFor(model, uint32_t(state.range(1)));
    uint32_t n = 0;
    for (auto _ : state) {
        n = model.BuildTriangleList(a.lighting, a.colour, a.shaded, a.textured, a.cull);
        benchmark::DoNotOptimize(n);
    }
    Count(state, n);
}

void BM_Sort(benchmark::State& state) {
    V3DModel& model = RingOf(state);
    const ModeArgs a = ArgsFor(model, uint32_t(state.range(1)));
    const uint32_t n = model.BuildTriangleList(a.lighting, a.colour, a.shaded, a.textured, a.cull);
    // Keys in face order, as the build leaves them before its sort.
    std::vector<V3DSortEntry> unsorted(n);
    for (uint32_t i = 0; i < n; ++i) unsorted[model.SortList()[i].index] = model.SortList()[i];
    std::vector<V3DSortEntry> work(n);
    for (auto _ : state) {
        std::memcpy(work.data(), unsorted.data(), n * sizeof(V3DSortEntry));
        SortByDepth(work.data(), n);
        benchmark::DoNotOptimize(work.data());
    }
    Count(state, n);
}

void BM_Render(benchmark::State& state) {
    Scene& scene = TheScene();
    V3DModel& model = RingOf(state);
    const uint32_t flags = uint32_t(state.range(1));
    const uint32_t property = (flags & BLIT_OPACITY) ? 128 : 0;
    for (auto _ : state) {
        model.DrawInto(scene.buffer, 0, 0, flags, property);
        benchmark::ClobberMemory();
    }
    const ModeArgs a = ArgsFor(model, flags);
    Count(state, model.BuildTriangleList(a.lighting, a.colour, a.shaded, a.textured, a.cull));
}

// Faces × render flags: flat, lit per face, lit and shaded, dithered, wireframe, textured,
// textured with opacity and add.
void Modes(benchmark::internal::Benchmark* b) {
    const int64_t modes[] = {0,
                             V3DRENDER_LIT,
                             V3DRENDER_SHADED,
                             V3DRENDER_SHADED | V3DRENDER_WIREFRAME,
                             V3DRENDER_WIREFRAME,
                             V3DRENDER_TEXTURED,
                             V3DRENDER_TEXTURED | BLIT_OPACITY | BLIT_ADD};
    for (int64_t faces : {1000, 5000})
        for (int64_t mode : modes) b->Args({faces, mode});
    b->ArgNames({"faces", "flags"});
}

BENCHMARK(BM_Build)->Apply(Modes);
BENCHMARK(BM_Sort)->Apply(Modes);
BENCHMARK(BM_Render)->Apply(Modes);

}  // namespace

BENCHMARK_MAIN();
