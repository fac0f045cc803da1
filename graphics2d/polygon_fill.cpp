// V2DSurface triangle fills (flat, shaded, textured) and gradient rectangles.
#include <algorithm>

#include "fileio/memory.h"
#include "graphics2d/display_palette.h"
#include "graphics2d/polygon_side_walk.h"
#include "graphics2d/polygon_span_loops.h"
#include "graphics2d/surface.h"

namespace {

// Whole pixels to 22.10, saturating where the shift would leave 32 bits.
int32_t WholeToFixed(int32_t v) {
    return int32_t(std::clamp<int64_t>(int64_t(v) * 1024, INT32_MIN, INT32_MAX));
}

// Three points on one line enclose nothing; the side walk alone could still give such a
// triangle a pixel where the slopes of its sides round differently.
bool Degenerate(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) {
    return (int64_t(x2) - x1) * (int64_t(y3) - y1) == (int64_t(x3) - x1) * (int64_t(y2) - y1);
}

}  // namespace

VSpanBuffers V2DSurface::SpanBuffers() const {
    VSpanBuffers b;
    b.left = spanleft;
    b.right = spanright;
    b.leftvalues = reinterpret_cast<int32_t*>(spanleftvalues);
    b.rightvalues = reinterpret_cast<int32_t*>(spanrightvalues);
    b.planerows = SpanRows();
    b.physwidth = int32_t(physwidth);
    b.physheight = int32_t(physheight);
    b.clip = clip;
    return b;
}

void V2DSurface::FillTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                              int32_t y3, uint32_t colour, uint32_t flags, uint32_t property) {
    if (!IsCreated() || Degenerate(x1, y1, x2, y2, x3, y3)) return;
    PreparedFill fill;
    if (!PrepareFill(colour, flags, property, &fill)) return;
    if (Lock() == nullptr) return;
    const VOrientation o = Orientation();
    VPolygonVertex v[3];
    const int32_t xy[3][2] = {{x1, y1}, {x2, y2}, {x3, y3}};
    for (int i = 0; i < 3; ++i) {
        v[i].x = xy[i][0], v[i].y = xy[i][1];
        LogicalToPhysicalFixed(o, physwidth, physheight, &v[i].x, &v[i].y);
    }
    const VSpanBuffers b = SpanBuffers();
    VSpanRows rows;
    if (WalkPolygon(b, v, 3, 0, &rows)) {
        ForEachSpan(b, rows, 0, [&](const VSpan& s) {
            FillPreparedRect(VRect{s.left, s.row, s.right + 1, s.row + 1}, fill);
        });
    }
    Unlock();
}

void V2DSurface::FillShadedTriangle(int32_t x1, int32_t y1, uint32_t colour1, int32_t x2,
                                    int32_t y2, uint32_t colour2, int32_t x3, int32_t y3,
                                    uint32_t colour3, uint32_t flags) {
    if (!IsCreated() || Degenerate(x1, y1, x2, y2, x3, y3)) return;
    const uint8_t* inverse = nullptr;
    if (pixelformat == VPIXELFORMAT_8 && (inverse = owner->Palette().InverseTable()) == nullptr)
        return;
    if (Lock() == nullptr) return;
    const VOrientation o = Orientation();
    VPolygonVertex v[3];
    const int32_t xy[3][2] = {{x1, y1}, {x2, y2}, {x3, y3}};
    const uint32_t colours[3] = {colour1, colour2, colour3};
    for (int i = 0; i < 3; ++i) {
        v[i].x = xy[i][0], v[i].y = xy[i][1];
        LogicalToPhysicalFixed(o, physwidth, physheight, &v[i].x, &v[i].y);
        for (int k = 0; k < 3; ++k) v[i].value[k] = ShadedChannelValue(colours[i], k);
    }
    const VSpanBuffers b = SpanBuffers();
    VSpanRows rows;
    if (WalkPolygon(b, v, 3, 3, &rows)) {
        const bool dither = (flags & VFILL_DITHER) != 0;
        WithFormat(pixelformat, [&]<class T>() {
            ForEachSpan(b, rows, 3, [&](const VSpan& s) {
                ShadedSpan<T>(PixelAddress(s.left, s.row), s, dither, inverse);
            });
        });
    }
    Unlock();
}

void V2DSurface::FillShadedTriangleInt(int32_t x1, int32_t y1, uint32_t colour1, int32_t x2,
                                       int32_t y2, uint32_t colour2, int32_t x3, int32_t y3,
                                       uint32_t colour3, uint32_t flags) {
    FillShadedTriangle(WholeToFixed(x1), WholeToFixed(y1), colour1, WholeToFixed(x2),
                       WholeToFixed(y2), colour2, WholeToFixed(x3), WholeToFixed(y3), colour3,
                       flags);
}

