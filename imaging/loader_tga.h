// VLoader_TGA: uncompressed Truevision TGA images: colour-mapped (8-bit indices into a map of
// 24- or 32-bit entries), true-colour with 16, 24 or 32 bits per pixel, and 8-bit greyscale,
// stored bottom-up or top-down. The format has no signature, so the header must be plausible
// and the image must fit in the data; the loader is tried after every loader with a signature.
#pragma once

#include "imaging/loader_base.h"

class VLoader_TGA : public ClassVLoaderBase {
  public:
    uint32_t DecodeImage(V2DSurfaceBase* surface, const uint8_t* data, uint32_t size,
                         uint8_t defaultformat, uint32_t flags) override;
};
