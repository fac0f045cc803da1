// VLoader_GIF: the first image of a GIF87a or GIF89a file, as palette indices with the global
// or local colour table; a transparent index becomes a palette entry with alpha 0. Later
// frames of an animation are not decoded.
#pragma once

#include "imaging/loader_base.h"

class VLoader_GIF : public ClassVLoaderBase {
  public:
    uint32_t DecodeImage(V2DSurfaceBase* surface, const uint8_t* data, uint32_t size,
                         uint8_t defaultformat, uint32_t flags) override;

  private:
    struct Image;
    // Reads a colour table of entries × 3 bytes as colour values.
    void ReadColourTable(uint8_t* palette, uint32_t entries);
    // Skips data sub-blocks up to their terminator; false at the end of the data.
    bool SkipSubBlocks();
    // From the position, the next image descriptor with the extensions before it; false on
    // an unknown block, the trailer or the end of the data.
    bool FindImage(Image& image);
};
