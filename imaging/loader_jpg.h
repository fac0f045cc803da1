// VLoader_JPG: JPEG pictures (baseline, extended and progressive Huffman coding; greyscale or
// YCbCr) as colour values, through a jpeg_decoder made for each decode. Data that is not a
// JPEG, or a JPEG variant the decoder does not read (arithmetic coding), passes on with 3.
#pragma once

#include "imaging/loader_base.h"

class VLoader_JPG : public ClassVLoaderBase {
  public:
    uint32_t DecodeImage(V2DSurfaceBase* surface, const uint8_t* data, uint32_t size,
                         uint8_t defaultformat, uint32_t flags) override;
};
