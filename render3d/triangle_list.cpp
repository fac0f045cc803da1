// V3DModel::BuildTriangleList: every face transformed, projected, culled, coloured and
// appended to the render list, then the sort list put in depth order.
#include <algorithm>
#include <cstring>

#include "graphics2d/surface.h"
#include "math/matrix.h"
#include "render3d/depth_sort.h"
#include "render3d/model.h"
#include "render3d/model_services.h"
#include "render3d/projection.h"
#include "render3d/render_list.h"
#include "render3d/shade_colour.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

// The enabled lights of the display in index order; their number.
uint32_t CollectLights(V3DDisplayState& display, V3DLightTerm out[kDisplayLights]) {
    const VLight* lights = display.Lights();
    if (lights == nullptr) return 0;
    uint32_t n = 0;
    for (uint32_t i = 0; i < kDisplayLights; ++i) {
        if (lights[i].enabled == 0) continue;
        out[n++] =
            V3DLightTerm{{lights[i].direction[0], lights[i].direction[1], lights[i].direction[2]},
                         lights[i].ambient,
                         lights[i].diffuse};
    }
    return n;
}

// A texture coordinate in 16.16 (65536 the whole side) as a texel position in 22.10.
int32_t TexelPosition(int32_t t, uint32_t side) {
    return int32_t(std::clamp<int64_t>((int64_t(t) * side) >> 6, INT32_MIN, INT32_MAX));
}

}  // namespace

VMatrix V3DModel::RenderMatrix() const {
    if (viewMatrix_ == nullptr) return modelMatrix_;
    VMatrix m = *viewMatrix_;
    MatrixMultiply(m, modelMatrix_);
    return m;
}

void V3DModel::ReadPosition(uint32_t vertex, int32_t out[3]) const {
    std::memcpy(out, At(V3DATTR_POSITION, vertex), kPositionBytes);
}

void V3DModel::ReadNormal(uint32_t vertex, int32_t out[3]) const {
    const uint8_t* n = At(V3DATTR_NORMAL, vertex);
    for (int k = 0; k < 3; ++k) out[k] = int8_t(n[k]);
}

uint32_t V3DModel::ReadColour(uint32_t vertex) const {
    const uint8_t* c = At(V3DATTR_COLOUR, vertex);
    return uint32_t(c[0]) | uint32_t(c[1]) << 8 | uint32_t(c[2]) << 16;
}

void V3DModel::ReadTexCoord(uint32_t vertex, int32_t out[2]) const {
    std::memcpy(out, At(V3DATTR_TEXCOORD, vertex), kTexCoordBytes);
}

uint32_t V3DModel::BuildTriangleList(bool lighting, bool colour, bool shaded, bool textured,
                                     bool cull) {
    V3DDisplayState* display = owner_ != nullptr ? owner_->display : nullptr;
    if (display == nullptr || faces_ == nullptr || renderList_ == nullptr || sortList_ == nullptr) {
        return 0;
    }
    const VMatrix m = RenderMatrix();
    const uint32_t scale = display->ProjectionScale();

    V3DLightTerm lights[kDisplayLights];
    const uint32_t lightCount =
        lighting && Has(V3DATTR_NORMAL) ? CollectLights(*display, lights) : 0;
    const bool lit = lightCount != 0;
    const bool vertexColours = Has(V3DATTR_COLOUR);

    uint32_t texWidth = 0, texHeight = 0;
    if (textured) {
        const V2DSurface* texture = display->Texture();
        if (texture == nullptr || !Has(V3DATTR_TEXCOORD)) return 0;
        texWidth = texture->GetWidth();
        texHeight = texture->GetHeight();
        if (texWidth == 0 || texHeight == 0) return 0;
    }
    const uint32_t values = RenderEntryValues(colour, shaded, textured);

    uint32_t count = 0;
    for (uint32_t f = 0; f < faceCount_; ++f) {
        uint32_t v[3];
        int32_t z[3];
        int64_t x[3], y[3];
        bool behind = false;
        for (uint32_t k = 0; k < 3; ++k) {
            v[k] = Corner(f, k);
            int32_t p[3], t[3];
            ReadPosition(v[k], p);
            TransformPoint(t[0], t[1], t[2], p[0], p[1], p[2], m);
            // At or behind the viewpoint nothing can be projected: the face is dropped.
            if (t[2] >= kNearDepth) {
                behind = true;
                break;
            }
            const int64_t s = PerspectiveScale(t[2], scale);
            x[k] = Project(s, t[0]);
            y[k] = Project(s, t[1]);
            z[k] = t[2];
        }
        if (behind || (cull && !FacesViewer(x, y))) continue;

        int32_t* e = renderList_ + size_t(count) * values;
        for (uint32_t k = 0; k < 3; ++k) {
            e[2 * k] = int32_t(x[k] >> 10);
            e[2 * k + 1] = int32_t(y[k] >> 10);
        }
        int32_t* next = e + 6;
        if (colour) {
            // Flat faces take corner 2's colour and, without colours of their own, corner
            // 0's normal.
            const uint32_t corners = shaded ? 3 : 1;
            for (uint32_t i = 0; i < corners; ++i) {
                const uint32_t vc = shaded ? v[i] : v[2];
                const uint32_t vn = shaded ? v[i] : (vertexColours ? v[2] : v[0]);
                const uint32_t base = vertexColours ? ReadColour(vc) : kWhite;
                uint32_t c = base;
                if (lit) {
                    int32_t n[3], turned[3];
                    ReadNormal(vn, n);
                    TransformDirection(turned[0], turned[1], turned[2], n[0], n[1], n[2], m);
                    c = ShadeColour(turned, base, lights, lightCount);
                }
                *next++ = int32_t(c);
            }
        }
        if (textured) {
            for (uint32_t k = 0; k < 3; ++k) {
                int32_t t[2];
                ReadTexCoord(v[k], t);
                *next++ = TexelPosition(t[0], texWidth);
                *next++ = TexelPosition(t[1], texHeight);
            }
        }
        sortList_[count] = V3DSortEntry{count, DepthKey(z)};
        ++count;
    }
    SortByDepth(sortList_, count);
    return count;
}
