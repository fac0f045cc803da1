// Where the demo shows each of its four models ("MODELS" 112 to 115), frame by frame: the
// position, angles and render flags of every frame that draws it, the gradient behind it and
// whether the second scene's light is on. The demo's own timeline lives in app/; this is the
// same walk, kept small for the model sheet and the scene checks.
#pragma once

#include <cstdint>

#include "math/math_tables.h"

struct VModelFrame {
    int32_t frame;  // the scene's frame counter
    int32_t x, y, z, rx, ry;
    uint32_t flags;  // render flags
};

struct VModelScene {
    uint32_t resource;     // "MODELS" id
    const char* file;      // in assets/
    uint32_t top, bottom;  // the gradient, colour values
    bool light;            // light 0 at (2048, 2048, -4096), white, as the second scene sets it
};

constexpr uint32_t kSceneShaded = 1024, kSceneLitFlat = 512, kSceneWireframe = 256;

constexpr VModelScene kModelScenes[] = {
    {112, "raiders.3ds", 0x505050, 0xFFFFFF, false},
    {113, "cannon_tower.3ds", 0x505050, 0x000000, true},
    {114, "laser_tower.3ds", 0x505050, 0x000000, true},
    {115, "boss.3ds", 0x505050, 0x000000, true},
};

// Calls visit(const VModelFrame&) for every frame the scene of model resource draws it, in
// order. The angles go on from one model to the next as the demo's RY does.
template <class Visit>
void WalkModelScene(uint32_t resource, const ClassVMathTables& math, Visit visit) {
    switch (resource) {
        case 112: {  // scene 1, frames 201 to 800: flies in, comes closer, hovers and rocks
            int32_t x = 16000, y = 0, z = -500, rx = 200, ry = 400;
            for (int32_t f = 201; f <= 800; ++f) {
                visit(VModelFrame{f, x, y, z, rx, ry, kSceneShaded});
                if (x > -12500) {
                    x -= 90;
                    rx -= 1;
                    if (ry > 0) ry -= 2;
                } else if (z < 0) {
                    z += 10;
                    rx = 0;
                } else {
                    x = -12900, y = -1500, z = 25000;
                    rx = math.Cos(20 * f) / 900;
                }
            }
            break;
        }
        case 113: {  // scene 2, frames 201 to 1000: far off, tilted and turning, lit per face
            int32_t ry = 0;
            for (int32_t f = 201; f <= 1000; ++f) {
                ry += 10;
                visit(VModelFrame{f, 0, -5000, -50000, 200, ry, kSceneLitFlat});
            }
            break;
        }
        case 114: {  // frames 1001 to 1800: close and turning, with flashes of other modes
            int32_t ry = 8000;
            for (int32_t f = 1001; f <= 1800; ++f) {
                ry += 10;
                const uint32_t flags = f % 150 == 0   ? kSceneWireframe
                                       : f % 100 == 0 ? kSceneLitFlat
                                                      : kSceneShaded;
                visit(VModelFrame{f, 0, 0, 15000, 0, ry, flags});
            }
            break;
        }
        case 115: {  // frames 1801 to 2300: comes from far away and sinks
            int32_t ry = 16000, countdown = 100;
            uint32_t flags = kSceneShaded;
            for (int32_t f = 1801; f <= 2300; ++f) {
                const int32_t t = f - 1800;
                ry += 10;
                if (--countdown == 0) {
                    const bool wire = flags == kSceneWireframe;
                    flags = wire ? kSceneLitFlat : kSceneWireframe;
                    countdown = wire ? 70 : 5;
                }
                visit(VModelFrame{f, 0, (-100 - t) * 5, (t - 300) * 100, 0, ry, flags});
            }
            break;
        }
        default:
            break;
    }
}
