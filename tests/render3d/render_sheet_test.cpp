// The render sheet: a ring drawn in every mode in 565 and X888, and turned in 16 steps,
// written as render_sheet.png into the test output folder to be looked at.
//
// Row 1 (565) and row 2 (X888), left to right: flat white, vertex colours (shaded, no
// light), lit per face, lit and shaded, lit and shaded with dither, wireframe, textured,
// textured with opacity and add. Rows 3 and 4: lit and shaded in 565, a sixteenth of a turn
// about the y axis further in each picture.
#include <gtest/gtest.h>

#include <string>

#include "graphics2d/blit_flags.h"
#include "math/matrix.h"
#include "math/vector.h"
#include "render3d/render_list.h"
#include "tests/render3d/render_fixture.h"
#include "tests/render3d/torus_model.h"
#include "tools/model_sheet/sheet_png.h"

namespace {

constexpr uint32_t kCell = 160;
constexpr uint32_t kTop = 0x503828, kBottom = 0x100804;  // dark blue-grey gradient

struct Mode {
    uint32_t flags;
    bool colours;  // the model has vertex colours
    bool lit;      // light 0 enabled
};

const Mode kModes[] = {
    {0, false, false},
    {V3DRENDER_SHADED, true, false},
    {V3DRENDER_LIT, true, true},
    {V3DRENDER_SHADED, true, true},
    {V3DRENDER_SHADED | V3DRENDER_WIREFRAME, true, true},
    {V3DRENDER_WIREFRAME, true, false},
    {V3DRENDER_TEXTURED, true, false},
    {V3DRENDER_TEXTURED | BLIT_OPACITY | BLIT_ADD, true, false},
};

// Rings of colour, 64 × 64, in the surface's format.
void MakeRingTexture(RenderRig& rig, V2DSurface& texture) {
    texture.SetOwner(&rig.services);
    ASSERT_EQ(texture.Create(64, 64, rig.format, 0), 0u);
    for (int32_t y = 0; y < 64; ++y)
        for (int32_t x = 0; x < 64; ++x) {
            const bool stripe = ((x / 8) & 1) != 0, check = ((y / 16) & 1) != 0;
            texture.PutPixel(
                x, y, stripe ? (check ? 0x30E0FF : 0x2060FF) : (check ? 0xFFFFFF : 0x404040));
        }
}

// The scenes' light: (2048, 2048, -4096) at length 131072.
void SetSceneLight(VLight& light) {
    int32_t x = 2048, y = 2048, z = -4096;
    Normalize(x, y, z, 0);
    light.direction[0] = x * 8, light.direction[1] = y * 8, light.direction[2] = z * 8;
    light.enabled = 1;
}

// Draws the ring into a fresh cell of the rig and returns the pixels that changed.
uint32_t DrawCell(RenderRig& rig, V3DModel& model, uint32_t flags, int32_t turn) {
    rig.surface.FillGradientRect(nullptr, kTop, kBottom);
    VMatrix& m = model.ModelMatrix();
    MatrixIdentity(m);
    MatrixRotation(rig.owner.math, -700, turn, 0, m);
    m[14] = -6000;
    EXPECT_EQ(model.DrawInto(rig.surface, 0, 0, flags, 128), 0u);
    uint32_t changed = 0;
    V2DSurface plain;
    plain.SetOwner(&rig.services);
    EXPECT_EQ(plain.Create(kCell, kCell, rig.format, 0), 0u);
    plain.FillGradientRect(nullptr, kTop, kBottom);
    for (int32_t y = 0; y < int32_t(kCell); ++y)
        for (int32_t x = 0; x < int32_t(kCell); ++x)
            changed += rig.surface.GetPixel(x, y) != plain.GetPixel(x, y);
    return changed;
}

TEST(RenderSheet, EveryModeInBothFormatsAndSixteenTurns) {
    SheetPicture sheet(8 * kCell, 4 * kCell);
    const uint8_t formats[] = {VPIXELFORMAT_565, VPIXELFORMAT_X888};
    for (int row = 0; row < 2; ++row) {
        RenderRig rig(kCell, kCell, formats[row]);
        rig.display.scale = kCell;
        V2DSurface texture;
        MakeRingTexture(rig, texture);
        rig.display.texture = &texture;
        V3DModel coloured, white;
        coloured.SetOwner(&rig.owner.services);
        white.SetOwner(&rig.owner.services);
        ASSERT_TRUE(BuildTorus(coloured, TorusShape{}));
        TorusShape plain;
        plain.createFlags = V3DMODEL_NOCOLOURS;
        ASSERT_TRUE(BuildTorus(white, plain));
        uint32_t changed[8];
        for (int i = 0; i < 8; ++i) {
            const Mode& mode = kModes[i];
            rig.display.lights[0] = VLight{};
            rig.display.lights[0].diffuse = 0xFFFFFF;
            if (mode.lit) SetSceneLight(rig.display.lights[0]);
            changed[i] = DrawCell(rig, mode.colours ? coloured : white, mode.flags, 300);
            EXPECT_GT(changed[i], 1000u) << "mode " << i;
            sheet.Paste(rig.surface, uint32_t(i) * kCell, uint32_t(row) * kCell);
        }
        EXPECT_LT(changed[5], changed[0]) << "wireframe leaves the background between its lines";
        if (row == 0) {
            SetSceneLight(rig.display.lights[0]);
            for (int step = 0; step < 16; ++step) {
                EXPECT_GT(DrawCell(rig, coloured, V3DRENDER_SHADED, step * 256), 1000u);
                sheet.Paste(rig.surface, uint32_t(step % 8) * kCell,
                            uint32_t(2 + step / 8) * kCell);
            }
        }
    }
    EXPECT_TRUE(sheet.Write(std::string(VANE_TEST_OUTPUT_DIR) + "/render_sheet.png"));
}

}  // namespace
