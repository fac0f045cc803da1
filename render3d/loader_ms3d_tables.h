// The working tables of the MilkShape 3D loader: what its first pass finds (the sections'
// file positions, the groups and the joints), and the staging buffers through which the data
// reaches the model.
#pragma once

#include <cstdint>

constexpr char kMs3dId[] = "MS3D000000";
constexpr uint32_t kMs3dIdBytes = 10;
constexpr uint32_t kMs3dHeaderBytes = kMs3dIdBytes + 4;  // the id, then an i32 version

// Bytes of the file's records.
constexpr uint32_t kMs3dVertexBytes = 15;    // flags, x, y, z, bone id, reference count
constexpr uint32_t kMs3dTriangleBytes = 70;  // flags, 3 indices, 9 normals, s, t, 2 bytes
constexpr uint32_t kMs3dMaterialBytes = 361;
constexpr uint32_t kMs3dAmbientOffset = 32;   // after the material's name
constexpr uint32_t kMs3dAnimationBytes = 12;  // frame rate, current time, total frames
constexpr uint32_t kMs3dNameBytes = 32;       // not always zero-terminated
// A joint before its keys: flags, name, parent name, rotation, position, two key counts.
constexpr uint32_t kMs3dJointBytes = 1 + 2 * kMs3dNameBytes + 24 + 4;
constexpr uint32_t kMs3dKeyBytes = 16;  // time in seconds, three floats
constexpr uint8_t kMs3dNoBone = 255;

constexpr uint32_t kMaxMs3dGroups = 32;
constexpr uint32_t kMaxMs3dMaterials = 64;
constexpr uint32_t kMaxMs3dJoints = 128;

struct VMs3dGroup {
    uint32_t colour;  // 0xFFFFFFFF until a material sets it
    char name[kMs3dNameBytes];
    uint32_t position;  // of the group's record in the file
    uint16_t triangleCount;
    int8_t material;  // -1: none
    uint8_t flags;
};

struct VMs3dJoint {
    char name[kMs3dNameBytes];
    char parentName[kMs3dNameBytes];
    int32_t position[3];  // model units
    int32_t angles[3];    // 4096 units a turn
    // Keys as many as the file holds of the counts it gives.
    uint16_t translationKeyCount;
    uint16_t rotationKeyCount;
    uint32_t rotationKeys;  // file positions
    uint32_t translationKeys;
    int16_t parent;  // joint index, -1 for none
};

struct VMs3dTables {
    VMs3dGroup groups[kMaxMs3dGroups];
    VMs3dJoint joints[kMaxMs3dJoints];
    uint32_t vertexCount;
    uint32_t vertexData;
    uint32_t triangleCount;
    uint32_t triangleData;
    uint32_t groupCount;  // of the file
    uint32_t materialCount;
    uint32_t materialData;
    uint32_t jointCount;  // joints whose records begin within the file
    uint32_t jointData;
};

// One block of file data and the records made from it.
constexpr uint32_t kMs3dStagingBytes = 1024;
struct VMs3dStaging {
    uint8_t read[kMs3dStagingBytes];
    uint8_t records[kMs3dStagingBytes];
};
