// V2DSurface::BlitTransformed and its scaled and freely turned route, the textured
// quadrilateral.
#include "graphics2d/transformed_blit.h"

#include <algorithm>

#include "graphics2d/polygon_side_walk.h"
#include "graphics2d/polygon_span_loops.h"
#include "graphics2d/surface.h"
#include "math/math_tables.h"

namespace {

bool IsUnscaled(const VBlitTransform& t) {
    return t.xscale == kTransformScaleOne && t.yscale == kTransformScaleOne;
}

// scale × n / 2 in quarter pixels (n in half pixels from the centre), rounded toward zero so
// that opposite edges lie symmetrically about the centre.
int64_t ScaledOffset(int64_t n, int32_t scale) {
    return n >= 0 ? (n * scale) >> 15 : -((-n * scale) >> 15);
}

}  // namespace

uint32_t V2DSurface::BlitTransformed(int32_t x, int32_t y, V2DSurface* source,
                                     const VRect* sourcerect, const VBlitTransform* transform) {
    if (source == nullptr) return VSURF_NOTCREATED;
    const VBlitTransform t = transform != nullptr ? *transform : VBlitTransform{};
    const VRect whole{0, 0, int32_t(source->GetWidth()), int32_t(source->GetHeight())};
    const VRect r = sourcerect != nullptr ? *sourcerect : whole;
    const int64_t w = int64_t(r.right) - r.left, h = int64_t(r.bottom) - r.top;
    if (t.flip == 0 && t.angle == 0 && IsUnscaled(t)) {
        return Blit(int32_t(std::clamp<int64_t>(x - w / 2, INT32_MIN, INT32_MAX)),
                    int32_t(std::clamp<int64_t>(y - h / 2, INT32_MIN, INT32_MAX)), source,
                    sourcerect, t.flags, t.property);
    }
    if (!IsCreated() || !source->IsCreated()) return VSURF_NOTCREATED;
    if (source->pixelformat != pixelformat) return VSURF_FORMATSDIFFER;
    if ((t.angle & 1023) == 0 && IsUnscaled(t)) {
        const bool sideways = (t.angle & 1024) != 0;
        const int64_t turnedw = sideways ? h : w, turnedh = sideways ? w : h;
        return BlitQuarterTurn(int32_t(std::clamp<int64_t>(x - turnedw / 2, INT32_MIN, INT32_MAX)),
                               int32_t(std::clamp<int64_t>(y - turnedh / 2, INT32_MIN, INT32_MAX)),
                               source, sourcerect, t.angle, t.flip, t.flags, t.property);
    }
    return BlitTexturedQuad(x, y, source, sourcerect, t);
}

uint32_t V2DSurface::BlitTexturedQuad(int32_t x, int32_t y, V2DSurface* source,
                                      const VRect* sourcerect, const VBlitTransform& t) {
    if (source == nullptr || !IsCreated() || !source->IsCreated()) return VSURF_NOTCREATED;
    if (source->pixelformat != pixelformat) return VSURF_FORMATSDIFFER;
    const ClassVMathTables* tables = owner->TurnTables();
    if (tables == nullptr) return VSURF_UNSUPPORTED;
    VEffect e;
    if (NormaliseTextureEffect(t.flags, t.property, pixelformat, &e) != VSURF_OK)
        return VSURF_NOTHINGTODRAW;
    const VRect whole{0, 0, int32_t(source->GetWidth()), int32_t(source->GetHeight())};
    const VRect r = sourcerect != nullptr ? *sourcerect : whole;
    const int64_t w = int64_t(r.right) - r.left, h = int64_t(r.bottom) - r.top;
    if (w <= 0 || h <= 0) return VSURF_OK;
    // Only the part of the rectangle inside the source's clip rectangle is drawn, where it
    // would lie in the whole picture.
    VRect sourceclip;
    source->GetClipRect(&sourceclip);
    const VRect cut = IntersectRect(r, sourceclip);
    if (cut.right <= cut.left || cut.bottom <= cut.top) return VSURF_OK;

    uint8_t* dstmem = Lock();
    if (dstmem == nullptr) return VSURF_LOCKFAILED;
    const uint8_t* srcmem = source->Lock();
    if (srcmem == nullptr) {
        Unlock();
        return VSURF_LOCKFAILED;
    }
    // The centre of a picture odd in size moves by half a pixel so that its edges fall on pixel
    // boundaries: by one pixel right for an odd width, down for an odd height, these two
    // exchanged when the turn is nearer a quarter or three quarters than a half.
    const bool sideways = ((t.angle + 512) & 2047) >= 1024;
    const int64_t acrossodd = (sideways ? h : w) & 1, downodd = (sideways ? w : h) & 1;
    const int64_t cx = (int64_t(x) + acrossodd) * 1024;
    const int64_t cy = (int64_t(y) + downodd) * 1024;
    const VOrientation o = Orientation();

    // Corner offsets in quarter pixels from the centre: the cut rectangle's edges within the
    // whole picture, mirrored by the flip bits, then turned.
    int64_t left = ScaledOffset(2 * (int64_t(cut.left) - r.left) - w, t.xscale);
    int64_t right = ScaledOffset(2 * (int64_t(cut.right) - r.left) - w, t.xscale);
    int64_t top = ScaledOffset(2 * (int64_t(cut.top) - r.top) - h, t.yscale);
    int64_t bottom = ScaledOffset(2 * (int64_t(cut.bottom) - r.top) - h, t.yscale);
    if (t.flip & VFLIP_LEFTRIGHT) left = -left, right = -right;
    if (t.flip & VFLIP_TOPBOTTOM) top = -top, bottom = -bottom;
    const int64_t sine = tables->Sin(int32_t(t.angle & 4095));
    const int64_t cosine = tables->Cos(int32_t(t.angle & 4095));
    const int64_t corner[4][4] = {
        {left, top, cut.left, cut.top},
        {right, top, cut.right, cut.top},
        {right, bottom, cut.right, cut.bottom},
        {left, bottom, cut.left, cut.bottom},
    };
    VPolygonVertex v[4];
    for (int i = 0; i < 4; ++i) {
        const int64_t ox = corner[i][0], oy = corner[i][1];
        v[i].x = ((cosine * ox) >> 8) - ((sine * oy) >> 8) + cx;
        v[i].y = ((sine * ox) >> 8) + ((cosine * oy) >> 8) + cy;
        v[i].value[0] = corner[i][2] * 1024;
        v[i].value[1] = corner[i][3] * 1024;
        LogicalToPhysicalFixed(o, physwidth, physheight, &v[i].x, &v[i].y);
        LogicalToPhysicalTexel(o, source->physwidth, source->physheight, &v[i].value[0],
                               &v[i].value[1]);
    }
    DrawTexturedPolygon(v, 4, *source, srcmem, e);
    source->Unlock();
    Unlock();
    return VSURF_OK;
}
