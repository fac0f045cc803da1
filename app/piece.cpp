// Piece: a rectangle of a picture that comes in, pulses and finally stretches while it fades
// out, with an optional text beside it. Its length, the point where the stretching starts and
// the stretch itself are worked out in floating point; everything else in integers.
#include <cstdlib>

#include "app/class_main.h"
#include "graphics2d/transformed_blit.h"

namespace {
constexpr uint32_t kTextFlags = BLIT_KEY | BLIT_OPACITY;

uint32_t FlagsForEffect(int32_t effect) {
    switch (effect) {
        case 0:
            return BLIT_OPACITY | BLIT_SUBTRACT;
        case 1:
            return BLIT_KEY | BLIT_OPACITY;
        default:
            return BLIT_KEY | BLIT_OPACITY | BLIT_ADD;
    }
}
}  // namespace

void ClassMain::Piece(V2DSurface& b, int32_t start, int32_t x, int32_t y, V2DSurface* surface,
                      const VRect& rect, int32_t mode, int32_t effect, double factor, int32_t textX,
                      int32_t textY, const char* text) {
    const int32_t f = scene_.frame;
    // The piece's length in frames, and the frame after which it stretches (its last sixth).
    const int32_t length = int32_t(factor * 100);
    const int32_t steady = int32_t(length / 1.2);

    // One frame before and one after the start, so the sound frames the piece's arrival.
    if (std::abs(f - start) == 1) sound_.Play(kSoundPieceComesIn);
    if (f < start || f > start + length) return;
    const int32_t t = f - start;

    // A saw-tooth of opacity that may run past 255; the transformed blit reads the excess by
    // its route (the low byte unscaled, opaque when scaled).
    int32_t opacity = (255 / (length / 3)) * t % 256 + 100;
    if (mode == 3 || mode == 4) {
        opacity = t > steady ? 255 : t * 255 / steady;
        mode -= 2;
    }
    double stretch = 1.0;
    int32_t textOpacity = 255;
    if (t > steady) {
        stretch = t - steady;
        opacity = 255 - t * 255 / length;
        textOpacity = opacity;
    }

    VBlitTransform transform;
    transform.flags = FlagsForEffect(effect);
    transform.property = uint32_t(opacity);
    const int32_t scaled = int32_t(stretch * kTransformScaleOne);
    transform.xscale = mode == 1 || mode == 2 ? scaled : kTransformScaleOne;
    transform.yscale = mode == 0 || mode == 2 ? scaled : kTransformScaleOne;
    b.BlitTransformed(x, y, surface, &rect, &transform);

    if (textX != 0) b.DrawString(textX, textY, &font_, text, kTextFlags, uint32_t(textOpacity));
}
