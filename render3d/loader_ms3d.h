// VLoader_MS3D: MilkShape 3D binary models (versions 3 and 4) into a V3DModel.
//
// Vertices, triangles with their per-corner normals and texture coordinates, the ambient
// colour of each group's material, and the joints with their key frames as bones. A first
// pass finds the sections and fills working tables (32 groups, 128 joints) allocated through
// the model's memory service for the one load; the data then reaches the model in blocks
// through a 1024-byte record buffer.
#pragma once

#include <cstdint>

#include "imaging/loader_base.h"
#include "render3d/loader_ms3d_tables.h"

class V3DModel;
struct ModelChunk;

class VLoader_MS3D final : public ClassVLoaderBase {
  public:
    // a: the scale, a signed 8-bit exponent: positions are multiplied by 2^(6 + scale).
    // b: the create flags of the model, passed to CreateFromChunk unchanged.
    // Results: 0; 3 when the header is not "MS3D000000" with version 3 or 4 (the model is
    // untouched); 2 when the working tables cannot be allocated (nor then); otherwise the
    // first failing model operation's: CreateFromChunk 4 (no vertices or no triangles) or 1,
    // AddBoneVertices 8 (the bones could not be allocated) or 1, AddBoneKeys 1, FinishBuild 1.
    uint32_t LoadModel(V3DModel* model, const uint8_t* data, uint32_t size, uint32_t a,
                       uint32_t b) override;

  private:
    bool ReadHeader();
    // The first pass: section positions, groups, the joint count.
    void Scan(VMs3dTables& tables);
    uint32_t Load(V3DModel& model, VMs3dTables& tables, int8_t scale, uint32_t flags);

    // The second pass, section by section; each returns a model operation's failure or 0.
    uint32_t AddVertices(V3DModel& model, ModelChunk& chunk, const VMs3dTables& tables,
                         int8_t scale, VMs3dStaging& staging);
    void AddTriangles(V3DModel& model, ModelChunk& chunk, const VMs3dTables& tables,
                      VMs3dStaging& staging);
    void ReadMaterialColours(VMs3dTables& tables);
    void AddGroupColours(V3DModel& model, ModelChunk& chunk, const VMs3dTables& tables,
                         VMs3dStaging& staging);
    // Joints (loader_ms3d_joints.cpp).
    void ReadJoints(VMs3dTables& tables, int8_t scale);
    void SetBones(V3DModel& model, VMs3dTables& tables);
    uint32_t AddKeys(V3DModel& model, ModelChunk& chunk, const VMs3dTables& tables, int8_t scale,
                     VMs3dStaging& staging);

    // Moves to a file position, or to the end when it lies beyond it.
    void SeekTo(uint64_t position);
    void SkipBytes(uint64_t n) { SeekTo(uint64_t(GetPos()) + n); }
};
