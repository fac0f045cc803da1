// V2DSurfaceBase: the interface through which image loaders fill any surface, and through
// which the display frees and turns the surfaces it registered.
#pragma once

#include <cstdint>

#include "graphics2d/loader_state.h"
#include "graphics2d/orientation.h"
#include "graphics2d/surface_results.h"

class V2DSurfaceBase {
  public:
    virtual ~V2DSurfaceBase() = default;

    // The display has switched to a new orientation; previous is the one the pixels are in.
    virtual void ChangeOrientation(const VOrientation& /*previous*/) {}
    virtual void Free() {}
    virtual uint32_t ImageInfo(const VLoaderState&) { return VSURF_UNSUPPORTED; }
    virtual uint32_t ImagePalette(VLoaderState&) { return VSURF_UNSUPPORTED; }
    virtual uint32_t ImagePixels(VLoaderState&) { return VSURF_UNSUPPORTED; }
};
