// ClassVScreen's 3D operations: the view matrix, the lights, the render settings and the
// rendering of a model into the back buffer.
#include "framework/screen.h"
#include "graphics2d/blit_flags.h"
#include "math/math_tables.h"
#include "math/vector.h"
#include "render3d/model.h"

namespace {

// Light directions are kept at 8 times the length of a normalised vector.
constexpr int32_t kLightDirectionScale = 8;
constexpr uint32_t kColourBits = 0xFFFFFF;

}  // namespace

void ClassVScreen::ResetView() {
    MatrixIdentity(world_);
}

void ClassVScreen::TranslateView(int32_t x, int32_t y, int32_t z) {
    if (x == 0 && y == 0 && z == 0) return;
    VMatrix t;
    MatrixIdentity(t);
    MatrixTranslation(x, y, z, t);
    MatrixMultiply(world_, t);
}

void ClassVScreen::RotateView(int32_t ax, int32_t ay, int32_t az) {
    if (ax == 0 && ay == 0 && az == 0) return;
    // Without the application's tables every sine is 0 and the rotation collapses, as any
    // other turn made without them does.
    static const ClassVMathTables kNoTables;
    const ClassVMathTables& math = config_.turnTables != nullptr ? *config_.turnTables : kNoTables;
    VMatrix r;
    MatrixIdentity(r);
    MatrixRotation(math, ax, ay, az, r);
    MatrixMultiply(world_, r);
}

void ClassVScreen::EnableLight(uint32_t index, uint8_t on) {
    if ((index & 255) < kDisplayLights) lights_[index & 255].enabled = on;
}

void ClassVScreen::SetLight(uint32_t index, int32_t x, int32_t y, int32_t z, uint32_t diffuse,
                            uint32_t ambient, uint32_t extra) {
    (void)extra;
    if ((index & 255) >= kDisplayLights) return;
    VLight& light = lights_[index & 255];
    Normalize(x, y, z, 0);
    light.direction[0] = x * kLightDirectionScale;
    light.direction[1] = y * kLightDirectionScale;
    light.direction[2] = z * kLightDirectionScale;
    light.ambient = ambient & kColourBits;
    light.diffuse = diffuse & kColourBits;
}

void ClassVScreen::SetPerspective(uint32_t, uint32_t) {}

void ClassVScreen::SetViewport(uint32_t, uint32_t, uint32_t) {}

void ClassVScreen::ClearViewport(const VRect* rect, uint32_t colour) {
    backBuffer_.FillRect(rect, colour & kColourBits, BLIT_OPACITY, colour >> 24);
}

uint32_t ClassVScreen::RenderModel(V3DModel* model) {
    if (model == nullptr) return VSURF_INVALID;
    if (!IsOpen()) return VSURF_NOTCREATED;
    model->SetViewMatrix(&world_);
    return backBuffer_.DrawModel(0, 0, model, renderFlags_, 0);
}
