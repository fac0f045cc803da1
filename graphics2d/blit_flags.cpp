#include "graphics2d/blit_flags.h"

#include "graphics2d/color_math.h"
#include "graphics2d/pixel_format.h"
#include "graphics2d/surface_results.h"

namespace {

// Shared tail of both normalisations: add and subtract cancel, full opacity drops the flag and
// any other opacity is rounded down to what the format can show.
bool QuantiseOpacity(uint8_t format, VEffect* e) {
    if (!(e->flags & BLIT_OPACITY)) {
        e->opacity = 0;
        return true;
    }
    if (e->opacity >= 255) {
        e->flags &= ~BLIT_OPACITY;
        e->opacity = 0;
        return true;
    }
    const uint32_t step = OpacityStepOf(format);
    e->opacity -= e->opacity % step;
    return e->opacity != 0;
}

uint32_t CancelAddSubtract(uint32_t flags) {
    if ((flags & (BLIT_ADD | BLIT_SUBTRACT)) == (BLIT_ADD | BLIT_SUBTRACT))
        flags &= ~(BLIT_ADD | BLIT_SUBTRACT);
    return flags;
}

}  // namespace

uint32_t NormaliseBlitEffect(uint32_t flags, uint32_t property, uint8_t format, VEffect* out) {
    VEffect e;
    e.flags = CancelAddSubtract(flags & kBlitEffectMask & ~(BLIT_SHIFT_SOURCE | BLIT_SHIFT_DEST));
    e.opacity = (flags & kBlitColourFlags) ? property >> 24 : property & 0xFF;
    e.colour = property & 0xFFFFFF;
    const bool visible = QuantiseOpacity(format, &e);
    *out = e;
    return visible ? VSURF_OK : VSURF_NOTHINGTODRAW;
}

bool NormaliseColourEffect(uint32_t flags, uint32_t property, uint8_t format, uint32_t* colour,
                           VEffect* out) {
    VEffect e;
    e.flags = CancelAddSubtract(flags & kBlitEffectMask & ~(BLIT_SHIFT_SOURCE | BLIT_SHIFT_DEST));
    e.opacity = (flags & kBlitColourFlags) ? property >> 24 : property;
    uint32_t c = *colour;
    const uint32_t p = property & 0xFFFFFF;
    switch (e.flags & kBlitColourFlags) {
        case BLIT_TINT:
            c = ScaleChannels(p, MaxChannel(c));
            break;
        case BLIT_FILL:
            c = p;
            break;
        case BLIT_MIX:
            c = HalveChannels(c) + HalveChannels(p);
            break;
        default:
            break;
    }
    e.flags &= ~kBlitColourFlags;
    if ((e.flags & BLIT_OPACITY) && (e.flags & (BLIT_ADD | BLIT_SUBTRACT))) {
        // Opacities above 256 would carry one channel into the next; 256 is already whole.
        c = ScaleChannels(c, e.opacity > 256 ? 256 : e.opacity);
        e.flags &= ~BLIT_OPACITY;
    }
    *colour = c;
    const bool visible = QuantiseOpacity(format, &e);
    *out = e;
    return visible;
}

uint32_t ShiftEffectFor(uint32_t opacity, uint32_t* shift) {
    switch (opacity) {
        case 128:
            *shift = 1;
            return BLIT_SHIFT_SOURCE;
        case 192:
            *shift = 2;
            return BLIT_SHIFT_SOURCE;
        case 224:
            *shift = 3;
            return BLIT_SHIFT_SOURCE;
        case 240:
            *shift = 4;
            return BLIT_SHIFT_SOURCE;
        case 64:
            *shift = 2;
            return BLIT_SHIFT_DEST;
        case 32:
            *shift = 3;
            return BLIT_SHIFT_DEST;
        case 16:
            *shift = 4;
            return BLIT_SHIFT_DEST;
        default:
            *shift = 0;
            return 0;
    }
}
