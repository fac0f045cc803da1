// V3DModel: creation, release, locking and single-element writes.
#include "render3d/model.h"

#include <cstring>

#include "render3d/model_services.h"

namespace {

constexpr uint32_t kFaceBytes = 3 * sizeof(uint16_t);
// The vertex buffer offsets are i32, so the whole buffer stays addressable by them.
constexpr uint64_t kMaxVertexBufferBytes = 0x7FFFFFFF;
// A face names its vertices with u16 indices.
constexpr uint32_t kMaxFaceVertex = 0xFFFF;

uint32_t VertexBytes(uint32_t flags) {
    uint32_t size = kPositionBytes;
    if (!(flags & V3DMODEL_NONORMALS)) size += kNormalBytes;
    if (!(flags & V3DMODEL_NOCOLOURS)) size += kColourBytes;
    if (!(flags & V3DMODEL_NOTEXCOORDS)) size += kTexCoordBytes;
    return size;
}

}  // namespace

V3DModel::~V3DModel() {
    Free();
}

void* V3DModel::Allocate(uint64_t size) {
    if (owner_ == nullptr || owner_->memory == nullptr || size == 0 || size > SIZE_MAX) {
        return nullptr;
    }
    return owner_->memory->Allocate(size_t(size));
}

void V3DModel::Release(void* block) {
    if (block != nullptr && owner_ != nullptr && owner_->memory != nullptr) {
        owner_->memory->Release(block);
    }
}

void V3DModel::SetOwner(V3DServices* services) {
    // Buffers go back to the service they came from.
    if (services != owner_) Free();
    owner_ = services;
}

uint32_t V3DModel::Create(uint32_t vertexCapacity, uint32_t faceCapacity, uint32_t flags) {
    Free();
    if (vertexCapacity == 0 || faceCapacity == 0) return V3DMODEL_INVALID;
    const uint32_t vertexBytes = VertexBytes(flags);
    const uint64_t bufferBytes = uint64_t(vertexCapacity) * vertexBytes;
    if (bufferBytes > kMaxVertexBufferBytes) return V3DMODEL_FAILED;

    vertices_ = static_cast<uint8_t*>(Allocate(bufferBytes));
    faces_ = static_cast<uint16_t*>(Allocate(uint64_t(faceCapacity) * kFaceBytes));
    sortList_ = static_cast<V3DSortEntry*>(Allocate(uint64_t(faceCapacity) * sizeof(V3DSortEntry)));
    renderList_ = static_cast<int32_t*>(
        Allocate(uint64_t(faceCapacity) * kRenderEntryValues * sizeof(int32_t)));
    if (vertices_ == nullptr || faces_ == nullptr || sortList_ == nullptr ||
        renderList_ == nullptr) {
        Free();
        return V3DMODEL_FAILED;
    }

    vertexCapacity_ = vertexCapacity;
    faceCapacity_ = faceCapacity;
    vertexBufferSize_ = uint32_t(bufferBytes);
    // The renderer's work buffers are written before they are read, each frame.
    std::memset(vertices_, 0, bufferBytes);
    std::memset(faces_, 0, size_t(faceCapacity) * kFaceBytes);
    LayOut(flags);
    if (Has(V3DATTR_COLOUR)) {
        for (uint32_t v = 0; v < vertexCapacity; ++v) std::memset(At(V3DATTR_COLOUR, v), 0xFF, 4);
    }
    MatrixIdentity(modelMatrix_);
    faceCount_ = 0;
    vertexCount_ = 0;
    viewMatrix_ = nullptr;
    return V3DMODEL_OK;
}

