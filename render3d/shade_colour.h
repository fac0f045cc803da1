// Lighting of one colour by the enabled directional lights.
#pragma once

#include <cstdint>

// An enabled light as the renderer uses it: direction and colours (0x00BBGGRR).
struct V3DLightTerm {
    int32_t direction[3];
    uint32_t ambient;
    uint32_t diffuse;
};

// The base colour c (0x00BBGGRR) lit with the turned normal n by count lights: per channel a
// fifth of the base colour as a floor, plus each light's ambient times the base, plus its
// diffuse times the base scaled by how directly the normal faces the light (the z term
// subtracted, so the default direction (0, 0, -65536) lights a normal pointing to +z). c
// itself when count is 0.
uint32_t ShadeColour(const int32_t n[3], uint32_t c, const V3DLightTerm* lights, uint32_t count);
