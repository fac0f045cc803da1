// The triangles of a whole scene as one mesh, in the input's own units: every mesh of the
// scene after assimp has applied the node transforms, triangulated the polygons and joined
// identical vertices.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct aiScene;

struct SceneMesh {
    std::vector<std::array<float, 3>> positions;
    std::vector<std::array<uint32_t, 3>> faces;
    // One per vertex: the mesh's first colour set, else its material's diffuse colour with
    // the material's opacity as alpha, else white.
    std::vector<std::array<uint8_t, 4>> colours;
    // Unit normals; empty unless every mesh has normals.
    std::vector<std::array<float, 3>> normals;
    // The first set of texture coordinates, (0, 0) on meshes without; empty when no mesh has
    // any.
    std::vector<std::array<float, 2>> texCoords;
    uint32_t droppedMeshes = 0;  // of points or lines only
};

// The post-processing the conversion asks of assimp's importer.
unsigned SceneMeshSteps();

// Merges the scene's triangle meshes into one.
SceneMesh MergeScene(const aiScene& scene);
