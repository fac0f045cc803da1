// VLoader_PNG: PNG images of every colour type and bit depth the format allows, interlaced
// or not, with tRNS transparency. Palette images arrive as indices, all others as colour
// values; 16-bit samples give their most significant byte.
#pragma once

#include "imaging/loader_base.h"

class VLoader_PNG : public ClassVLoaderBase {
  public:
    uint32_t DecodeImage(V2DSurfaceBase* surface, const uint8_t* data, uint32_t size,
                         uint8_t defaultformat, uint32_t flags) override;
};
