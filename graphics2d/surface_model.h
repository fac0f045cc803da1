// What V2DSurface::DrawModel draws. The 3D model lives in a layer above the 2D graphics, so a
// surface cannot know it; the model implements this interface and the surface hands itself
// over, which keeps the drawing call on the surface without the 2D layer reaching upwards.
#pragma once

#include <cstdint>

class V2DSurface;

class V2DModelDrawing {
  public:
    // Renders into surface with the projection centre moved x, y whole pixels from the
    // surface's centre; flags are the render flags, passed on to the fills as their effect
    // flags with property. Result as V2DSurface::DrawModel gives it.
    virtual uint32_t DrawInto(V2DSurface& surface, int32_t x, int32_t y, uint32_t flags,
                              uint32_t property) = 0;

  protected:
    // Never deleted through this interface.
    ~V2DModelDrawing() = default;
};
