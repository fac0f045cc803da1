#include "graphics2d/surface_services.h"

#include "graphics2d/surface_base.h"

VSurfaceServices::VSurfaceServices(uint8_t format) {
    InstallBlitterTable(&table_, format);
}

VSurfaceServices::~VSurfaceServices() {
    registry_.FreeAll();
}

uint32_t VSurfaceServices::DecodeImage(V2DSurfaceBase&, const uint8_t*, uint32_t, uint8_t,
                                       uint32_t) {
    return VSURF_UNSUPPORTED;
}

void VSurfaceServices::SetBlitterFormat(uint8_t format) {
    InstallBlitterTable(&table_, format);
}

void VSurfaceServices::SetOrientation(const VOrientation& orientation, V2DSurfaceBase* const* skip,
                                      uint32_t skipcount) {
    const VOrientation previous = orientation_;
    orientation_ = orientation;
    if (previous == orientation) return;
    for (uint32_t slot = 0; slot < registry_.Capacity(); ++slot) {
        V2DSurfaceBase* s = registry_.At(slot);
        if (s == nullptr) continue;
        bool skipped = false;
        for (uint32_t k = 0; k < skipcount && !skipped; ++k) skipped = skip[k] == s;
        if (!skipped) s->ChangeOrientation(previous);
    }
}
