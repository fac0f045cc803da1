// V3DModel::DrawInto, the drawing behind V2DSurface::DrawModel: the render flags decide the
// mode, the triangle list is built and sorted, and its entries are drawn back to front with
// the surface's fills.
#include <algorithm>

#include "graphics2d/surface.h"
#include "render3d/model.h"
#include "render3d/model_services.h"
#include "render3d/render_list.h"

namespace {

int32_t Saturate(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

uint32_t V3DModel::DrawInto(V2DSurface& surface, int32_t x, int32_t y, uint32_t flags,
                            uint32_t property) {
    if (faceCapacity_ == 0 || vertexCapacity_ == 0 || renderList_ == nullptr) {
        return VSURF_NOTCREATED;
    }
    if (surface.Lock() == nullptr) return VSURF_LOCKFAILED;

    const bool textured = (flags & V3DRENDER_TEXTURED) != 0 && Has(V3DATTR_TEXCOORD);
    const bool cull = (flags & kRenderCullBits) != V3DRENDER_WIREFRAME;
    const bool shaded = (flags & V3DRENDER_SHADED) != 0;
    const bool lighting = (flags & (V3DRENDER_SHADED | V3DRENDER_LIT)) != 0 && Has(V3DATTR_NORMAL);
    const bool wireframe = (flags & V3DRENDER_WIREFRAME) != 0;
    const uint32_t count = BuildTriangleList(lighting, !textured, shaded, textured, cull);
    const uint32_t values = RenderEntryValues(!textured, shaded, textured);
    // Entries are textured only when the build found the display's texture.
    V2DSurface* texture = textured && count != 0 ? owner_->display->Texture() : nullptr;

    // The projection centre in 22.10: the surface's middle moved by (x, y) whole pixels.
    const int64_t cx = (int64_t(surface.GetWidth()) + 2 * int64_t(x)) << 9;
    const int64_t cy = (int64_t(surface.GetHeight()) + 2 * int64_t(y)) << 9;
    for (uint32_t i = 0; i < count; ++i) {
        const int32_t* e = renderList_ + size_t(sortList_[i].index) * values;
        int32_t sx[3], sy[3];
        for (int k = 0; k < 3; ++k) {
            sx[k] = Saturate(cx + e[2 * k]);
            sy[k] = Saturate(cy - e[2 * k + 1]);
        }
        const int32_t* attributes = e + 6;
        if (textured) {
            const int32_t* t = attributes;
            surface.FillTexturedTriangle(sx[0], sy[0], t[0], t[1], sx[1], sy[1], t[2], t[3], sx[2],
                                         sy[2], t[4], t[5], texture, flags, property);
        } else if (shaded) {
            const int32_t* c = attributes;
            surface.FillShadedTriangle(sx[0], sy[0], uint32_t(c[0]), sx[1], sy[1], uint32_t(c[1]),
                                       sx[2], sy[2], uint32_t(c[2]), flags);
        } else if (wireframe) {
            // Lines join whole pixels: the centre's pixel plus each corner's whole pixels.
            int32_t px[3], py[3];
            for (int k = 0; k < 3; ++k) {
                px[k] = Saturate((cx >> 10) + (e[2 * k] >> 10));
                py[k] = Saturate((cy >> 10) - (e[2 * k + 1] >> 10));
            }
            const uint32_t c = uint32_t(attributes[0]);
            for (int k = 0; k < 3; ++k) {
                const int j = (k + 1) % 3;
                surface.DrawLine(px[k], py[k], px[j], py[j], c, flags, property);
            }
        } else {
            surface.FillTriangle(sx[0], sy[0], sx[1], sy[1], sx[2], sy[2], uint32_t(attributes[0]),
                                 flags, property);
        }
    }
    surface.Unlock();
    return VSURF_OK;
}
