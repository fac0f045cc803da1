// VLoader_MS3D: the header check, the first pass, and the vertices, triangles and group
// colours into the model (the joints are in loader_ms3d_joints.cpp).
#include "render3d/loader_ms3d.h"

#include <cstring>

#include "math/fixed_point.h"
#include "math/wrap_arith.h"
#include "render3d/face_colour_runs.h"
#include "render3d/model.h"
#include "render3d/model_services.h"
#include "render3d/model_units.h"
#include "render3d/record_blocks.h"

namespace {

// Records per block, as many as the 1024-byte buffers hold.
constexpr uint32_t kVerticesPerBlock = 68;   // 1020 bytes of the file
constexpr uint32_t kTrianglesPerBlock = 14;  // 980 bytes of the file
constexpr uint32_t kNoBoneRecord = 0xFFFF;   // above every bone index

// Offsets in a triangle record.
constexpr uint32_t kCornerIndices = 2;
constexpr uint32_t kCornerNormals = 8;
constexpr uint32_t kCornerS = 44;
constexpr uint32_t kCornerT = 56;

// The working tables, from the model's memory service for one load and released on every
// way out of it.
class WorkingTables {
  public:
    explicit WorkingTables(V3DMemory* memory)
        : memory_(memory),
          tables_(memory != nullptr
                      ? static_cast<VMs3dTables*>(memory->Allocate(sizeof(VMs3dTables)))
                      : nullptr) {
        if (tables_ != nullptr) std::memset(tables_, 0, sizeof(VMs3dTables));
    }
    WorkingTables(const WorkingTables&) = delete;
    WorkingTables& operator=(const WorkingTables&) = delete;
    ~WorkingTables() {
        if (tables_ != nullptr) memory_->Release(tables_);
    }
    VMs3dTables* get() const { return tables_; }

  private:
    V3DMemory* memory_;
    VMs3dTables* tables_;
};

// A material channel (1.0 = full) as a byte. Limited at both ends: a negative channel would
// otherwise set the bits of the channels above it.
uint32_t ChannelByte(uint32_t floatBits) {
    const int32_t value = FloatToFixed(floatBits, 8);
    return value < 0 ? 0 : value > 255 ? 255 : uint32_t(value);
}

// The file's t runs downward from the top of the texture: 1.0 - t, snapped, so that the model
// keeps t - 1.0.
int32_t FlippedTexCoord(uint32_t floatBits) {
    return SnapTexCoord(WrapSub(0x10000, FloatToFixed(floatBits, 16)));
}

}  // namespace

uint32_t VLoader_MS3D::LoadModel(V3DModel* model, const uint8_t* data, uint32_t size, uint32_t a,
                                 uint32_t b) {
    SetSource(data, size);
    SetBigEndian(false);
    if (!ReadHeader()) return VLOAD_NOTTHISFORMAT;
    if (model == nullptr) return V3DMODEL_INVALID;
    const V3DServices* owner = model->Owner();
    const WorkingTables tables(owner != nullptr ? owner->memory : nullptr);
    if (tables.get() == nullptr) return VLOAD_OUTOFMEMORY;
    return Load(*model, *tables.get(), int8_t(a & 0xFF), b);
}

bool VLoader_MS3D::ReadHeader() {
    if (Remaining() < kMs3dHeaderBytes) return false;
    uint8_t id[kMs3dIdBytes];
    uint32_t version = 0;
    ReadBlock(id, kMs3dIdBytes);
    ReadDword(&version);
    return std::memcmp(id, kMs3dId, kMs3dIdBytes) == 0 && version - 3 <= 1;
}

void VLoader_MS3D::SeekTo(uint64_t position) {
    SetPos(uint32_t(position < SourceSize() ? position : SourceSize()));
}

