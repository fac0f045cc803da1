// The MilkShape 3D loader's joints: read into the joint table, resolved to parents by name,
// set as bones parents first, and their key frames handed to the bones.
#include <cstring>

#include "math/fixed_point.h"
#include "render3d/loader_ms3d.h"
#include "render3d/model.h"
#include "render3d/record_blocks.h"

namespace {

constexpr uint32_t kKeysPerBlock = 64;  // 1024 bytes
constexpr uint32_t kRotationKeys = 1;   // ModelChunk key kinds
constexpr uint32_t kTranslationKeys = 0;

// Radians to 4096 units a turn, with the turn taken as 6.28 as the sine table does. In 64
// bits: the product by 100 leaves 32 bits from about 5 000 radians on.
int32_t AngleUnits(uint32_t radiansBits) {
    return int32_t(int64_t(FloatToFixed(radiansBits, 12)) * 100 / 628);
}

// Seconds to milliseconds through 10 fraction bits; in 64 bits, since the product by 1000
// leaves 32 bits after about 35 minutes.
int32_t KeyMilliseconds(uint32_t secondsBits) {
    return int32_t(int64_t(FloatToFixed(secondsBits, 10)) * 1000 / 1024);
}

uint32_t ReadJointCount(const VMs3dTables& tables) {
    return tables.jointCount < kMaxMs3dJoints ? tables.jointCount : kMaxMs3dJoints;
}

// The first other joint of that name; none for a joint that names no parent. Names are
// compared within their 32 bytes, since a name may fill them without a terminating zero.
int16_t FindParent(const VMs3dJoint* joints, uint32_t count, uint32_t j) {
    const char* wanted = joints[j].parentName;
    if (wanted[0] == 0) return -1;
    for (uint32_t i = 0; i < count; ++i) {
        if (i != j && std::strncmp(joints[i].name, wanted, kMs3dNameBytes) == 0) {
            return int16_t(i);
        }
    }
    return -1;
}

// In a ring of joints that name each other as parents none can be set after its parent: the
// ring's first joint in the file becomes a root. Every joint is walked over once.
void BreakParentRings(VMs3dJoint* joints, uint32_t count) {
    enum : uint8_t { kUnseen, kOnPath, kDone };
    uint8_t state[kMaxMs3dJoints] = {};
    uint16_t path[kMaxMs3dJoints];
    for (uint32_t start = 0; start < count; ++start) {
        uint32_t length = 0;
        int32_t k = int32_t(start);
        while (k >= 0 && state[k] == kUnseen) {
            state[k] = kOnPath;
            path[length++] = uint16_t(k);
            k = joints[k].parent;
        }
        if (k >= 0 && state[k] == kOnPath) {
            uint32_t first = 0;
            while (path[first] != k) ++first;
            uint32_t root = path[first];
            for (uint32_t i = first; i < length; ++i) root = path[i] < root ? path[i] : root;
            joints[root].parent = -1;
        }
        for (uint32_t i = 0; i < length; ++i) state[path[i]] = kDone;
    }
}

}  // namespace

void VLoader_MS3D::ReadJoints(VMs3dTables& tables, int8_t scale) {
    SeekTo(tables.jointData);
    const uint32_t count = ReadJointCount(tables);
    for (uint32_t j = 0; j < count; ++j) {
        VMs3dJoint& joint = tables.joints[j];
        SkipBytes(1);  // flags
        ReadBlock(joint.name, kMs3dNameBytes);
        ReadBlock(joint.parentName, kMs3dNameBytes);
        uint32_t values[6] = {};  // rotation, then position
        for (uint32_t& value : values) ReadDword(&value);
        for (uint32_t k = 0; k < 3; ++k) {
            joint.angles[k] = AngleUnits(values[k]);
            joint.position[k] = FloatToFixed(values[3 + k], 6 + scale);
        }
        uint16_t rotationKeys = 0, translationKeys = 0;
        ReadWord(&rotationKeys);
        ReadWord(&translationKeys);
        // Only the keys the file holds get room in the bone: a count is two bytes, the keys
        // it promises up to a megabyte.
        auto held = [this](uint16_t keys) {
            const uint32_t fit = Remaining() / kMs3dKeyBytes;
            return uint16_t(keys < fit ? keys : fit);
        };
        joint.rotationKeys = GetPos();
        joint.rotationKeyCount = held(rotationKeys);
        SkipBytes(uint64_t(rotationKeys) * kMs3dKeyBytes);
        joint.translationKeys = GetPos();
        joint.translationKeyCount = held(translationKeys);
        SkipBytes(uint64_t(translationKeys) * kMs3dKeyBytes);
    }
}

