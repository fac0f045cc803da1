// The chunk walks of the 3D Studio loader's first pass.
//
// Each level (top, editor, object, mesh) walks chunk by chunk to the end of the whole block,
// not of its parent, handling only the ids of its own level; the walk that called it then
// seeks to its own next chunk. Chunks after the parent are therefore seen again one level
// down, where their ids are not handled.
#include <cstring>

#include "math/fixed_point.h"
#include "render3d/loader_3ds.h"

namespace {

uint32_t ColourValue(uint32_t red, uint32_t green, uint32_t blue) {
    return 0xFF000000u | red | green << 8 | blue << 16;
}

// A float colour channel (1.0 = full) to a byte, rounded, without floating point.
uint32_t ChannelByte(uint32_t bits) {
    const int64_t fixed = FloatToFixed(bits, 24);
    const int64_t rounded = (fixed * 255 + (1 << 23)) >> 24;
    return rounded < 0 ? 0 : rounded > 255 ? 255 : uint32_t(rounded);
}

}  // namespace

template <typename Handle>
void VLoader_3DS::WalkChunks(V3dsTables& tables, uint64_t end, Handle handle) {
    if (end > SourceSize()) end = SourceSize();
    while (GetPos() < end && !tables.overrun) {
        if (++tables.chunkVisits > tables.visitLimit) {
            tables.overrun = true;
            return;
        }
        const uint32_t start = GetPos();
        uint16_t id = 0;
        uint32_t length = 0;
        ReadWord(&id);
        ReadDword(&length);
        // A chunk too short for its own header would keep the walk in place.
        if (length < k3dsChunkHeader) return;
        const uint64_t next = handle(id, start, length);
        SetPos(uint32_t(next < end ? next : end));
    }
}

void VLoader_3DS::WalkTop(V3dsTables& tables) {
    WalkChunks(tables, SourceSize(), [&](uint16_t id, uint32_t start, uint32_t length) {
        if (id == k3dsEditor) WalkEditor(tables);
        return uint64_t(start) + length;
    });
}

void VLoader_3DS::WalkEditor(V3dsTables& tables) {
    WalkChunks(tables, SourceSize(), [&](uint16_t id, uint32_t start, uint32_t length) {
        if (id == k3dsObject) {
            if (tables.objectsSeen < kMax3dsObjects) {
                V3dsObject& object = tables.objects[tables.objectsSeen];
                ReadName(object.name);
                WalkObject(tables, object);
            }
            ++tables.objectsSeen;
        } else if (id == k3dsMaterial && tables.materialsTaken < kMax3dsMaterials) {
            ReadMaterial(tables, tables.materials[tables.materialsTaken], start, length);
            ++tables.materialsTaken;
        }
        return uint64_t(start) + length;
    });
}

void VLoader_3DS::WalkObject(V3dsTables& tables, V3dsObject& object) {
    WalkChunks(tables, SourceSize(), [&](uint16_t id, uint32_t start, uint32_t length) {
        if (id == k3dsMesh) WalkMesh(tables, object);
        return uint64_t(start) + length;
    });
}

void VLoader_3DS::WalkMesh(V3dsTables& tables, V3dsObject& object) {
    WalkChunks(tables, SourceSize(), [&](uint16_t id, uint32_t start, uint32_t length) {
        uint16_t unused = 0;
        switch (id) {
            case k3dsVertices:
                ReadWord(&object.vertexCount);
                object.vertexData = GetPos();
                break;
            case k3dsFaces:
                ReadWord(&object.faceCount);
                object.faceData = GetPos();
                // The material groups are children of the face list, after its faces of four
                // u16 each: the walk goes on there.
                return uint64_t(start) + 8 + uint64_t(object.faceCount) * 8;
            case k3dsFaceMaterial:
                ReadGroup(tables, object);
                break;
            case k3dsTexCoords:
                ReadWord(&unused);
                object.texCoordData = GetPos();
                break;
            default:
                break;
        }
        return uint64_t(start) + length;
    });
}

void VLoader_3DS::ReadGroup(const V3dsTables& tables, V3dsObject& object) {
    char name[k3dsNameBytes] = {};
    uint16_t faces = 0;
    ReadName(name);
    ReadWord(&faces);
    if (object.groupCount >= kMax3dsGroups) return;
    // A group whose material is not in the table keeps the model's white.
    for (uint32_t m = 0; m < kMax3dsMaterials; ++m) {
        const V3dsMaterial& material = tables.materials[m];
        if (material.used && std::strncmp(material.name, name, k3dsNameBytes) == 0) {
            object.groups[object.groupCount++] = V3dsGroup{uint8_t(m), GetPos(), faces};
            return;
        }
    }
}

// The material's sub-chunks by id: the name and the ambient colour, whichever order they come
// in. Without an ambient colour the material is black, as other readers take it.
void VLoader_3DS::ReadMaterial(V3dsTables& tables, V3dsMaterial& material, uint32_t start,
                               uint32_t length) {
    const uint64_t end = uint64_t(start) + length;
    bool named = false, coloured = false;
    material.colour = ColourValue(0, 0, 0);
    SetPos(start + k3dsChunkHeader);
    WalkChunks(tables, end, [&](uint16_t id, uint32_t subStart, uint32_t subLength) {
        const uint64_t next = uint64_t(subStart) + subLength;
        if (id == k3dsMaterialName && !named) {
            ReadName(material.name);
            named = true;
        } else if (id == k3dsAmbient && !coloured) {
            coloured = ReadColour(tables, next < end ? next : end, &material.colour);
        }
        return next;
    });
    material.used = 1;
}

// The first 24-bit or float colour among the sub-chunks from the position to end.
bool VLoader_3DS::ReadColour(V3dsTables& tables, uint64_t end, uint32_t* colour) {
    bool found = false;
    WalkChunks(tables, end, [&](uint16_t id, uint32_t start, uint32_t length) {
        if (!found && id == k3dsColour24) {
            uint8_t rgb[3] = {};
            for (uint8_t& channel : rgb) ReadByte(&channel);
            *colour = ColourValue(rgb[0], rgb[1], rgb[2]);
            found = true;
        } else if (!found && id == k3dsColourFloat) {
            uint32_t rgb[3] = {};
            for (uint32_t& channel : rgb) ReadDword(&channel);
            *colour = ColourValue(ChannelByte(rgb[0]), ChannelByte(rgb[1]), ChannelByte(rgb[2]));
            found = true;
        }
        return uint64_t(start) + length;
    });
    return found;
}

void VLoader_3DS::ReadName(char* name) {
    uint32_t n = 0;
    uint8_t c = 0;
    while (ReadByte(&c) && c != 0) {
        if (n + 1 < k3dsNameBytes) name[n++] = char(c);
    }
    name[n] = 0;
}
