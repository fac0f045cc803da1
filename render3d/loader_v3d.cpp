// VLoader_V3D: the header check, the chunk loop and the records of each chunk kind.
#include "render3d/loader_v3d.h"

#include <cstring>

#include "render3d/model.h"
#include "render3d/model_units.h"
#include "render3d/record_blocks.h"

namespace {

constexpr uint32_t kHeaderBytes = 12;  // two magics, four bytes the writer may fill
constexpr uint32_t kChunkHeaderBytes = 8;
constexpr uint32_t kMeshHeaderBytes = 44;
constexpr uint32_t kMeshVertexCount = 36;  // the bytes before are the writer's
constexpr uint32_t kMeshFaceCount = 40;
constexpr uint32_t kMaxVertices = 0x10000;
constexpr uint32_t kFaceFileBytes = 6;
constexpr uint32_t kNormalFileBytes = 3;  // the smallest record of a vertex

// A tag as its four bytes in file order read as one little-endian u32.
constexpr uint32_t Tag(const char (&name)[5]) {
    return uint32_t(uint8_t(name[0])) | uint32_t(uint8_t(name[1])) << 8 |
           uint32_t(uint8_t(name[2])) << 16 | uint32_t(uint8_t(name[3])) << 24;
}

constexpr uint32_t kTagMesh = Tag("VMSH");
constexpr uint32_t kTagVertices = Tag("VVTX");
constexpr uint32_t kTagFaces = Tag("VTRI");
constexpr uint32_t kTagColours = Tag("vCOL");
constexpr uint32_t kTagNormals = Tag("vNRM");
constexpr uint32_t kTagTexCoords = Tag("vTXC");
constexpr uint32_t kTagEnd = Tag("_END");

// Each record kind: its bytes in the file, and the records per block, as many as the
// 1024-byte builder buffer holds.
struct RecordKind {
    uint32_t tag;
    uint32_t fileBytes;
    uint32_t perBlock;
};
constexpr RecordKind kRecordKinds[] = {
    {kTagVertices, 12, 85},               // x, y, z as i32
    {kTagFaces, kFaceFileBytes, 64},      // a, b, c as u16
    {kTagColours, 4, 256},                // red, green, blue, alpha
    {kTagNormals, kNormalFileBytes, 85},  // x, y, z as i8
    {kTagTexCoords, 8, 85},               // u, v as i32 16.16
};

constexpr uint32_t kStagingBytes = 1024;

// Records of a vertex, face or texture coordinate per block of the builder, and a normal as
// the builder takes it.
constexpr uint32_t kVertexRecord = 12;
constexpr uint32_t kFaceRecord = 16;
constexpr uint32_t kNormalRecord = 12;
constexpr uint32_t kTexCoordRecord = 12;

uint32_t Min(uint64_t a, uint64_t b) {
    return uint32_t(a < b ? a : b);
}

// Turns n file records of a kind into builder records and hands them to the model.
void Deliver(V3DModel& model, ModelChunk& chunk, uint32_t tag, const uint8_t* read,
             uint8_t* records, uint32_t n, int8_t scale) {
    chunk.data = records;
    switch (tag) {
        case kTagVertices:
            for (uint32_t i = 0; i < 3 * n; ++i) {
                PutI32(records + 4 * i, MultiplyByPowerOfTwo(int32_t(LeU32(read + 4 * i)), scale));
            }
            chunk.dataSize = kVertexRecord * n;
            model.AddVertices(chunk);
            break;
        case kTagFaces:
            for (uint32_t i = 0; i < n; ++i) {
                uint8_t* record = records + kFaceRecord * i;
                for (uint32_t k = 0; k < 3; ++k)
                    PutI32(record + 4 * k, LeU16(read + 6 * i + 2 * k));
                PutI32(record + 12, 0);
            }
            chunk.dataSize = kFaceRecord * n;
            model.AddFaces(chunk);
            break;
        case kTagColours:
            chunk.data = read;  // already the builder's records
            chunk.dataSize = 4 * n;
            model.AddColours(chunk);
            break;
        case kTagNormals:
            // A byte b is b / 256 in 16.16.
            for (uint32_t i = 0; i < 3 * n; ++i) {
                PutI32(records + 4 * i, int32_t(int8_t(read[i])) * 256);
            }
            chunk.dataSize = kNormalRecord * n;
            model.AddNormals(chunk);
            break;
        case kTagTexCoords:
            for (uint32_t i = 0; i < n; ++i) {
                uint8_t* record = records + kTexCoordRecord * i;
                PutI32(record, int32_t(LeU32(read + 8 * i)));
                PutI32(record + 4, int32_t(LeU32(read + 8 * i + 4)));
                PutI32(record + 8, 0);
            }
            chunk.dataSize = kTexCoordRecord * n;
            model.AddTexCoords(chunk);
            break;
        default:
            break;
    }
}

}  // namespace