void V2DSurface::DrawTexturedPolygon(const VPolygonVertex* v, int count, const V2DSurface& texture,
                                     const uint8_t* texturememory, const VEffect& e) {
    const VSpanBuffers b = SpanBuffers();
    VSpanRows rows;
    if (!WalkPolygon(b, v, count, 2, &rows)) return;
    VTexture t;
    t.pixels = texturememory;
    t.width = texture.physwidth;
    t.height = texture.physheight;
    t.pitch = texture.pitch;
    t.bytes = texture.BytesPerPixel();
    // Drawing a surface onto itself reads from a copy, so no texel is read after it changed.
    uint8_t* copy = nullptr;
    if (&texture == this) {
        const size_t size = size_t(t.pitch) * t.height * t.bytes;
        copy = static_cast<uint8_t*>(MemAlloc(size));
        if (copy == nullptr) return;
        MemCopy(copy, texturememory, size, false);
        t.pixels = copy;
    }
    WithFormat(pixelformat, [&]<class T>() {
        VBlitParams p;
        p.key = texture.colorkey;
        p.colour = e.colour;
        p.pixel = EffectPixelOf<T>(e.colour, e.flags);
        p.opacity = e.opacity;
        auto spans = [&](const auto& texel) {
            ForEachSpan(b, rows, 2, [&](const VSpan& s) {
                TexturedSpanFor<T>(e.flags, PixelAddress(s.left, s.row), s, texel, p);
            });
        };
        const uint32_t shift = SquareTextureShift(t);
        if (shift != 0)
            spans(VTexelSquare{t.pixels, (1u << shift) - 1, shift, t.bytes});
        else
            spans(VTexelAnySize{t});
    });
    MemFree(copy);
}

void V2DSurface::FillTexturedTriangle(int32_t x1, int32_t y1, int32_t u1, int32_t v1, int32_t x2,
                                      int32_t y2, int32_t u2, int32_t v2, int32_t x3, int32_t y3,
                                      int32_t u3, int32_t v3, V2DSurface* texture, uint32_t flags,
                                      uint32_t property) {
    // Texels are copied as they are stored, so only a texture of this surface's format fits.
    if (texture == nullptr || !IsCreated() || !texture->IsCreated() ||
        texture->pixelformat != pixelformat || Degenerate(x1, y1, x2, y2, x3, y3))
        return;
    VEffect e;
    if (NormaliseTextureEffect(flags, property, pixelformat, &e) != 0) return;
    if (Lock() == nullptr) return;
    const uint8_t* texturememory = texture->Lock();
    if (texturememory == nullptr) {
        Unlock();
        return;
    }
    const VOrientation o = Orientation();
    VPolygonVertex v[3];
    const int32_t corner[3][4] = {{x1, y1, u1, v1}, {x2, y2, u2, v2}, {x3, y3, u3, v3}};
    for (int i = 0; i < 3; ++i) {
        v[i].x = corner[i][0], v[i].y = corner[i][1];
        v[i].value[0] = corner[i][2], v[i].value[1] = corner[i][3];
        LogicalToPhysicalFixed(o, physwidth, physheight, &v[i].x, &v[i].y);
        LogicalToPhysicalTexel(o, texture->physwidth, texture->physheight, &v[i].value[0],
                               &v[i].value[1]);
    }
    DrawTexturedPolygon(v, 3, *texture, texturememory, e);
    texture->Unlock();
    Unlock();
}

void V2DSurface::FillTexturedTriangleInt(int32_t x1, int32_t y1, int32_t u1, int32_t v1, int32_t x2,
                                         int32_t y2, int32_t u2, int32_t v2, int32_t x3, int32_t y3,
                                         int32_t u3, int32_t v3, V2DSurface* texture,
                                         uint32_t flags, uint32_t property) {
    FillTexturedTriangle(WholeToFixed(x1), WholeToFixed(y1), WholeToFixed(u1), WholeToFixed(v1),
                         WholeToFixed(x2), WholeToFixed(y2), WholeToFixed(u2), WholeToFixed(v2),
                         WholeToFixed(x3), WholeToFixed(y3), WholeToFixed(u3), WholeToFixed(v3),
                         texture, flags, property);
}

void V2DSurface::FillGradientRect(const VRect* r, uint32_t topleft, uint32_t topright,
                                  uint32_t bottomleft, uint32_t bottomright, uint32_t flags) {
    if (!IsCreated()) return;
    const VRect whole{0, 0, int32_t(GetWidth()), int32_t(GetHeight())};
    const VRect a = r != nullptr ? *r : whole;
    FillShadedTriangleInt(a.left, a.top, topleft, a.right, a.top, topright, a.left, a.bottom,
                          bottomleft, flags);
    FillShadedTriangleInt(a.right, a.top, topright, a.right, a.bottom, bottomright, a.left,
                          a.bottom, bottomleft, flags);
}

void V2DSurface::FillGradientRect(const VRect* r, uint32_t top, uint32_t bottom, uint32_t flags) {
    FillGradientRect(r, top, top, bottom, bottom, flags);
}