void VLoader_MS3D::SetBones(V3DModel& model, VMs3dTables& tables) {
    const uint32_t count = ReadJointCount(tables);
    VMs3dJoint* joints = tables.joints;
    for (uint32_t j = 0; j < count; ++j) joints[j].parent = FindParent(joints, count, j);
    BreakParentRings(joints, count);

    // A bone's global matrix builds on its parent's, so every joint is set after its
    // ancestors, whatever their order in the file.
    bool set[kMaxMs3dJoints] = {};
    uint16_t unset[kMaxMs3dJoints];
    for (uint32_t j = 0; j < count; ++j) {
        uint32_t length = 0;
        // With the rings broken a walk up ends at a root or a set joint within count steps.
        for (int32_t k = int32_t(j); k >= 0 && !set[k] && length < count; k = joints[k].parent) {
            unset[length++] = uint16_t(k);
        }
        while (length > 0) {
            const uint16_t k = unset[--length];
            model.SetBone(k, joints[k].position, joints[k].angles, joints[k].parent);
            set[k] = true;
        }
        model.SetBoneKeyCounts(j, joints[j].translationKeyCount, joints[j].rotationKeyCount);
    }
}

uint32_t VLoader_MS3D::AddKeys(V3DModel& model, ModelChunk& chunk, const VMs3dTables& tables,
                               int8_t scale, VMs3dStaging& staging) {
    const uint8_t* const read = staging.read;
    uint8_t* const records = staging.records;
    uint32_t result = V3DMODEL_OK;
    // Each key becomes (milliseconds, x, y, z) with the three values converted by convert.
    auto keys = [&](uint32_t bone, uint32_t position, uint32_t count, uint32_t kind, auto convert) {
        if (count == 0) return;
        SeekTo(position);
        chunk.boneIndex = bone;
        chunk.nextKey = 0;
        chunk.keyKind = kind;
        ReadRecordBlocks(*this, staging.read, count, kKeysPerBlock, kMs3dKeyBytes, [&](uint32_t n) {
            for (uint32_t i = 0; i < n; ++i) {
                const uint8_t* key = read + kMs3dKeyBytes * i;
                uint8_t* record = records + kBoneKeyBytes * i;
                PutI32(record, KeyMilliseconds(LeU32(key)));
                for (uint32_t k = 1; k < 4; ++k) {
                    PutI32(record + 4 * k, convert(LeU32(key + 4 * k)));
                }
            }
            chunk.data = records;
            chunk.dataSize = kBoneKeyBytes * n;
            result = model.AddBoneKeys(chunk);
            return result == V3DMODEL_OK;
        });
    };
    const uint32_t count = ReadJointCount(tables);
    for (uint32_t j = 0; j < count && result == V3DMODEL_OK; ++j) {
        const VMs3dJoint& joint = tables.joints[j];
        keys(j, joint.rotationKeys, joint.rotationKeyCount, kRotationKeys, AngleUnits);
        if (result != V3DMODEL_OK) break;
        keys(j, joint.translationKeys, joint.translationKeyCount, kTranslationKeys,
             [scale](uint32_t bits) { return FloatToFixed(bits, 6 + scale); });
    }
    return result;
}
