// What renderer tests draw with: a display stand-in holding the 3D settings as the display
// has them at open, a surface to draw into, and small models built face by face.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "graphics2d/surface.h"
#include "graphics2d/surface_services.h"
#include "render3d/model.h"
#include "render3d/model_services.h"
#include "tests/render3d/test_owner.h"

class FakeDisplay final : public V3DDisplayState {
  public:
    FakeDisplay() { lights[0].diffuse = 0xFFFFFF; }
    VLight* Lights() override { return lights; }
    V2DSurface* Texture() const override { return texture; }
    uint32_t ProjectionScale() const override { return scale; }

    VLight lights[kDisplayLights];
    V2DSurface* texture = nullptr;
    uint32_t scale = 240;
};

// A display, a memory service and a surface of the given size and format.
struct RenderRig {
    RenderRig(uint32_t width = 240, uint32_t height = 320, uint8_t format = VPIXELFORMAT_X888)
        : format(format), services(format) {
        owner.services.display = &display;
        surface.SetOwner(&services);
        EXPECT_EQ(surface.Create(width, height, format, 0), 0u);
    }
    // A texture of the surface's format, w × h, in two colours as a checkerboard of 8-pixel
    // squares.
    void MakeTexture(V2DSurface& texture, uint32_t w, uint32_t h, uint32_t a, uint32_t b) {
        texture.SetOwner(&services);
        ASSERT_EQ(texture.Create(w, h, format, 0), 0u);
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x)
                texture.PutPixel(int32_t(x), int32_t(y), ((x / 8 + y / 8) & 1) ? a : b);
    }

    uint8_t format;
    TestOwner owner;
    FakeDisplay display;
    VSurfaceServices services;
    V2DSurface surface;
};

struct Corner {
    int32_t x, y, z;
    uint32_t colour = 0xFFFFFF;  // 0x00BBGGRR
    int32_t u = 0, v = 0;        // 16.16, as stored
};

// A model of the given triangles (three corners each, vertices not shared), created with
// flags; normals computed from the faces when the model has them.
inline void BuildTriangles(V3DModel& model, V3DServices& services,
                           const std::vector<Corner>& corners, uint32_t flags) {
    model.SetOwner(&services);
    const uint32_t n = uint32_t(corners.size());
    ASSERT_EQ(model.Create(n, n / 3, flags), 0u);
    V3DModelView view;
    ASSERT_TRUE(model.Lock(&view));
    for (uint32_t i = 0; i < n; ++i) {
        const Corner& c = corners[i];
        model.SetVertex(i, c.x, c.y, c.z);
        if (view.colour != nullptr) {
            const uint8_t rgba[4] = {uint8_t(c.colour), uint8_t(c.colour >> 8),
                                     uint8_t(c.colour >> 16), 255};
            std::memcpy(view.colour + size_t(i) * view.colourStride, rgba, 4);
        }
        if (view.texCoord != nullptr) {
            const int32_t uv[2] = {c.u, c.v};
            std::memcpy(view.texCoord + size_t(i) * view.texCoordStride, uv, 8);
        }
    }
    model.Unlock();
    for (uint32_t f = 0; f < n / 3; ++f) model.SetFace(f, 3 * f, 3 * f + 1, 3 * f + 2);
    if (model.Has(V3DATTR_NORMAL)) {
        ASSERT_TRUE(model.ComputeNormals());
    }
}

// Pixels of the surface whose colour value differs from background.
inline uint32_t CountPixelsNot(V2DSurface& s, uint32_t background) {
    uint32_t n = 0;
    for (uint32_t y = 0; y < s.GetHeight(); ++y)
        for (uint32_t x = 0; x < s.GetWidth(); ++x)
            n += s.GetPixel(int32_t(x), int32_t(y)) != background;
    return n;
}
