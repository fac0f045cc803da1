// A display stand-in and small helpers for surface tests.
#pragma once

#include <gtest/gtest.h>

#include "graphics2d/surface.h"
#include "graphics2d/surface_services.h"
#include "math/math_tables.h"

// Services that hand out the sine tables of the 3D math service, as the display hands out the
// application's, for the freely turned and scaled blits.
struct TurningServices : VSurfaceServices {
    explicit TurningServices(uint8_t format) : VSurfaceServices(format) {
        tables.BuildTables();
        SetTurnTables(&tables);
    }
    ClassVMathTables tables;
};

// A surface of the given logical size and format created for services.
inline void MakeSurface(VSurfaceServices& services, V2DSurface& s, uint32_t w, uint32_t h,
                        uint8_t format) {
    s.SetOwner(&services);
    ASSERT_EQ(s.Create(w, h, format, 0), 0u);
}

// The raw pixel value at logical (x, y).
inline uint32_t RawPixel(V2DSurface& s, int32_t x, int32_t y) {
    SurfaceLayout l;
    uint8_t* p = s.Lock(&l) + l.origin + x * l.xstep + y * l.ystep;
    uint32_t v = 0;
    for (int b = 0; b < l.bitsperpixel / 8; ++b) v |= uint32_t(p[b]) << (8 * b);
    s.Unlock();
    return v;
}

inline void SetRawPixel(V2DSurface& s, int32_t x, int32_t y, uint32_t v) {
    SurfaceLayout l;
    uint8_t* p = s.Lock(&l) + l.origin + x * l.xstep + y * l.ystep;
    for (int b = 0; b < l.bitsperpixel / 8; ++b) p[b] = uint8_t(v >> (8 * b));
    s.Unlock();
}

inline void FillRaw(V2DSurface& s, uint32_t v) {
    for (uint32_t y = 0; y < s.GetHeight(); ++y)
        for (uint32_t x = 0; x < s.GetWidth(); ++x) SetRawPixel(s, int32_t(x), int32_t(y), v);
}
