// V2DSurfaceFrame: what V2DSurface and V2DSurfaceRGBA share — the display they belong to, the
// physical size and clip rectangle of their pixels, the creation state and the lock count — and
// the operations that need nothing else, loading through the display's image loaders among them.
#pragma once

#include <cstdint>

#include "graphics2d/blit_clip.h"
#include "graphics2d/orientation.h"
#include "graphics2d/surface_base.h"
#include "graphics2d/surface_owner.h"

class V2DSurfaceFrame : public V2DSurfaceBase {
  public:
    // Set by the display before Create; the surface reaches the display through it.
    void SetOwner(VSurfaceOwner* display) { owner = display; }
    bool IsCreated() const { return (state & 0x0F) != 0; }
    // The logical size; 0 when not created.
    uint32_t GetWidth() const;
    uint32_t GetHeight() const;
    void Unlock() {
        if (lockcount != 0) --lockcount;
    }

    // Logical rectangle, cut to the surface; null: the whole surface.
    void SetClipRect(const VRect* r);
    void GetClipRect(VRect* r) const;
    // Physical size and clip rectangle, as the blit clip reads them.
    VBlitExtent BlitExtent() const { return VBlitExtent{physwidth, physheight, clip}; }

    // Decodes an image through the owner's image loaders (VSurfaceOwner::DecodeImage) and ends
    // the lock the loader took; 4 for a memory kind of 4 or more or no owner.
    uint32_t LoadImage(const uint8_t* data, uint32_t size, uint8_t defaultformat, uint32_t flags);

    VSurfaceOwner* owner = nullptr;
    VRect clip;          // physical coordinates
    uint32_t pitch = 0;  // physical row length in pixels (words), a multiple of 4
    uint32_t physheight = 0;
    uint32_t physwidth = 0;
    uint32_t createflags = 0;
    uint8_t state = 0;  // bits 0-3: memory kind in use, 0 when not created
    uint32_t lockcount = 0;

  protected:
    VOrientation Orientation() const;
    // ImagePixels locks the pixels once for the whole load; false when there are none to lock.
    bool HoldLoaderLock(const void* pixels);

    bool loaderlock_ = false;  // ImagePixels holds a lock until LoadImage ends
};
