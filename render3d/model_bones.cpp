// V3DModel's bones: their matrices, key arrays and vertex lists, as the MilkShape 3D loader
// fills them. Nothing deforms vertices by them; the renderer reads the vertex buffer.
#include <cstring>
#include <new>

#include "math/math_tables.h"
#include "render3d/model.h"
#include "render3d/model_services.h"

namespace {

constexpr uint32_t kBoneVertexRecord = 4;  // u16 vertex, u16 bone
constexpr uint32_t kMaxBoneVertices = 0xFFFF;
constexpr int32_t kMaxParent = 0x7FFF;  // the parent field is i16

uint16_t U16(const uint8_t* p) {
    uint16_t v;
    std::memcpy(&v, p, sizeof(v));
    return v;
}

}  // namespace

void V3DModel::CreateBones(uint32_t count) {
    if (faces_ == nullptr) return;
    FreeBones();
    if (count == 0) return;
    bones_ = static_cast<V3DBone*>(Allocate(uint64_t(count) * sizeof(V3DBone)));
    if (bones_ == nullptr) return;
    for (uint32_t b = 0; b < count; ++b) {
        V3DBone* bone = new (&bones_[b]) V3DBone{};
        MatrixIdentity(bone->global);
        MatrixIdentity(bone->local);
        MatrixIdentity(bone->inverseGlobal);
        bone->parent = -1;
    }
    boneCount_ = count;
    animatedVertices_ = static_cast<uint8_t*>(Allocate(vertexBufferSize_));
    if (animatedVertices_ == nullptr) {
        FreeBones();
        return;
    }
    std::memset(animatedVertices_, 0, vertexBufferSize_);
}

void V3DModel::SetBone(uint32_t index, const int32_t position[3], const int32_t angles[3],
                       int32_t parent) {
    if (index >= boneCount_) return;
    // Without math tables every rotation collapses to zero, as the tables' own contract says.
    static const ClassVMathTables kNoTables;
    const ClassVMathTables& math =
        owner_ != nullptr && owner_->math != nullptr ? *owner_->math : kNoTables;
    V3DBone& bone = bones_[index];
    MatrixIdentity(bone.local);
    MatrixRotation(math, angles[0], angles[1], angles[2], bone.local);
    MatrixTranslation(position[0], position[1], position[2], bone.local);
    if (parent >= 0 && uint32_t(parent) < boneCount_ && parent <= kMaxParent) {
        bone.global = bones_[parent].global;
        MatrixMultiply(bone.global, bone.local);  // the local transform first
        bone.parent = int16_t(parent);
    } else {
        bone.global = bone.local;
        bone.parent = -1;
    }
    bone.inverseGlobal = bone.global;
    MatrixInvertRigid(bone.inverseGlobal);
}

void V3DModel::SetBoneKeyCounts(uint32_t index, uint32_t translationKeys, uint32_t rotationKeys) {
    if (index >= boneCount_) return;
    V3DBone& bone = bones_[index];
    Release(bone.keys);
    bone.keys = nullptr;
    bone.translationKeyCount = bone.rotationKeyCount = 0;
    const uint64_t keys = uint64_t(translationKeys) + rotationKeys;
    if (keys == 0) return;
    bone.keys = static_cast<uint8_t*>(Allocate(keys * kBoneKeyBytes));
    if (bone.keys == nullptr) return;
    std::memset(bone.keys, 0, size_t(keys) * kBoneKeyBytes);
    bone.translationKeyCount = translationKeys;
    bone.rotationKeyCount = rotationKeys;
}

void V3DModel::AppendBoneVertices(uint32_t index, const uint16_t* list, uint32_t count) {
    if (index >= boneCount_ || list == nullptr || count == 0) return;
    V3DBone& bone = bones_[index];
    const uint32_t total = uint32_t(bone.vertexCount) + count;
    if (count > kMaxBoneVertices || total > kMaxBoneVertices) return;
    auto* grown = static_cast<uint16_t*>(Allocate(uint64_t(total) * sizeof(uint16_t)));
    if (grown == nullptr) return;
    if (bone.vertexCount > 0) std::memcpy(grown, bone.vertices, bone.vertexCount * 2u);
    std::memcpy(grown + bone.vertexCount, list, size_t(count) * 2);
    Release(bone.vertices);
    bone.vertices = grown;
    bone.vertexCount = uint16_t(total);
}

uint32_t V3DModel::AddBoneVertices(ModelChunk& chunk) {
    const uint32_t n = chunk.data != nullptr ? chunk.dataSize / kBoneVertexRecord : 0;
    if (bones_ == nullptr || n == 0) return V3DMODEL_NOTHING;
    const auto* records = static_cast<const uint8_t*>(chunk.data);
    // A stable counting sort by bone: each bone's vertices in record order, bones ascending.
    // Records naming no bone of this model are left out, as AppendBoneVertices would drop them.
    auto* start = static_cast<uint32_t*>(Allocate((uint64_t(boneCount_) + 1) * sizeof(uint32_t)));
    auto* sorted = static_cast<uint16_t*>(Allocate(uint64_t(n) * sizeof(uint16_t)));
    if (start == nullptr || sorted == nullptr) {
        Release(start);
        Release(sorted);
        return V3DMODEL_FAILED;
    }
    std::memset(start, 0, (size_t(boneCount_) + 1) * sizeof(uint32_t));
    for (uint32_t i = 0; i < n; ++i) {
        const uint16_t b = U16(records + kBoneVertexRecord * i + 2);
        if (b < boneCount_) ++start[b + 1];
    }
    for (uint32_t b = 0; b < boneCount_; ++b) start[b + 1] += start[b];
    for (uint32_t i = 0; i < n; ++i) {
        const uint8_t* r = records + kBoneVertexRecord * i;
        const uint16_t b = U16(r + 2);
        if (b < boneCount_) sorted[start[b]++] = U16(r);
    }
    // start[b] now marks the end of bone b's run, which begins at the end of the one before.
    uint32_t begin = 0;
    for (uint32_t b = 0; b < boneCount_; ++b) {
        AppendBoneVertices(b, sorted + begin, start[b] - begin);
        begin = start[b];
    }
    Release(start);
    Release(sorted);
    return V3DMODEL_OK;
}

uint32_t V3DModel::AddBoneKeys(ModelChunk& chunk) {
    if (bones_ == nullptr || chunk.boneIndex >= boneCount_) return V3DMODEL_FAILED;
    V3DBone& bone = bones_[chunk.boneIndex];
    if (bone.keys == nullptr) return V3DMODEL_FAILED;
    const uint32_t n = chunk.data != nullptr ? chunk.dataSize / kBoneKeyBytes : 0;
    const bool rotation = chunk.keyKind == 1;
    const uint32_t first = rotation ? bone.translationKeyCount : 0;
    const uint32_t keys = rotation ? bone.rotationKeyCount : bone.translationKeyCount;
    // Only the keys of the block's own kind are written.
    const uint64_t fit = chunk.nextKey < keys ? keys - chunk.nextKey : 0;
    const uint64_t copied = n < fit ? n : fit;
    if (copied > 0) {
        std::memcpy(bone.keys + (uint64_t(first) + chunk.nextKey) * kBoneKeyBytes, chunk.data,
                    size_t(copied) * kBoneKeyBytes);
    }
    chunk.nextKey = n > UINT32_MAX - chunk.nextKey ? UINT32_MAX : chunk.nextKey + n;
    return V3DMODEL_OK;
}
