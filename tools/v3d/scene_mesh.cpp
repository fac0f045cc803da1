#include "tools/v3d/scene_mesh.h"

#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <cmath>

namespace {

uint8_t ColourByte(float c) {
    const float clamped = c < 0 ? 0 : c > 1 ? 1 : c;
    return uint8_t(std::lround(clamped * 255));
}

std::array<uint8_t, 4> MaterialColour(const aiScene& scene, unsigned index) {
    if (index >= scene.mNumMaterials) return {255, 255, 255, 255};
    const aiMaterial& material = *scene.mMaterials[index];
    aiColor4D diffuse(1, 1, 1, 1);
    material.Get(AI_MATKEY_COLOR_DIFFUSE, diffuse);
    float opacity = 1;
    material.Get(AI_MATKEY_OPACITY, opacity);
    return {ColourByte(diffuse.r), ColourByte(diffuse.g), ColourByte(diffuse.b),
            ColourByte(opacity)};
}

std::array<float, 3> UnitNormal(const aiVector3D& n) {
    const float length = n.Length();
    if (length <= 0) return {0, 0, 0};
    return {n.x / length, n.y / length, n.z / length};
}

}  // namespace

unsigned SceneMeshSteps() {
    return aiProcess_Triangulate | aiProcess_PreTransformVertices |
           aiProcess_JoinIdenticalVertices | aiProcess_SortByPType;
}

SceneMesh MergeScene(const aiScene& scene) {
    SceneMesh out;
    bool allNormals = true, anyTexCoords = false;
    std::vector<const aiMesh*> meshes;
    for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
        const aiMesh* mesh = scene.mMeshes[m];
        // Sorted by primitive type, a mesh with triangles holds nothing else.
        if ((mesh->mPrimitiveTypes & aiPrimitiveType_TRIANGLE) == 0) {
            ++out.droppedMeshes;
            continue;
        }
        meshes.push_back(mesh);
        allNormals = allNormals && mesh->HasNormals();
        anyTexCoords = anyTexCoords || mesh->HasTextureCoords(0);
    }
    for (const aiMesh* mesh : meshes) {
        const auto first = uint32_t(out.positions.size());
        const std::array<uint8_t, 4> material = MaterialColour(scene, mesh->mMaterialIndex);
        for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
            const aiVector3D& p = mesh->mVertices[v];
            out.positions.push_back({p.x, p.y, p.z});
            if (mesh->HasVertexColors(0)) {
                const aiColor4D& c = mesh->mColors[0][v];
                out.colours.push_back(
                    {ColourByte(c.r), ColourByte(c.g), ColourByte(c.b), ColourByte(c.a)});
            } else {
                out.colours.push_back(material);
            }
            if (allNormals) out.normals.push_back(UnitNormal(mesh->mNormals[v]));
            if (anyTexCoords) {
                const bool has = mesh->HasTextureCoords(0);
                out.texCoords.push_back({has ? mesh->mTextureCoords[0][v].x : 0.0f,
                                         has ? mesh->mTextureCoords[0][v].y : 0.0f});
            }
        }
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const aiFace& face = mesh->mFaces[f];
            if (face.mNumIndices != 3) continue;
            out.faces.push_back(
                {first + face.mIndices[0], first + face.mIndices[1], first + face.mIndices[2]});
        }
    }
    return out;
}