uint32_t VLoader_V3D::LoadModel(V3DModel* model, const uint8_t* data, uint32_t size, uint32_t a,
                                uint32_t b) {
    SetSource(data, size);
    SetBigEndian(false);
    if (SourceSize() == 0) return VLOAD_DAMAGED;
    uint8_t header[kHeaderBytes] = {};
    if (Remaining() < kHeaderBytes) return VLOAD_NOTTHISFORMAT;
    ReadBlock(header, kHeaderBytes);
    if (std::memcmp(header, "V3D_", 4) != 0 || std::memcmp(header + 4, "VIBV", 4) != 0) {
        return VLOAD_NOTTHISFORMAT;
    }
    if (model == nullptr) return V3DMODEL_INVALID;

    const auto scale = int8_t(a & 0xFF);
    ModelChunk chunk;
    chunk.texCoordsPerVertex = chunk.coloursPerVertex = chunk.normalsPerVertex = 1;
    chunk.createFlags = b;
    bool meshStarted = false;
    bool last = false;
    while (!last && Remaining() >= kChunkHeaderBytes) {
        uint32_t tag = 0, dataSize = 0;
        ReadDword(&tag);
        ReadDword(&dataSize);
        if (dataSize == 0) break;
        // In 64 bits: a size that wrapped the position round would bring the loop back to
        // chunks it has read, without end.
        const uint64_t end = uint64_t(GetPos()) + dataSize;
        const uint32_t held = Min(dataSize, Remaining());  // the chunk's bytes in the block
        if (tag == kTagMesh) {
            if (meshStarted) break;  // one mesh per file
            uint8_t mesh[kMeshHeaderBytes] = {};
            ReadBlock(mesh, Min(held, kMeshHeaderBytes));
            // Capped so that a few bytes cannot make the model allocate megabytes: faces name
            // their vertices with u16 indices, and no more vertices and faces can receive a
            // record than the rest of the file holds records of their smallest kind (a
            // normal, a face). A count outside a short mesh header reads as 0.
            const uint64_t after = SourceSize() - Min(end, SourceSize());
            chunk.vertexCount =
                Min(Min(LeU32(mesh + kMeshVertexCount), kMaxVertices), after / kNormalFileBytes);
            chunk.faceCount = Min(LeU32(mesh + kMeshFaceCount), after / kFaceFileBytes);
            if (const uint32_t r = model->CreateFromChunk(chunk)) return r;
            meshStarted = true;
        } else if (tag == kTagEnd) {
            last = true;
        } else if (meshStarted) {
            // Before the mesh there is no model of this file to write to.
            AddRecords(*model, chunk, tag, held, scale);
        }
        SetPos(Min(end, SourceSize()));
    }
    // A file without a mesh leaves no model behind, not the one loaded before.
    if (!meshStarted) model->Free();
    return model->FinishBuild();
}

void VLoader_V3D::AddRecords(V3DModel& model, ModelChunk& chunk, uint32_t tag, uint32_t bytes,
                             int8_t scale) {
    const RecordKind* kind = nullptr;
    for (const RecordKind& k : kRecordKinds) {
        if (k.tag == tag) kind = &k;
    }
    if (kind == nullptr) return;  // a tag of no record kind is skipped

    uint8_t read[kStagingBytes];
    uint8_t records[kStagingBytes];
    // A record cut by the chunk's end is dropped.
    ReadRecordBlocks(*this, read, bytes / kind->fileBytes, kind->perBlock, kind->fileBytes,
                     [&](uint32_t n) { Deliver(model, chunk, tag, read, records, n, scale); });
}
