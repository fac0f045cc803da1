// The working tables of the 3D Studio loader: what its chunk walks find (materials, and per
// object the positions of its vertex, face and texture-coordinate data and its material
// groups), and the staging buffers through which the data reaches the model.
#pragma once

#include <cstdint>

#include "render3d/model.h"

// Chunk ids.
constexpr uint16_t k3dsMain = 0x4D4D;
constexpr uint16_t k3dsEditor = 0x3D3D;
constexpr uint16_t k3dsObject = 0x4000;
constexpr uint16_t k3dsMesh = 0x4100;
constexpr uint16_t k3dsVertices = 0x4110;
constexpr uint16_t k3dsFaces = 0x4120;
constexpr uint16_t k3dsFaceMaterial = 0x4130;
constexpr uint16_t k3dsTexCoords = 0x4140;
constexpr uint16_t k3dsMaterial = 0xAFFF;
constexpr uint16_t k3dsMaterialName = 0xA000;
constexpr uint16_t k3dsAmbient = 0xA010;
constexpr uint16_t k3dsColourFloat = 0x0010;
constexpr uint16_t k3dsColour24 = 0x0011;

constexpr uint32_t k3dsChunkHeader = 6;  // u16 id, u32 length counting the header
constexpr uint32_t kMax3dsMaterials = 16;
constexpr uint32_t kMax3dsObjects = 32;
constexpr uint32_t kMax3dsGroups = 16;
constexpr uint32_t k3dsNameBytes = 31;  // 30 characters and the terminator
// Every walk runs to the end of the whole block and the walk that called it then goes on with
// its own next chunk, so a crafted file could make the walks revisit its chunks far more often
// than their number (quadratically). A real file takes one walk per level and object, each
// visiting a chunk at most once: far fewer visits than this limit, which grows with the size.
constexpr uint64_t k3dsBaseChunkVisits = 1u << 20;
constexpr uint64_t k3dsChunkVisitsPerByte = 16;

struct V3dsMaterial {
    char name[k3dsNameBytes];
    uint32_t colour;  // as a vertex colour: red in the low byte, alpha 0xFF
    uint8_t used;
};

struct V3dsGroup {
    uint8_t material;   // index in the material table
    uint32_t position;  // of the group's face numbers
    uint16_t faceCount;
};

struct V3dsObject {
    V3dsGroup groups[kMax3dsGroups];
    char name[k3dsNameBytes];
    uint8_t groupCount;
    uint16_t vertexCount;
    uint16_t faceCount;
    // File positions of the data; 0 when absent.
    uint32_t vertexData;
    uint32_t faceData;
    uint32_t texCoordData;
};

struct V3dsTables {
    V3dsMaterial materials[kMax3dsMaterials];
    V3dsObject objects[kMax3dsObjects];
    uint32_t materialsTaken;
    uint32_t objectsSeen;
    uint64_t chunkVisits;
    uint64_t visitLimit;
    bool overrun;  // the walks ended at the visit limit
};

// One block of file data and the records made from it.
constexpr uint32_t k3dsStagingBytes = 1024;
struct V3dsStaging {
    uint8_t read[k3dsStagingBytes];
    uint8_t records[k3dsStagingBytes];
};
