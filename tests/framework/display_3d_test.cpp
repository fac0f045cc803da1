// The display's 3D operations: the view matrix, the lights, ClearViewport and RenderModel on
// the back buffer.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "math/matrix.h"
#include "render3d/model.h"
#include "render3d/render_list.h"
#include "tests/framework/recorder.h"

namespace {

// Runs body in the first frame of a 240 × 320 display.
void InFirstFrame(const std::function<void(ClassVane&, ClassVScreen&)>& body) {
    VHeadlessOptions options;
    options.frameBudget = 1;
    Harness h(options);
    h.script.configureDisplay = [](VScreenSettings& s) {
        s.width = 240;
        s.height = 320;
    };
    h.script.frame = [&](ClassVane& app, ClassVScreen& screen, uint32_t) { body(app, screen); };
    ASSERT_EQ(h.Run(), 0u);
}

std::vector<int32_t> Transformed(const VMatrix& m, int32_t x, int32_t y, int32_t z) {
    int32_t o[3];
    TransformPoint(o[0], o[1], o[2], x, y, z, m);
    return {o[0], o[1], o[2]};
}

TEST(Display3D, ViewOperationsPutEachStepBeforeTheViewSoFar) {
    InFirstFrame([](ClassVane&, ClassVScreen& screen) {
        screen.TranslateView(100, 0, 0);
        screen.RotateView(0, 0, 1024);
        // Rotated first (a quarter turn about z), then translated.
        EXPECT_EQ(Transformed(screen.WorldMatrix(), 4096, 0, 0),
                  (std::vector<int32_t>{100, 4096, 0}));
        const VMatrix before = screen.WorldMatrix();
        screen.TranslateView(0, 0, 0);
        screen.RotateView(0, 0, 0);
        EXPECT_EQ(screen.WorldMatrix(), before);
        screen.ResetView();
        EXPECT_EQ(Transformed(screen.WorldMatrix(), 7, 8, 9), (std::vector<int32_t>{7, 8, 9}));
    });
}

TEST(Display3D, LightsAreNormalisedMaskedAndIndexedByTheLowByte) {
    InFirstFrame([](ClassVane&, ClassVScreen& screen) {
        screen.SetLight(0, 3, 4, 0, 0x12345678, 0xAABBCCDD, 7);
        const VLight& l = screen.Lights()[0];
        EXPECT_EQ(l.direction[0], 9830 * 8);
        EXPECT_EQ(l.direction[1], 13107 * 8);
        EXPECT_EQ(l.direction[2], 0);
        EXPECT_EQ(l.diffuse, 0x345678u);
        EXPECT_EQ(l.ambient, 0xBBCCDDu);
        // The scenes' light: length 131072 whatever length it was given with.
        screen.SetLight(1, 2048, 2048, -4096, 0xFFFFFF, 0, 0);
        const VLight& m = screen.Lights()[1];
        const double length = std::sqrt(double(m.direction[0]) * m.direction[0] +
                                        double(m.direction[1]) * m.direction[1] +
                                        double(m.direction[2]) * m.direction[2]);
        EXPECT_NEAR(length, 131072, 64);

        screen.EnableLight(256 + 2, 1);
        EXPECT_EQ(screen.Lights()[2].enabled, 1);
        screen.EnableLight(8, 1);
        screen.SetLight(9, 1, 0, 0, 0xFFFFFF, 0xFFFFFF, 0);
        for (uint32_t i = 0; i < kDisplayLights; ++i) {
            EXPECT_EQ(screen.Lights()[i].enabled, i == 2 ? 1 : 0) << i;
        }
    });
}

TEST(Display3D, ClearViewportBlendsTheTopByteAsOpacity) {
    InFirstFrame([](ClassVane&, ClassVScreen& screen) {
        V2DSurface& b = screen.BackBuffer();
        b.FillRect(nullptr, 0xFFFFFF);
        screen.ClearViewport(nullptr, 0xC0000000);
        // A quarter of white is left everywhere: 0xFF × 64 / 256, in 565 steps.
        for (int32_t y : {0, 160, 319}) {
            for (int32_t x : {0, 120, 239}) {
                const uint32_t c = b.GetPixel(x, y);
                EXPECT_NEAR(int(c & 0xFF), 0x40, 8) << x << "," << y;
                EXPECT_EQ(c & 0xFF, (c >> 16) & 0xFF);
            }
        }
        const VRect part{10, 10, 20, 20};
        screen.ClearViewport(&part, 0xFF0000FF);
        EXPECT_EQ(b.GetPixel(15, 15) & 0xFF, 0xF8u);
        EXPECT_EQ(b.GetPixel(25, 25), b.GetPixel(0, 0));
    });
}

TEST(Display3D, RenderModelDrawsIntoTheBackBufferWithTheDisplaysSettings) {
    InFirstFrame([](ClassVane& app, ClassVScreen& screen) {
        EXPECT_EQ(screen.RenderModel(nullptr), VSURF_INVALID);
        V3DModel model;
        model.SetOwner(&app.ModelServices());
        ASSERT_EQ(model.Create(3, 1, V3DMODEL_NOTEXCOORDS | V3DMODEL_NOCOLOURS), 0u);
        model.SetVertex(0, 0, 0, 0);
        model.SetVertex(1, 4096, 0, 0);
        model.SetVertex(2, 0, 4096, 0);
        model.SetFace(0, 0, 1, 2);
        ASSERT_TRUE(model.ComputeNormals());
        V2DSurface& b = screen.BackBuffer();
        b.FillRect(nullptr, 0);
        // Moved 4096 to the left by the view: the face's right corner lands at the centre.
        screen.TranslateView(-4096, 0, 0);
        screen.SetRenderFlags(0);
        ASSERT_EQ(screen.RenderModel(&model), 0u);
        EXPECT_EQ(model.ViewMatrix(), &screen.WorldMatrix());
        EXPECT_EQ(b.GetPixel(20, 150), 0xF8FCF8u);
        EXPECT_EQ(b.GetPixel(130, 150), 0u);
        // Lit and shaded with light 0 enabled: 225 of 255 in each channel.
        screen.EnableLight(0, 1);
        screen.SetRenderFlags(V3DRENDER_SHADED);
        ASSERT_EQ(screen.RenderModel(&model), 0u);
        EXPECT_EQ(b.GetPixel(20, 150), 0xE0E0E0u);
    });
}

}  // namespace
