// One frame of a model's scene on the display, as the demo draws it: the gradient, the
// light of the scene, and the model placed by the view.
#pragma once

#include "framework/screen.h"
#include "render3d/model.h"
#include "tools/model_sheet/model_scenes.h"

inline void PlaceModel(ClassVScreen& screen, const VModelFrame& f) {
    screen.ResetView();
    screen.TranslateView(f.x, f.y, f.z);
    screen.RotateView(f.rx, f.ry, 0);
}

inline void DrawSceneFrame(ClassVScreen& screen, const VModelScene& scene, const VModelFrame& f,
                           V3DModel& model) {
    V2DSurface& b = screen.BackBuffer();
    b.FillGradientRect(nullptr, scene.top, scene.bottom);
    screen.EnableLight(0, scene.light ? 1 : 0);
    if (scene.light) screen.SetLight(0, 2048, 2048, -4096, 0xFFFFFF, 0, 0);
    screen.SetPerspective(b.GetWidth(), b.GetHeight());
    PlaceModel(screen, f);
    screen.SetRenderFlags(f.flags);
    screen.RenderModel(&model);
    screen.SetViewport(b.GetWidth(), b.GetHeight(), 0);
    screen.SetRenderFlags(2048);
}
