// V2DSurface: a rectangle of pixels in one of six pixel formats, stored in the display's
// physical orientation and addressed by callers in logical coordinates.
#pragma once

#include <cstdint>

#include "graphics2d/blit_flags.h"
#include "graphics2d/orientation.h"
#include "graphics2d/pixel_format.h"
#include "graphics2d/surface_base.h"
#include "graphics2d/surface_layout.h"
#include "graphics2d/surface_owner.h"

class V2DSurface : public V2DSurfaceBase {
  public:
    V2DSurface() = default;
    V2DSurface(const V2DSurface&) = delete;
    V2DSurface& operator=(const V2DSurface&) = delete;
    ~V2DSurface() override;

    // --- Creation and lifetime ---
    // Set by the display before Create; the surface reaches the display through it.
    void SetOwner(VSurfaceOwner* display) { owner = display; }
    // Results: 0, 1 bad pixel format, 2 out of memory, 4 invalid argument (a side of 0 or above
    // 32767, a memory kind of 4 or more, no owner). Every memory kind is held in main memory.
    uint32_t Create(uint32_t width, uint32_t height, uint8_t defaultformat, uint32_t flags);
    void Free() override;
    // Decodes an image through the owner's registered loaders, in order, until one takes the
    // data; 3 or 14 (the last one received) when none does, 4 for a memory kind of 4 or more.
    uint32_t LoadImage(const uint8_t* data, uint32_t size, uint8_t defaultformat, uint32_t flags);
    void ChangeOrientation(const VOrientation& previous) override;

    // --- Size and pixel access ---
    bool IsCreated() const { return (state & 0x0F) != 0; }
    uint32_t GetWidth() const;
    uint32_t GetHeight() const;
    // The pixel memory, or null when not created; fills info when not null.
    uint8_t* Lock(SurfaceLayout* info = nullptr);
    void Unlock();
    SurfaceLayout Layout() const;

    // --- Clip rectangle and colour key ---
    void SetClipRect(const VRect* r);
    void GetClipRect(VRect* r) const;
    void SetColorKey(uint32_t colour);
    uint32_t GetColorKey() const;

    // --- Loader interface ---
    uint32_t ImageInfo(const VLoaderState& state) override;
    uint32_t ImagePalette(VLoaderState& state) override;
    uint32_t ImagePixels(VLoaderState& state) override;

    // --- Drawing ---
    // Results: 0 done, 1 a surface not created, 2 out of memory (palette tables), 4 nothing
    // visible, 10 opacity quantised to zero, 12 a surface could not be locked.
    uint32_t Blit(int32_t x, int32_t y, V2DSurface* source, const VRect* sourcerect, uint32_t flags,
                  uint32_t property);
    void PutPixel(int32_t x, int32_t y, uint32_t colour, uint32_t flags = 0, uint32_t property = 0);
    uint32_t GetPixel(int32_t x, int32_t y);
    void FillRect(const VRect* r, uint32_t colour, uint32_t flags = 0, uint32_t property = 0);
    // FillRect on a rectangle already in physical coordinates (cut to the clip rectangle).
    void FillPhysicalRect(const VRect& physical, uint32_t colour, uint32_t flags,
                          uint32_t property);
    void DrawHLine(int32_t x, int32_t y, int32_t length, uint32_t colour, uint32_t flags = 0,
                   uint32_t property = 0);
    void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                  uint32_t flags = 0, uint32_t property = 0);

    // --- Fields, in the order of the surface record ---
    VSurfaceOwner* owner = nullptr;
    uint32_t* palette = nullptr;  // 256 colour values with alpha
    char16_t* fontcharmap = nullptr;
    uint16_t fontfirst = 32, fontlast = 127;
    uint16_t fontspacing = 0, fontspacing2 = 0;
    int32_t fontperrow = 128;
    uint32_t fontrows = 1;
    VRect clip;  // physical coordinates
    int32_t texturehandle = -1;
    void* font = nullptr;
    void* fontextra = nullptr;
    uint32_t pitch = 0;  // physical row length in pixels, a multiple of 4
    uint32_t physheight = 0;
    uint32_t physwidth = 0;
    uint32_t createflags = 0;
    uint8_t pixelformat = 0;
    uint8_t bitsperpixel = 0;
    uint8_t state = 0;  // bits 0-3: memory kind in use, 0 when not created
    void* videosurface = nullptr;
    int16_t* spanleft = nullptr;
    int16_t* spanright = nullptr;
    uint32_t* spanleftvalues = nullptr;  // four planes of one entry per span row
    uint32_t* spanrightvalues = nullptr;
    uint8_t* pixels = nullptr;
    uint8_t* remap = nullptr;  // own palette index → display palette index
    uint32_t colorkey = 0;     // pixel value
    uint32_t lockcount = 0;

  private:
    VOrientation Orientation() const;
    uint32_t BytesPerPixel() const { return bitsperpixel / 8u; }
    uint32_t SpanRows() const;
    uint8_t* PixelAddress(int32_t physx, int32_t physy) const;
    void FreeFontTable();
    void ClearClipArea();
    // Swaps pixel memory, geometry and span buffers with other (orientation change).
    void SwapStorage(V2DSurface& other);
    // Stores a colour at a logical point without effects (loaders).
    void StoreColour(int32_t x, int32_t y, uint32_t colour);

    bool loaderlock_ = false;  // ImagePixels holds a lock until LoadImage ends
};