void VLoader_MS3D::Scan(VMs3dTables& tables) {
    uint16_t count = 0;
    ReadWord(&count);
    tables.vertexCount = count;
    tables.vertexData = GetPos();
    SkipBytes(uint64_t(count) * kMs3dVertexBytes);

    count = 0;
    ReadWord(&count);
    tables.triangleData = GetPos();
    // Room only for the triangles the file holds: a count beyond them would have a few bytes
    // ask for megabytes of faces that cannot arrive.
    const uint32_t held = Remaining() / kMs3dTriangleBytes;
    tables.triangleCount = count < held ? count : held;
    SkipBytes(uint64_t(count) * kMs3dTriangleBytes);

    count = 0;
    ReadWord(&count);
    tables.groupCount = count;
    for (uint32_t g = 0; g < tables.groupCount && HasData(); ++g) {
        VMs3dGroup group{};
        group.colour = 0xFFFFFFFF;
        group.position = GetPos();
        uint8_t material = 0xFF;  // a group cut before its material index has none
        ReadByte(&group.flags);
        ReadBlock(group.name, kMs3dNameBytes);
        ReadWord(&group.triangleCount);
        SkipBytes(uint64_t(group.triangleCount) * 2);
        ReadByte(&material);
        group.material = int8_t(material);
        if (g < kMaxMs3dGroups) tables.groups[g] = group;
    }

    count = 0;
    ReadWord(&count);
    tables.materialCount = count;
    tables.materialData = GetPos();
    SkipBytes(uint64_t(count) * kMs3dMaterialBytes);
    SkipBytes(kMs3dAnimationBytes);

    count = 0;
    ReadWord(&count);
    tables.jointData = GetPos();
    // The model allocates a bone for every joint: a count beyond the joints the rest of the
    // file could hold would have a few bytes ask for megabytes of bones.
    const uint32_t fit = (Remaining() + kMs3dJointBytes - 1) / kMs3dJointBytes;
    tables.jointCount = count < fit ? count : fit;
}

uint32_t VLoader_MS3D::Load(V3DModel& model, VMs3dTables& tables, int8_t scale, uint32_t flags) {
    Scan(tables);
    ModelChunk chunk;  // every attribute block of this loader is per face
    chunk.vertexCount = tables.vertexCount;
    chunk.faceCount = tables.triangleCount;
    chunk.createFlags = flags;
    if (const uint32_t r = model.CreateFromChunk(chunk)) return r;
    model.CreateBones(tables.jointCount);

    VMs3dStaging staging;
    if (const uint32_t r = AddVertices(model, chunk, tables, scale, staging)) return r;
    AddTriangles(model, chunk, tables, staging);
    ReadMaterialColours(tables);
    AddGroupColours(model, chunk, tables, staging);
    ReadJoints(tables, scale);
    SetBones(model, tables);
    if (const uint32_t r = AddKeys(model, chunk, tables, scale, staging)) return r;
    return model.FinishBuild();
}

uint32_t VLoader_MS3D::AddVertices(V3DModel& model, ModelChunk& chunk, const VMs3dTables& tables,
                                   int8_t scale, VMs3dStaging& staging) {
    const uint8_t* const read = staging.read;
    uint8_t* const records = staging.records;
    uint32_t result = V3DMODEL_OK;
    SeekTo(tables.vertexData);
    ReadRecordBlocks(
        *this, staging.read, tables.vertexCount, kVerticesPerBlock, kMs3dVertexBytes,
        [&](uint32_t n) {
            if (tables.jointCount > 0) {
                // (model vertex, bone) pairs; a vertex of no bone names none.
                for (uint32_t i = 0; i < n; ++i) {
                    const uint8_t bone = read[kMs3dVertexBytes * i + 13];
                    const uint16_t pair[2] = {uint16_t(chunk.nextVertex + i),
                                              uint16_t(bone == kMs3dNoBone ? kNoBoneRecord : bone)};
                    std::memcpy(records + 4 * i, pair, sizeof(pair));
                }
                chunk.data = records;
                chunk.dataSize = 4 * n;
                result = model.AddBoneVertices(chunk);
                if (result != V3DMODEL_OK) return false;
            }
            for (uint32_t i = 0; i < n; ++i) {
                for (uint32_t k = 0; k < 3; ++k) {
                    const uint32_t bits = LeU32(read + kMs3dVertexBytes * i + 1 + 4 * k);
                    PutI32(records + 12 * i + 4 * k, ModelCoordinate(bits, scale));
                }
            }
            chunk.data = records;
            chunk.dataSize = 12 * n;
            model.AddVertices(chunk);
            return true;
        });
    return result;
}

