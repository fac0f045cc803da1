// V2DSurfaceBase: the interface through which image loaders fill any surface, and through
// which the display frees and turns the surfaces it registered.
#pragma once

#include <cstdint>

#include "graphics2d/loader_state.h"
#include "graphics2d/orientation.h"

class V2DSurfaceBase {
  public:
    virtual ~V2DSurfaceBase() = default;

    // The display has switched to a new orientation; previous is the one the pixels are in.
    virtual void ChangeOrientation(const VOrientation& previous) { (void)previous; }
    virtual void Free() {}
    virtual uint32_t ImageInfo(const VLoaderState& state) {
        (void)state;
        return 3;
    }
    virtual uint32_t ImagePalette(VLoaderState& state) {
        (void)state;
        return 3;
    }
    virtual uint32_t ImagePixels(VLoaderState& state) {
        (void)state;
        return 3;
    }
};
