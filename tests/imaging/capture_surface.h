// CaptureSurface: a surface that records what a loader delivers, as colour values with alpha,
// independent of any pixel format. Palette indices are kept and resolved through the palette
// as it stands when the picture is read back, the way a palette surface shows them.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "graphics2d/loader_state.h"
#include "graphics2d/surface_base.h"

class CaptureSurface : public V2DSurfaceBase {
  public:
    // Results the surface gives, to test how loaders handle failing surfaces.
    uint32_t inforesult = 0;
    uint32_t pixelsresult = 0;
    // Pictures larger than this are refused with 2, as a real surface runs out of memory.
    uint64_t maxpixels = uint64_t(1) << 26;

    uint32_t width = 0, height = 0;
    uint8_t pixelkind = 0;
    uint8_t keepblack = 0;
    uint8_t defaultformat = 0;
    uint32_t flags = 0;
    uint32_t infocalls = 0, palettecalls = 0, pixelcalls = 0;
    uint32_t outside = 0;             // pixels delivered past the end of the picture
    std::vector<uint32_t> rowstarts;  // pixel counter at each ImagePixels call
    uint32_t palette[256] = {};
    std::vector<uint8_t> indices;
    std::vector<uint32_t> colours;

    uint32_t ImageInfo(const VLoaderState& state) override {
        ++infocalls;
        if (inforesult != 0) return inforesult;
        if (uint64_t(state.width) * state.height > maxpixels) return 2;
        width = state.width;
        height = state.height;
        pixelkind = state.pixelkind;
        defaultformat = state.defaultformat;
        flags = state.flags;
        indices.assign(size_t(width) * height, 0);
        colours.assign(size_t(width) * height, 0);
        return 0;
    }

    uint32_t ImagePalette(VLoaderState& state) override {
        ++palettecalls;
        if (state.paletteindex >= 256) return 10;
        uint32_t count = state.length / 4;
        if (count > 256 - state.paletteindex) count = 256 - state.paletteindex;
        std::memcpy(palette + state.paletteindex, state.data, size_t(count) * 4);
        state.paletteindex += count;
        return 0;
    }

    uint32_t ImagePixels(VLoaderState& state) override {
        ++pixelcalls;
        rowstarts.push_back(state.pixelcounter);
        keepblack = state.keepblack;
        if (pixelsresult != 0) return pixelsresult;
        const uint32_t bytes = state.pixelkind == VLOADER_PIXELS_INDEX ? 1 : 4;
        const uint64_t total = uint64_t(width) * height;
        for (uint32_t i = 0; i + bytes <= state.length; i += bytes) {
            const uint64_t at = state.pixelcounter++;
            if (at >= total) {
                ++outside;
                continue;
            }
            if (bytes == 1) {
                indices[at] = state.data[i];
            } else {
                std::memcpy(&colours[at], state.data + i, 4);
            }
        }
        return 0;
    }

    uint32_t At(uint32_t x, uint32_t y) const {
        const size_t i = size_t(y) * width + x;
        return pixelkind == VLOADER_PIXELS_INDEX ? palette[indices[i]] : colours[i];
    }
    std::vector<uint32_t> Picture() const {
        std::vector<uint32_t> out(size_t(width) * height);
        for (uint32_t y = 0; y < height; ++y) {
            for (uint32_t x = 0; x < width; ++x) out[size_t(y) * width + x] = At(x, y);
        }
        return out;
    }
};
