// V2DSurfaceRGBA: a picture with a per-pixel alpha, drawn onto ordinary surfaces with alpha
// blending. Each pixel is a 32-bit word: the colour already converted to the format it will be
// drawn onto (colourformat) in the low bits and an alpha byte in bits 24-31, so that drawing
// only blends and never converts.
//
// Normal storage keeps alpha (0 transparent, 255 opaque) and the colour unchanged. Premultiplied
// storage (creation flag VRGBA_PREMULTIPLIED, the loaders' 0x20) keeps t = 255 - alpha and the
// colour multiplied by alpha, which makes the blend one multiplication per channel.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics2d/loader_state.h"
#include "graphics2d/orientation.h"
#include "graphics2d/surface_frame.h"
#include "graphics2d/surface_layout.h"

constexpr uint32_t VRGBA_PREMULTIPLIED = VLOADER_PREMULTIPLY;

class V2DSurfaceRGBA : public V2DSurfaceFrame {
  public:
    V2DSurfaceRGBA() = default;
    V2DSurfaceRGBA(const V2DSurfaceRGBA&) = delete;
    V2DSurfaceRGBA& operator=(const V2DSurfaceRGBA&) = delete;
    ~V2DSurfaceRGBA() override;

    // --- Creation and lifetime (SetOwner and LoadImage: V2DSurfaceFrame) ---
    // Always main memory. colourformat = flags bits 8-15, or defaultformat when they are 0; it
    // must be a direct-colour format (2 to 6): alpha cannot blend palette indices. Every pixel
    // starts transparent. Results (VSURF_..., surface_results.h): OK, BADFORMAT (a colour format
    // that is not direct colour), OUTOFMEMORY, INVALID (zero or oversized side, memory kind 4 or
    // more, no owner).
    uint32_t Create(uint32_t width, uint32_t height, uint8_t defaultformat, uint32_t flags);
    void Free() override;
    void ChangeOrientation(const VOrientation& previous) override;

    // --- Pixel access (size, clip rectangle and Unlock: V2DSurfaceFrame) ---
    bool IsPremultiplied() const { return (state & VRGBA_PREMULTIPLIED) != 0; }
    // The pixel words (pitch × physheight of them), or null when not created.
    uint32_t* Lock(SurfaceLayout* info = nullptr);
    SurfaceLayout Layout() const;

    // --- Loader interface ---
    uint32_t ImageInfo(const VLoaderState& state) override;
    uint32_t ImagePalette(VLoaderState& state) override;
    uint32_t ImagePixels(VLoaderState& state) override;

    // --- Pixels ---
    // Stores colour with alpha at a logical point inside the clip rectangle, in the surface's
    // storage (premultiplied when the surface is).
    void PutPixelAlpha(int32_t x, int32_t y, uint32_t colour, uint32_t alpha);
    // The colour value at a logical point with its alpha in bits 24-31; premultiplied colours are
    // divided back. 0 outside the surface.
    uint32_t GetPixel(int32_t x, int32_t y);
    // The stored word at a physical point (no bounds check).
    uint32_t& WordAt(int32_t physx, int32_t physy) const {
        return pixels[size_t(pitch) * uint32_t(physy) + uint32_t(physx)];
    }

    // --- Fields beside those of V2DSurfaceFrame ---
    // createflags bits 0-3 are always 1 (main memory); state bits 4-7 hold the storage flags.
    uint32_t* palette = nullptr;  // 256 colour values with alpha, filled by loaders
    uint8_t bitsperpixel = 32;
    uint32_t* pixels = nullptr;
    uint8_t colourformat = 0;  // pixel format of the colour part

  private:
    // Every pixel transparent: 0 in normal storage, 0xFFFFFFFF in premultiplied storage.
    void ClearPixels();
};
