// V3DModel's builder operations: blocks of records from a loader, described by a ModelChunk.
#include <cstring>

#include "math/wrap_arith.h"
#include "render3d/model.h"

namespace {

constexpr uint32_t kVertexRecord = 12;
constexpr uint32_t kFaceRecord = 16;
constexpr uint32_t kTexCoordVertexRecord = 12;
constexpr uint32_t kTexCoordFaceRecord = 24;
constexpr uint32_t kColourRecord = 4;
constexpr uint32_t kNormalVertexRecord = 12;
constexpr uint32_t kNormalFaceRecord = 36;

// Records in the chunk's block.
uint32_t Records(const ModelChunk& chunk, uint32_t recordBytes) {
    return chunk.data != nullptr ? chunk.dataSize / recordBytes : 0;
}

const uint8_t* Record(const ModelChunk& chunk, uint32_t recordBytes, uint32_t i) {
    return static_cast<const uint8_t*>(chunk.data) + size_t(i) * recordBytes;
}

int32_t I32(const uint8_t* p) {
    int32_t v;
    std::memcpy(&v, p, sizeof(v));
    return v;
}

uint32_t U32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof(v));
    return v;
}

// The element record i of a block lands on, from a counter; past the u32 range it lands
// nowhere (every capacity is below it).
uint64_t Target(uint32_t counter, uint32_t i) {
    return uint64_t(counter) + i;
}

uint32_t Advance(uint32_t counter, uint32_t n) {
    return n > UINT32_MAX - counter ? UINT32_MAX : counter + n;
}

}  // namespace

void V3DModel::WriteTexCoord(uint32_t vertex, int32_t u, int32_t v) {
    if (vertex >= vertexCapacity_) return;
    const int32_t stored[2] = {u, WrapNeg(v)};
    std::memcpy(At(V3DATTR_TEXCOORD, vertex), stored, sizeof(stored));
}

void V3DModel::WriteNormal(uint32_t vertex, const uint8_t* record) {
    if (vertex >= vertexCapacity_) return;
    int8_t* normal = reinterpret_cast<int8_t*>(At(V3DATTR_NORMAL, vertex));
    for (int k = 0; k < 3; ++k) {
        // A 16.16 unit component to a signed byte of length 88; the division truncates toward
        // zero.
        normal[k] = int8_t(WrapMul(I32(record + 4 * k), kNormalLength) / 65536);
    }
}

uint32_t V3DModel::AddVertices(ModelChunk& chunk) {
    const uint32_t n = Records(chunk, kVertexRecord);
    for (uint32_t i = 0; i < n; ++i) {
        const uint64_t vertex = Target(chunk.nextVertex, i);
        if (vertex >= vertexCapacity_) continue;
        const uint8_t* r = Record(chunk, kVertexRecord, i);
        SetVertex(uint32_t(vertex), I32(r), I32(r + 4), I32(r + 8));
    }
    chunk.nextVertex = Advance(chunk.nextVertex, n);
    return V3DMODEL_OK;
}

uint32_t V3DModel::AddFaces(ModelChunk& chunk) {
    const uint32_t n = Records(chunk, kFaceRecord);
    for (uint32_t i = 0; i < n; ++i) {
        const uint64_t face = Target(chunk.nextFace, i);
        if (face >= faceCapacity_) continue;
        const uint8_t* r = Record(chunk, kFaceRecord, i);
        SetFace(uint32_t(face), U32(r), U32(r + 4), U32(r + 8));
    }
    chunk.nextFace = Advance(chunk.nextFace, n);
    return V3DMODEL_OK;
}

uint32_t V3DModel::AddTexCoords(ModelChunk& chunk) {
    if (!Has(V3DATTR_TEXCOORD)) return V3DMODEL_OK;
    const bool perVertex = chunk.texCoordsPerVertex != 0;
    const uint32_t bytes = perVertex ? kTexCoordVertexRecord : kTexCoordFaceRecord;
    const uint32_t n = Records(chunk, bytes);
    for (uint32_t i = 0; i < n; ++i) {
        const uint64_t target = Target(chunk.nextTexCoord, i);
        const uint8_t* r = Record(chunk, bytes, i);
        if (perVertex) {
            if (target < vertexCapacity_) WriteTexCoord(uint32_t(target), I32(r), I32(r + 4));
        } else if (target < faceCapacity_) {
            for (uint32_t k = 0; k < 3; ++k) {
                WriteTexCoord(Corner(uint32_t(target), k), I32(r + 8 * k), I32(r + 8 * k + 4));
            }
        }
    }
    chunk.nextTexCoord = Advance(chunk.nextTexCoord, n);
    return V3DMODEL_OK;
}

uint32_t V3DModel::AddColours(ModelChunk& chunk) {
    if (!Has(V3DATTR_COLOUR)) return V3DMODEL_OK;
    const bool perVertex = chunk.coloursPerVertex != 0;
    const uint32_t n = Records(chunk, kColourRecord);
    for (uint32_t i = 0; i < n; ++i) {
        const uint64_t target = Target(chunk.nextColour, i);
        const uint8_t* r = Record(chunk, kColourRecord, i);
        if (perVertex) {
            if (target < vertexCapacity_) std::memcpy(At(V3DATTR_COLOUR, uint32_t(target)), r, 4);
        } else if (target < faceCapacity_) {
            for (uint32_t k = 0; k < 3; ++k) {
                const uint32_t vertex = Corner(uint32_t(target), k);
                if (vertex < vertexCapacity_) std::memcpy(At(V3DATTR_COLOUR, vertex), r, 4);
            }
        }
    }
    chunk.nextColour = Advance(chunk.nextColour, n);
    return V3DMODEL_OK;
}

uint32_t V3DModel::AddNormals(ModelChunk& chunk) {
    if (!Has(V3DATTR_NORMAL)) return V3DMODEL_OK;
    const bool perVertex = chunk.normalsPerVertex != 0;
    const uint32_t bytes = perVertex ? kNormalVertexRecord : kNormalFaceRecord;
    const uint32_t n = Records(chunk, bytes);
    for (uint32_t i = 0; i < n; ++i) {
        const uint64_t target = Target(chunk.nextNormal, i);
        const uint8_t* r = Record(chunk, bytes, i);
        if (perVertex) {
            if (target < vertexCapacity_) WriteNormal(uint32_t(target), r);
        } else if (target < faceCapacity_) {
            for (uint32_t k = 0; k < 3; ++k) WriteNormal(Corner(uint32_t(target), k), r + 12 * k);
        }
    }
    chunk.nextNormal = Advance(chunk.nextNormal, n);
    normalsPending_ = 0;
    return V3DMODEL_OK;
}

uint32_t V3DModel::FinishBuild() {
    uint32_t result = V3DMODEL_OK;
    if (normalsPending_) {
        if (ComputeNormals()) {
            normalsPending_ = 0;
        } else {
            result = V3DMODEL_FAILED;
        }
    }
    lockCount_ = 0;
    return result;
}
