#include "graphics2d/surface_frame.h"

namespace {

constexpr uint32_t kMemoryKindMask = 0x0F;

}  // namespace

VOrientation V2DSurfaceFrame::Orientation() const {
    return owner != nullptr ? owner->SurfaceOrientation() : VOrientation{};
}

uint32_t V2DSurfaceFrame::GetWidth() const {
    if (!IsCreated()) return 0;
    return Orientation().swapped ? physheight : physwidth;
}

uint32_t V2DSurfaceFrame::GetHeight() const {
    if (!IsCreated()) return 0;
    return Orientation().swapped ? physwidth : physheight;
}

void V2DSurfaceFrame::SetClipRect(const VRect* r) {
    if (IsCreated()) clip = PhysicalClipRect(Orientation(), physwidth, physheight, r);
}

void V2DSurfaceFrame::GetClipRect(VRect* r) const {
    *r = PhysicalToLogical(Orientation(), physwidth, physheight, clip);
}

uint32_t V2DSurfaceFrame::LoadImage(const uint8_t* data, uint32_t size, uint8_t defaultformat,
                                    uint32_t flags) {
    if ((flags & kMemoryKindMask) >= 4 || owner == nullptr) return VSURF_INVALID;
    const uint32_t result = owner->DecodeImage(*this, data, size, defaultformat, flags);
    if (loaderlock_) {
        loaderlock_ = false;
        Unlock();
    }
    return result;
}

bool V2DSurfaceFrame::HoldLoaderLock(const void* pixels) {
    if (loaderlock_) return true;
    if (!IsCreated() || pixels == nullptr) return false;
    ++lockcount;
    loaderlock_ = true;
    return true;
}
