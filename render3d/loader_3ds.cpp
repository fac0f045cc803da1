// VLoader_3DS: the signature check, the first pass (loader_3ds_walk.cpp) and the transfer of
// every object's vertices, faces, texture coordinates and material colours into the model.
#include "render3d/loader_3ds.h"

#include <cstring>

#include "math/fixed_point.h"
#include "math/wrap_arith.h"
#include "render3d/model.h"

namespace {

// Records per block, as many as the 1024-byte record buffer holds.
constexpr uint32_t kVerticesPerBlock = 85;      // 12-byte records
constexpr uint32_t kFacesPerBlock = 64;         // 16-byte records
constexpr uint32_t kTexCoordsPerBlock = 85;     // 12-byte records
constexpr uint32_t kFaceNumbersPerBlock = 256;  // 4-byte colour records
constexpr uint32_t kFaceRecordUnused = 0xFFFFFF;

uint16_t U16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void Put(uint8_t* p, int32_t value) {
    std::memcpy(p, &value, sizeof(value));
}

// value * 2^-shift: an arithmetic shift right, or for a negative shift a wrapping shift left.
int32_t ShiftRight(int32_t value, int32_t shift) {
    if (shift >= 0) return value >> (shift < 31 ? shift : 31);
    if (shift <= -32) return 0;
    return int32_t(uint32_t(value) << -shift);
}

// A coordinate in model units: 12 fraction bits, snapped to a whole number when within 1/4096
// of it, then multiplied by 2^(6 + scale).
int32_t ModelCoordinate(uint32_t floatBits, int8_t scale) {
    int32_t p = FloatToFixed(floatBits, 12);
    if ((p & 0xFFF) > 4094) p = WrapAdd(p, 1);
    if ((p & 0xFFF) == 1) p = WrapSub(p, 1);
    return ShiftRight(p, 6 - scale);
}

// A texture coordinate in 16.16 with one texture length added, snapped like the positions.
int32_t TextureCoordinate(uint32_t floatBits) {
    int32_t t = WrapAdd(FloatToFixed(floatBits, 16), 0x10000);
    if ((t & 0xFFFF) > 65534) t = WrapAdd(t, 1);
    if ((t & 0xFFFF) == 1) t = WrapSub(t, 1);
    return t;
}

}  // namespace

uint32_t VLoader_3DS::LoadModel(V3DModel* model, const uint8_t* data, uint32_t size, uint32_t a,
                                uint32_t b) {
    SetSource(data, size);
    SetBigEndian(false);
    uint16_t id = 0;
    if (!ReadWord(&id) || id != k3dsMain) return VLOAD_NOTTHISFORMAT;
    if (model == nullptr) return V3DMODEL_INVALID;

    // The top level starts right after the main chunk's header, so a version chunk (0x0002)
    // is skipped by its length and files without one read as well.
    V3dsTables tables{};
    tables.visitLimit = k3dsBaseChunkVisits + k3dsChunkVisitsPerByte * size;
    SetPos(k3dsChunkHeader);
    WalkTop(tables);
    if (tables.overrun) return VLOAD_DAMAGED;

    ModelChunk chunk;
    for (const V3dsObject& object : tables.objects) {
        chunk.vertexCount += object.vertexCount;
        chunk.faceCount += object.faceCount;
    }
    chunk.createFlags = b;
    if (const uint32_t r = model->CreateFromChunk(chunk)) return r;
    chunk.texCoordsPerVertex = 1;
    chunk.coloursPerVertex = 0;

    V3dsStaging staging;
    const auto scale = int8_t(a & 0xFF);
    for (const V3dsObject& object : tables.objects) {
        TransferObject(*model, chunk, tables, object, scale, staging);
    }
    return model->FinishBuild();
}

uint32_t VLoader_3DS::ReadUpTo(uint8_t* out, uint32_t n) {
    const uint32_t before = GetPos();
    if (!ReadBlock(out, n)) return 0;
    return GetPos() - before;
}

