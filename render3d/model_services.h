// What a model reaches through its owner: the application's memory service for every buffer it
// holds, the 3D math tables for its bones, and the display's 3D settings for rendering.
//
// The application owns one V3DServices record and fills it; the display hands it to every
// model it loads (V3DModel::SetOwner). Nothing here knows the framework: the display and the
// memory service are reached through the two small interfaces below.
#pragma once

#include <cstddef>
#include <cstdint>

class ClassVMathTables;
class V2DSurface;

// Blocks by size. A model allocates and releases every one of its buffers through the same
// service.
class V3DMemory {
  public:
    virtual ~V3DMemory() = default;
    // Null when memory runs out; never called with size 0.
    virtual void* Allocate(size_t size) = 0;
    // Null is ignored.
    virtual void Release(void* block) = 0;
};

constexpr uint32_t kDisplayLights = 8;

// One directional light: a direction in 16.16 and two colour values (0x00BBGGRR).
struct VLight {
    uint8_t enabled = 0;
    int32_t direction[3] = {0, 0, -65536};
    uint32_t ambient = 0;
    uint32_t diffuse = 0;
};

// The display's 3D settings a model is rendered with.
class V3DDisplayState {
  public:
    virtual ~V3DDisplayState() = default;
    // kDisplayLights records.
    virtual VLight* Lights() = 0;
    // The texture of textured rendering; null when none is set.
    virtual V2DSurface* Texture() const = 0;
    // Screen scale of the perspective: the smaller logical side of the display.
    virtual uint32_t ProjectionScale() const = 0;
};

// The application's table of the services a model uses. Any pointer may be null: a model
// without a memory service allocates nothing, one without math tables gets zero rotations.
struct V3DServices {
    V3DMemory* memory = nullptr;
    const ClassVMathTables* math = nullptr;
    V3DDisplayState* display = nullptr;
};
