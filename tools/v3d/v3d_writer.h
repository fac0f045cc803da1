// A mesh as a V3D file: the header, the mesh header, then one chunk per record kind (vertex
// positions, faces, colours, normals, texture coordinates) and the end chunk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/v3d/scene_mesh.h"

struct V3dOptions {
    double units = 64;  // model units per unit of the input
    bool colours = true;
    bool normals = true;
    bool texCoords = true;
    std::string name;  // kept in the writer's bytes of the mesh header
};

// Faces name their vertices with u16 indices.
constexpr size_t kV3dMaxVertices = 0x10000;

// The file's bytes; false with a reason when the mesh does not fit the format.
bool WriteV3d(const SceneMesh& mesh, const V3dOptions& options, std::vector<uint8_t>& out,
              std::string& error);
