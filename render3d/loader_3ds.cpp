// VLoader_3DS: the signature check, the first pass (loader_3ds_walk.cpp) and the transfer of
// every object's vertices, faces, texture coordinates and material colours into the model.
#include "render3d/loader_3ds.h"

#include "render3d/face_colour_runs.h"
#include "render3d/model.h"
#include "render3d/model_units.h"
#include "render3d/record_blocks.h"

namespace {

// Records per block, as many as the 1024-byte record buffer holds.
constexpr uint32_t kVerticesPerBlock = 85;   // 12-byte records
constexpr uint32_t kFacesPerBlock = 64;      // 16-byte records
constexpr uint32_t kTexCoordsPerBlock = 85;  // 12-byte records
constexpr uint32_t kFaceRecordUnused = 0xFFFFFF;

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
        ReadRecordBlocks(*this, read, total, perBlock, fileBytes, add);
    };

    if (object.vertexData != 0) {
        SetPos(object.vertexData);
        blocks(object.vertexCount, kVerticesPerBlock, 12, [&](uint32_t n) {
            for (uint32_t i = 0; i < 3 * n; ++i) {
                PutI32(records + 4 * i, ModelCoordinate(LeU32(read + 4 * i), scale));
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
                    PutI32(record + 4 * k, int32_t(firstVertex + LeU16(face + 2 * k)));
                }
                PutI32(record + 12, int32_t(kFaceRecordUnused));
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
                PutI32(record, TexCoordPlusOneLength(LeU32(read + 8 * i)));
                PutI32(record + 4, TexCoordPlusOneLength(LeU32(read + 8 * i + 4)));
                PutI32(record + 8, 1);
            }
            chunk.data = records;
            chunk.dataSize = n * 12;
            model.AddTexCoords(chunk);
        });
    }

    for (uint32_t g = 0; g < object.groupCount; ++g) {
        const V3dsGroup& group = object.groups[g];
        FillColourRecords(records, tables.materials[group.material].colour);
        SetPos(group.position);
        blocks(group.faceCount, kFaceNumbersPerBlock, 2,
               [&](uint32_t n) { AddColourRuns(model, chunk, read, n, firstFace, records); });
    }
}
