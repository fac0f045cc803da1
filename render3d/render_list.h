// The render flags and the layout of the renderer's render list.
//
// A render-list entry is a run of i32 packed at the size of the current mode:
//   flat or wireframe: X0, Y0, X1, Y1, X2, Y2, colour
//   shaded:            X0, Y0, X1, Y1, X2, Y2, colour0, colour1, colour2
//   textured:          X0, Y0, X1, Y1, X2, Y2, u0, v0, u1, v1, u2, v2
// Xk, Yk are projected positions in 22.10 fixed point relative to the projection centre, Y
// pointing up; colours are 0x00BBGGRR; uk, vk texel positions in 22.10. The positions keep 10
// fraction bits, the precision the triangle fills take, rather than 20, so that a vertex
// thousands of pixels off the picture (a model close to the viewer) still fits an i32 and the
// visible part of its faces keeps its shape.
#pragma once

#include <cstdint>

// Render flags; the whole value also reaches every fill as its effect flags, where 0x100 is
// the dither bit of the shaded fill.
constexpr uint32_t V3DRENDER_WIREFRAME = 0x100;  // lines, when neither shaded nor textured
constexpr uint32_t V3DRENDER_LIT = 0x200;        // one lit colour per face
constexpr uint32_t V3DRENDER_SHADED = 0x400;     // one colour per corner, lit with normals
constexpr uint32_t V3DRENDER_TEXTURED = 0x800;   // the display's texture, with coordinates
// Culling is off only when these bits are exactly the wireframe bit.
constexpr uint32_t kRenderCullBits = V3DRENDER_WIREFRAME | V3DRENDER_SHADED | V3DRENDER_TEXTURED;

// Vertices at or beyond this depth after the view transform are at or behind the viewpoint;
// faces touching them are dropped.
constexpr int32_t kNearDepth = 32768;

// i32 values of one entry for the mode.
inline uint32_t RenderEntryValues(bool colour, bool shaded, bool textured) {
    uint32_t n = 6;
    if (colour) n += shaded ? 3 : 1;
    if (textured) n += 6;
    return n;
}