void V3DModel::LayOut(uint32_t flags) {
    const bool present[V3DATTR_COUNT] = {
        true,
        !(flags & V3DMODEL_NOTEXCOORDS),
        !(flags & V3DMODEL_NONORMALS),
        !(flags & V3DMODEL_NOCOLOURS),
    };
    const uint32_t bytes[V3DATTR_COUNT] = {kPositionBytes, kTexCoordBytes, kNormalBytes,
                                           kColourBytes};
    // Both layouts place the attributes in the order position, normal, colour, texture
    // coordinate: within one record when interleaved, as whole arrays when separate.
    const V3DAttribute order[V3DATTR_COUNT] = {V3DATTR_POSITION, V3DATTR_NORMAL, V3DATTR_COLOUR,
                                               V3DATTR_TEXCOORD};
    const bool separate = (flags & V3DMODEL_SEPARATE) != 0;
    const uint32_t record = VertexBytes(flags);
    uint64_t offset = 0;
    for (V3DAttribute a : order) {
        strides_[a] = separate ? bytes[a] : record;
        offsets_[a] = present[a] ? int32_t(offset) : -1;
        if (present[a]) offset += separate ? uint64_t(bytes[a]) * vertexCapacity_ : bytes[a];
    }
}

uint32_t V3DModel::CreateFromChunk(const ModelChunk& chunk) {
    normalsPending_ = 1;
    return Create(chunk.vertexCount, chunk.faceCount, chunk.createFlags);
}

void V3DModel::FreeBones() {
    for (uint32_t b = 0; b < boneCount_; ++b) {
        Release(bones_[b].vertices);
        Release(bones_[b].keys);
    }
    Release(bones_);
    Release(animatedVertices_);
    bones_ = nullptr;
    animatedVertices_ = nullptr;
    boneCount_ = 0;
}

void V3DModel::Free() {
    lockCount_ = 0;
    FreeBones();
    Release(renderList_);
    Release(sortList_);
    Release(faces_);
    Release(vertices_);
    renderList_ = nullptr;
    sortList_ = nullptr;
    faces_ = nullptr;
    vertices_ = nullptr;
    faceCapacity_ = vertexCapacity_ = 0;
    faceCount_ = vertexCount_ = 0;
    vertexBufferSize_ = 0;
    for (int32_t& offset : offsets_) offset = -1;
    for (uint32_t& stride : strides_) stride = 0;
}

bool V3DModel::Lock(V3DModelView* view) {
    if (faces_ == nullptr || view == nullptr) return false;
    view->position = At(V3DATTR_POSITION, 0);
    view->normal = Has(V3DATTR_NORMAL) ? At(V3DATTR_NORMAL, 0) : nullptr;
    view->colour = Has(V3DATTR_COLOUR) ? At(V3DATTR_COLOUR, 0) : nullptr;
    view->texCoord = Has(V3DATTR_TEXCOORD) ? At(V3DATTR_TEXCOORD, 0) : nullptr;
    view->faces = faces_;
    view->positionStride = strides_[V3DATTR_POSITION];
    view->texCoordStride = strides_[V3DATTR_TEXCOORD];
    view->normalStride = strides_[V3DATTR_NORMAL];
    view->colourStride = strides_[V3DATTR_COLOUR];
    ++lockCount_;
    return true;
}

void V3DModel::Unlock() {
    if (lockCount_ > 0) --lockCount_;
}

void V3DModel::SetVertex(uint32_t index, int32_t x, int32_t y, int32_t z) {
    if (index >= vertexCapacity_) return;
    const int32_t position[3] = {x, y, z};
    std::memcpy(At(V3DATTR_POSITION, index), position, sizeof(position));
    if (vertexCount_ < index + 1) vertexCount_ = index + 1;
}

void V3DModel::SetFace(uint32_t index, uint32_t a, uint32_t b, uint32_t c) {
    if (index >= faceCapacity_) return;
    const uint32_t corners[3] = {a, b, c};
    for (uint32_t v : corners) {
        if (v >= vertexCapacity_ || v > kMaxFaceVertex) return;
    }
    if (faceCount_ < index + 1) faceCount_ = index + 1;
    for (int k = 0; k < 3; ++k) faces_[size_t(index) * 3 + k] = uint16_t(corners[k]);
}