void VLoader_MS3D::AddTriangles(V3DModel& model, ModelChunk& chunk, const VMs3dTables& tables,
                                VMs3dStaging& staging) {
    const uint8_t* const read = staging.read;
    uint8_t* const records = staging.records;
    SeekTo(tables.triangleData);
    ReadRecordBlocks(
        *this, staging.read, tables.triangleCount, kTrianglesPerBlock, kMs3dTriangleBytes,
        [&](uint32_t n) {
            auto triangle = [&](uint32_t i) { return read + kMs3dTriangleBytes * i; };
            for (uint32_t i = 0; i < n; ++i) {
                for (uint32_t k = 0; k < 3; ++k) {
                    PutI32(records + 16 * i + 4 * k, LeU16(triangle(i) + kCornerIndices + 2 * k));
                }
                PutI32(records + 16 * i + 12, 0);
            }
            chunk.data = records;
            chunk.dataSize = 16 * n;
            model.AddFaces(chunk);

            // Corner k's normal and texture coordinate go to corner k's vertex.
            for (uint32_t i = 0; i < n; ++i) {
                for (uint32_t c = 0; c < 9; ++c) {
                    const uint32_t bits = LeU32(triangle(i) + kCornerNormals + 4 * c);
                    PutI32(records + 36 * i + 4 * c, FloatToFixed(bits, 16));
                }
            }
            chunk.dataSize = 36 * n;
            model.AddNormals(chunk);

            for (uint32_t i = 0; i < n; ++i) {
                for (uint32_t k = 0; k < 3; ++k) {
                    uint8_t* corner = records + 24 * i + 8 * k;
                    PutI32(corner, TexCoordPlusOneLength(LeU32(triangle(i) + kCornerS + 4 * k)));
                    PutI32(corner + 4, FlippedTexCoord(LeU32(triangle(i) + kCornerT + 4 * k)));
                }
            }
            chunk.dataSize = 24 * n;
            model.AddTexCoords(chunk);
        });
}

void VLoader_MS3D::ReadMaterialColours(VMs3dTables& tables) {
    const uint32_t materials =
        tables.materialCount < kMaxMs3dMaterials ? tables.materialCount : kMaxMs3dMaterials;
    const uint32_t groups = tables.groupCount < kMaxMs3dGroups ? tables.groupCount : kMaxMs3dGroups;
    for (uint32_t m = 0; m < materials; ++m) {
        SeekTo(uint64_t(tables.materialData) + uint64_t(m) * kMs3dMaterialBytes +
               kMs3dAmbientOffset);
        uint32_t ambient[4] = {};
        bool whole = true;
        for (uint32_t& channel : ambient) whole = ReadDword(&channel) && whole;
        // A material cut short leaves its groups white.
        if (!whole) return;
        const uint32_t colour = ChannelByte(ambient[0]) | ChannelByte(ambient[1]) << 8 |
                                ChannelByte(ambient[2]) << 16 | ChannelByte(ambient[3]) << 24;
        for (uint32_t g = 0; g < groups; ++g) {
            if (tables.groups[g].material == int32_t(m)) tables.groups[g].colour = colour;
        }
    }
}

void VLoader_MS3D::AddGroupColours(V3DModel& model, ModelChunk& chunk, const VMs3dTables& tables,
                                   VMs3dStaging& staging) {
    const uint32_t groups = tables.groupCount < kMaxMs3dGroups ? tables.groupCount : kMaxMs3dGroups;
    for (uint32_t g = 0; g < groups; ++g) {
        const VMs3dGroup& group = tables.groups[g];
        FillColourRecords(staging.records, group.colour);
        // The triangle indices follow the group's flags, name and count.
        SeekTo(uint64_t(group.position) + 1 + kMs3dNameBytes + 2);
        ReadRecordBlocks(
            *this, staging.read, group.triangleCount, kFaceNumbersPerBlock, 2,
            [&](uint32_t n) { AddColourRuns(model, chunk, staging.read, n, 0, staging.records); });
    }
}
