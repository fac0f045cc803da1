// VLoader_BMP: uncompressed Windows bitmaps with 1, 4, 8 or 24 bits per pixel, stored
// bottom-up or top-down. Palette images arrive as indices, 24-bit images as colour values.
#pragma once

#include "imaging/loader_base.h"

class VLoader_BMP : public ClassVLoaderBase {
  public:
    uint32_t DecodeImage(V2DSurfaceBase* surface, const uint8_t* data, uint32_t size,
                         uint8_t defaultformat, uint32_t flags) override;
};
