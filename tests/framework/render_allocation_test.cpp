// RenderModel allocates nothing per frame, in any mode: neither through the model's memory
// service nor with operator new (counted here for the whole program).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "graphics2d/blit_flags.h"
#include "render3d/model.h"
#include "render3d/render_list.h"
#include "tests/framework/recorder.h"

namespace {

std::atomic<uint64_t> gNews{0};

std::vector<uint8_t> ReadAsset(const char* name) {
    std::vector<uint8_t> bytes;
    const std::string path = std::string(VANE_ASSETS_DIR) + "/" + name;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        uint8_t buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + n);
        std::fclose(f);
    }
    return bytes;
}

// Passes every block on to the application's memory service and counts them.
class CountingMemory final : public V3DMemory {
  public:
    explicit CountingMemory(V3DMemory* inner) : inner_(inner) {}
    void* Allocate(size_t size) override {
        ++allocations;
        return inner_->Allocate(size);
    }
    void Release(void* block) override { inner_->Release(block); }
    uint32_t allocations = 0;

  private:
    V3DMemory* inner_;
};

TEST(RenderAllocation, RenderModelAllocatesNothingPerFrame) {
    const std::vector<uint8_t> file = ReadAsset("raiders.3ds");
    ASSERT_FALSE(file.empty());
    VHeadlessOptions options;
    options.frameBudget = 1;
    Harness h(options);
    h.script.frame = [&](ClassVane& app, ClassVScreen& screen, uint32_t) {
        V3DServices& services = app.ModelServices();
        V3DMemory* const inner = services.memory;
        CountingMemory counting(inner);
        services.memory = &counting;
        V3DModel model;
        ASSERT_EQ(screen.LoadModel(model, file.data(), uint32_t(file.size()), -3, 0), 0u);
        V2DSurface texture;
        ASSERT_EQ(screen.CreateSurface(texture, 64, 64, 0), 0u);
        screen.SetTexture(&texture);
        screen.EnableLight(0, 1);
        const uint32_t modes[] = {0,
                                  V3DRENDER_LIT,
                                  V3DRENDER_SHADED,
                                  V3DRENDER_SHADED | V3DRENDER_WIREFRAME,
                                  V3DRENDER_WIREFRAME,
                                  V3DRENDER_TEXTURED,
                                  V3DRENDER_TEXTURED | BLIT_OPACITY | BLIT_ADD};
        const uint32_t before = counting.allocations;
        const uint64_t newsBefore = gNews.load();
        for (uint32_t mode : modes) {
            for (int32_t frame = 0; frame < 10; ++frame) {
                screen.ResetView();
                screen.TranslateView(0, 0, -3000);
                screen.RotateView(frame * 100, frame * 200, 0);
                screen.SetRenderFlags(mode);
                ASSERT_EQ(screen.RenderModel(&model), 0u);
            }
        }
        EXPECT_GT(model.BuildTriangleList(false, true, false, false, true), 100u)
            << "the model is in view, so the frames drew faces";
        EXPECT_EQ(counting.allocations, before);
        EXPECT_EQ(gNews.load(), newsBefore);
        // The model's buffers go back before the counting service does.
        model.Free();
        services.memory = inner;
    };
    ASSERT_EQ(h.Run(), 0u);
}

}  // namespace

// Every plain form of operator new is counted, and every operator delete matches it.
namespace {

void* CountedAllocation(size_t size) {
    ++gNews;
    return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

void* operator new(size_t size) {
    if (void* p = CountedAllocation(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size) {
    if (void* p = CountedAllocation(size)) return p;
    throw std::bad_alloc();
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return CountedAllocation(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return CountedAllocation(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, size_t) noexcept {
    std::free(p);
}
