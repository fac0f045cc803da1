// VLoader_3DS: 3D Studio mesh files (main chunk 0x4D4D) into a V3DModel.
//
// Every mesh object of the file (up to 32) is merged into one model; each face takes the
// ambient colour of its material, texture coordinates are read when present, and the model
// computes the vertex normals. Cameras, lights, keyframes, smoothing groups and texture maps
// are not read. The loader allocates nothing: the tables of the first pass live on the stack,
// and the data reaches the model through one 1024-byte record buffer.
#pragma once

#include <cstdint>

#include "imaging/loader_base.h"
#include "render3d/loader_3ds_tables.h"

class VLoader_3DS final : public ClassVLoaderBase {
  public:
    // a: the scale, a signed 8-bit exponent: positions are multiplied by 2^(6 + scale).
    // b: the create flags of the model, passed to CreateFromChunk unchanged.
    // Results: 0; 3 when the block does not start with 0x4D4D (the model is untouched); 1 for
    // a chunk layout that would make the walks revisit its chunks without end (more than 2^20
    // + 16 per byte of the block); otherwise the model's (4 no vertices or no faces, 1 out of
    // memory).
    uint32_t LoadModel(V3DModel* model, const uint8_t* data, uint32_t size, uint32_t a,
                       uint32_t b) override;

  private:
    // The first pass: the chunk walks that fill the tables.
    template <typename Handle>
    void WalkChunks(V3dsTables& tables, uint64_t end, Handle handle);
    void WalkTop(V3dsTables& tables);
    void WalkEditor(V3dsTables& tables);
    void WalkObject(V3dsTables& tables, V3dsObject& object);
    void WalkMesh(V3dsTables& tables, V3dsObject& object);
    void ReadMaterial(V3dsTables& tables, V3dsMaterial& material, uint32_t start, uint32_t length);
    bool ReadColour(V3dsTables& tables, uint64_t end, uint32_t* colour);
    void ReadGroup(const V3dsTables& tables, V3dsObject& object);
    void ReadName(char* name);

    // The second pass: the objects' data into the model.
    void TransferObject(V3DModel& model, ModelChunk& chunk, const V3dsTables& tables,
                        const V3dsObject& object, int8_t scale, V3dsStaging& staging);
};
