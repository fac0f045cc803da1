// Scene 2's light and the Model block: the one model drawn with its own view and render
// flags, then the render flags put back for the rest of the frame.
#include "app/class_main.h"
#include "render3d/model.h"

namespace {
constexpr uint32_t kRenderFlagsAfterModel = 2048;
}  // namespace

void ClassMain::Light() {
    screen_->EnableLight(0, 1);
    screen_->SetLight(0, 2048, 2048, -4096, 0xFFFFFF, 0, 0);
}

void ClassMain::Model(int32_t x, int32_t y, int32_t z, int32_t ax, int32_t ay, uint32_t flags) {
    ClassVScreen& screen = *screen_;
    V2DSurface& b = screen.BackBuffer();
    const uint32_t width = b.GetWidth(), height = b.GetHeight();
    screen.SetPerspective(width, height);
    screen.ResetView();
    screen.TranslateView(x, y, z);
    screen.RotateView(ax, ay, 0);
    screen.SetRenderFlags(flags);
    screen.RenderModel(model_);
    screen.SetViewport(width, height, 0);
    screen.SetRenderFlags(kRenderFlagsAfterModel);
}
