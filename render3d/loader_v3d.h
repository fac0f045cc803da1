// VLoader_V3D: the framework's own model format into a V3DModel.
//
// A V3D file is a 12-byte header ("V3D_", "VIBV", four bytes of the writer's) and tagged
// chunks (four tag bytes, a u32 data size, the data) whose records are already in the model's
// integer formats: the mesh header "VMSH" with the vertex and face counts, then vertex
// positions "VVTX", faces "VTRI", vertex colours "vCOL", normals "vNRM" and texture
// coordinates "vTXC", each kind continuing where its previous chunk stopped, and "_END".
// Unknown tags are skipped by their size. All numbers are little-endian.
#pragma once

#include <cstdint>

#include "imaging/loader_base.h"

class V3DModel;
struct ModelChunk;

class VLoader_V3D final : public ClassVLoaderBase {
  public:
    // a: the scale, a signed 8-bit exponent: positions are multiplied by 2^scale.
    // b: the create flags of the model, passed to CreateFromChunk unchanged.
    // Results: 0 (also for a file without a mesh, which leaves the model empty); 1 for an
    // empty block; 3 when the header's magics are not "V3D_" and "VIBV" (the model is
    // untouched); otherwise the model's: CreateFromChunk 4 (no vertices or no faces) or 1,
    // FinishBuild 1.
    uint32_t LoadModel(V3DModel* model, const uint8_t* data, uint32_t size, uint32_t a,
                       uint32_t b) override;

  private:
    // The records of one chunk kind, from the position up to the chunk's end.
    void AddRecords(V3DModel& model, ModelChunk& chunk, uint32_t tag, uint32_t records,
                    int8_t scale);
};
