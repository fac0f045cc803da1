// Pictures loaded through the display: the loaders the framework registers at start-up, the
// surfaces the display owns, and the 16 loader places.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include <vector>

#include "imaging/loader_bmp.h"
#include "render3d/model.h"
#include "tests/framework/recorder.h"
#include "tests/render3d/chunks_3ds.h"
#include "tests/render3d/ms3d_file.h"
#include "tests/render3d/v3d_file.h"

namespace {

std::vector<uint8_t> ReadAsset(const char* name) {
    std::ifstream in(std::string(VANE_ASSETS_DIR) + "/" + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

struct Picture {
    const char* file;
    bool rgba;
    uint32_t width, height;
    int32_t x, y;
    uint32_t colour;  // at (x, y), as Pillow decodes the file; alpha in bits 24-31 for RGBA
};

// The demo's own pictures, one per loader, onto an X888 back buffer so that colours are
// exact. Expected colours from Pillow.
const Picture kPictures[] = {
    {"font.bmp", false, 1350, 8, 1349, 0, 0xF8F8F8},
    {"slogans.gif", false, 150, 120, 0, 0, 0x000000},
    {"advert.png", false, 300, 440, 10, 10, 0x2D0C0C},
    {"logo.png", true, 203, 140, 101, 70, 0x48319BF8},
};

TEST(DisplayLoading, TheFrameworksLoadersReadTheDemosPictures) {
    VHeadlessOptions options;
    options.frameBudget = 1;
    options.screenFormat = 6;
    Harness h(options);
    uint32_t registered = 0;
    h.script.frame = [&](ClassVane&, ClassVScreen& screen, uint32_t) {
        registered = screen.Loaders().Count();
        for (const Picture& p : kPictures) {
            SCOPED_TRACE(p.file);
            const std::vector<uint8_t> data = ReadAsset(p.file);
            ASSERT_FALSE(data.empty());
            if (p.rgba) {
                V2DSurfaceRGBA surface;
                ASSERT_EQ(screen.LoadSurfaceRGBA(surface, data.data(), uint32_t(data.size()), 0),
                          0u);
                EXPECT_EQ(surface.GetWidth(), p.width);
                EXPECT_EQ(surface.GetHeight(), p.height);
                EXPECT_EQ(surface.GetPixel(p.x, p.y), p.colour);
            } else {
                V2DSurface surface;
                ASSERT_EQ(screen.LoadSurface(surface, data.data(), uint32_t(data.size()), 0), 0u);
                EXPECT_EQ(surface.GetWidth(), p.width);
                EXPECT_EQ(surface.GetHeight(), p.height);
                EXPECT_EQ(surface.GetPixel(p.x, p.y), p.colour);
            }
        }
        const uint8_t notAPicture[] = {'V', 'O', 'R', 'L', 'U', 'N', 'D'};
        V2DSurface surface;
        EXPECT_EQ(screen.LoadSurface(surface, notAPicture, sizeof(notAPicture), 0), 3u)
            << "no loader takes it";
    };
    ASSERT_EQ(h.Run(), 0u);
    EXPECT_EQ(registered, 8u)
        << "BMP, GIF, PNG, JPEG, TGA, 3D Studio, MilkShape 3D and V3D, in that order";
}

TEST(DisplayLoading, SixteenLoaderPlaces) {
    VHeadlessOptions options;
    options.frameBudget = 1;
    Harness h(options);
    std::vector<bool> accepted;
    h.script.frame = [&](ClassVane&, ClassVScreen& screen, uint32_t) {
        EXPECT_FALSE(screen.RegisterLoader(nullptr));
        while (accepted.size() < 12) {
            auto* loader = new VLoader_BMP();
            accepted.push_back(screen.RegisterLoader(loader));
            if (!accepted.back()) delete loader;  // the caller keeps a refused loader
        }
    };
    ASSERT_EQ(h.Run(), 0u);
    // Eight places were taken at start-up; eight more fit, the ninth to twelfth are refused.
    const std::vector<bool> expected{true, true, true,  true,  true,  true,
                                     true, true, false, false, false, false};
    EXPECT_EQ(accepted, expected);
}

// Answers every model load with a result of its own and counts the calls.
class CountingModelLoader : public ClassVLoaderBase {
  public:
    explicit CountingModelLoader(uint32_t* calls) : calls_(calls) {}
    uint32_t LoadModel(V3DModel*, const uint8_t*, uint32_t, uint32_t, uint32_t) override {
        ++*calls_;
        return 42;
    }

  private:
    uint32_t* calls_;
};

TEST(DisplayLoading, ModelsAreBoundToTheApplicationsServicesAndTriedLoaderByLoader) {
    VHeadlessOptions options;
    options.frameBudget = 1;
    Harness h(options);
    uint32_t laterLoaderCalls = 0;
    h.script.frame = [&](ClassVane& app, ClassVScreen& screen, uint32_t) {
        ASSERT_TRUE(screen.RegisterLoader(new CountingModelLoader(&laterLoaderCalls)));
        const std::vector<uint8_t> file = File3ds(
            {Object("o", {VertexList({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}), FaceList({{0, 1, 2}})})});
        V3DModel model;
        ASSERT_EQ(screen.LoadModel(model, file.data(), uint32_t(file.size()), -3, 0), 0u);
        EXPECT_EQ(model.Owner(), &app.ModelServices());
        EXPECT_EQ(model.VertexCount(), 3u);
        EXPECT_EQ(laterLoaderCalls, 0u) << "the 3D Studio loader took the file";
        int32_t position[3];
        std::memcpy(position, model.VertexBuffer(), sizeof(position));
        EXPECT_EQ(position[0], 8) << "1.0 at scale -3";
        uint32_t poolBlocks = 0;
        for (uint32_t slot = 0; slot < app.Pool().slotCount; ++slot) {
            poolBlocks += app.Pool().sizes[slot] != 0 ? 1 : 0;
        }
        EXPECT_EQ(poolBlocks, 4u) << "the model's buffers come from the application's pool";

        const uint8_t notAModel[] = {'V', 'O', 'R', 'L', 'U', 'N', 'D'};
        EXPECT_EQ(screen.LoadModel(model, notAModel, sizeof(notAModel), 0, 0), 42u);
        EXPECT_EQ(laterLoaderCalls, 1u) << "every loader before passed it on";
    };
    ASSERT_EQ(h.Run(), 0u);
}

TEST(DisplayLoading, MilkShapeAndV3dModelsReachTheirLoaders) {
    VHeadlessOptions options;
    options.frameBudget = 1;
    Harness h(options);
    h.script.frame = [&](ClassVane&, ClassVScreen& screen, uint32_t) {
        Ms3dFile ms3d;
        ms3d.vertices = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}};
        ms3d.triangles = {{{0, 1, 2}}};
        const std::vector<uint8_t> v3d =
            V3dFile().Mesh(5, 1).Vertices({{16, 0, 0}}).Faces({{0, 0, 0}}).End().Bytes();
        struct Case {
            const char* what;
            std::vector<uint8_t> file;
            uint32_t vertices;
            int32_t x;  // of vertex 0
        } const cases[] = {
            {"MilkShape 3D", ms3d.Bytes(), 4, 8},  // 1.0 at scale -3
            {"V3D", v3d, 5, 2},                    // 16 * 2^-3
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            V3DModel model;
            ASSERT_EQ(screen.LoadModel(model, c.file.data(), uint32_t(c.file.size()), -3, 0), 0u);
            EXPECT_EQ(model.VertexCapacity(), c.vertices);
            int32_t position[3];
            std::memcpy(position, model.VertexBuffer(), sizeof(position));
            EXPECT_EQ(position[0], c.x);
        }
    };
    ASSERT_EQ(h.Run(), 0u);
}

TEST(DisplayLoading, AClosedDisplayLoadsNothing) {
    ClassVScreen screen;
    const std::vector<uint8_t> data = ReadAsset("font.bmp");
    V2DSurface surface;
    EXPECT_EQ(screen.LoadSurface(surface, data.data(), uint32_t(data.size()), 0), 1u);
    V2DSurfaceRGBA rgba;
    EXPECT_EQ(screen.CreateSurfaceRGBA(rgba, 8, 8, 0), 1u);
    EXPECT_FALSE(surface.IsCreated());
}

}  // namespace