void VLoader_3DS::TransferObject(V3DModel& model, ModelChunk& chunk, const V3dsTables& tables,
                                 const V3dsObject& object, int8_t scale, V3dsStaging& staging) {
    // The object's first vertex and face in the model: its faces, texture coordinates and
    // material groups count from them.
    const uint32_t firstVertex = chunk.nextVertex;
    const uint32_t firstFace = chunk.nextFace;
    uint8_t* const read = staging.read;
    uint8_t* const records = staging.records;
    // Each block takes the whole records the file still holds; a cut record is dropped.
    auto blocks = [&](uint32_t total, uint32_t perBlock, uint32_t fileBytes, auto add) {
        for (uint32_t left = total; left > 0;) {
            const uint32_t n = left < perBlock ? left : perBlock;
            const uint32_t got = ReadUpTo(read, n * fileBytes) / fileBytes;
            if (got > 0) add(got);
            if (got < n) return;
            left -= n;
        }
    };

    if (object.vertexData != 0) {
        SetPos(object.vertexData);
        blocks(object.vertexCount, kVerticesPerBlock, 12, [&](uint32_t n) {
            for (uint32_t i = 0; i < 3 * n; ++i) {
                Put(records + 4 * i, ModelCoordinate(U32(read + 4 * i), scale));
            }
            chunk.data = records;
            chunk.dataSize = n * 12;
            model.AddVertices(chunk);
        });
    }

    if (object.faceData != 0) {
        SetPos(object.faceData);
        blocks(object.faceCount, kFacesPerBlock, 8, [&](uint32_t n) {
            for (uint32_t i = 0; i < n; ++i) {
                const uint8_t* face = read + 8 * i;  // a, b, c, flags
                uint8_t* record = records + 16 * i;
                for (uint32_t k = 0; k < 3; ++k) {
                    Put(record + 4 * k, int32_t(firstVertex + U16(face + 2 * k)));
                }
                Put(record + 12, int32_t(kFaceRecordUnused));
            }
            chunk.data = records;
            chunk.dataSize = n * 16;
            model.AddFaces(chunk);
        });
    }

    if (object.texCoordData != 0) {
        SetPos(object.texCoordData);
        chunk.nextTexCoord = firstVertex;  // on the object's own vertices
        blocks(object.vertexCount, kTexCoordsPerBlock, 8, [&](uint32_t n) {
            for (uint32_t i = 0; i < n; ++i) {
                uint8_t* record = records + 12 * i;
                Put(record, TextureCoordinate(U32(read + 8 * i)));
                Put(record + 4, TextureCoordinate(U32(read + 8 * i + 4)));
                Put(record + 8, 1);
            }
            chunk.data = records;
            chunk.dataSize = n * 12;
            model.AddTexCoords(chunk);
        });
    }

    for (uint32_t g = 0; g < object.groupCount; ++g) {
        const V3dsGroup& group = object.groups[g];
        const uint32_t colour = tables.materials[group.material].colour;
        for (uint32_t i = 0; i < kFaceNumbersPerBlock; ++i) {
            for (uint32_t k = 0; k < 4; ++k) records[4 * i + k] = uint8_t(colour >> (8 * k));
        }
        SetPos(group.position);
        // Each run of consecutive face numbers is one per-face block from its first face.
        blocks(group.faceCount, kFaceNumbersPerBlock, 2, [&](uint32_t n) {
            for (uint32_t i = 0; i < n;) {
                const uint32_t first = U16(read + 2 * i);
                uint32_t run = 1;
                while (i + run < n && U16(read + 2 * (i + run)) == first + run) ++run;
                chunk.nextColour = firstFace + first;
                chunk.data = records;
                chunk.dataSize = run * 4;
                model.AddColours(chunk);
                i += run;
            }
        });
    }
}
