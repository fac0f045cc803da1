// MilkShape 3D files built section by section, so that each test shows what it is about.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct Ms3dVertex {
    float x, y, z;
    uint8_t bone = 255;  // none
};

struct Ms3dTriangle {
    std::array<uint16_t, 3> corners;
    std::array<std::array<float, 3>, 3> normals{};  // corner by corner
    std::array<float, 3> s{};
    std::array<float, 3> t{};
    uint8_t group = 0;
};

struct Ms3dGroup {
    std::string name;
    std::vector<uint16_t> triangles{};
    int8_t material = -1;
};

struct Ms3dMaterial {
    std::string name;
    std::array<float, 4> ambient;
};

struct Ms3dKey {
    float seconds, x, y, z;
};

struct Ms3dJoint {
    std::string name;
    std::string parent{};
    std::array<float, 3> rotation{};  // radians
    std::array<float, 3> position{};
    std::vector<Ms3dKey> rotationKeys{};
    std::vector<Ms3dKey> translationKeys{};
};

struct Ms3dFile {
    int32_t version = 4;
    std::vector<Ms3dVertex> vertices;
    std::vector<Ms3dTriangle> triangles;
    std::vector<Ms3dGroup> groups;
    std::vector<Ms3dMaterial> materials;
    std::vector<Ms3dJoint> joints;
    // The joint count as written, instead of the true one; -1 writes the true one.
    int32_t claimedJoints = -1;

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> out;
        auto raw = [&out](const void* p, size_t n) {
            const auto* b = static_cast<const uint8_t*>(p);
            out.insert(out.end(), b, b + n);
        };
        auto u8 = [&](uint8_t v) { raw(&v, 1); };
        auto u16 = [&](uint16_t v) { raw(&v, 2); };
        auto f32 = [&](float v) { raw(&v, 4); };
        // A name of 32 bytes, cut or padded with zeros: one of 32 characters has no zero.
        auto name = [&](const std::string& s) {
            char bytes[32] = {};
            std::memcpy(bytes, s.data(), s.size() < 32 ? s.size() : 32);
            raw(bytes, 32);
        };
        raw("MS3D000000", 10);
        raw(&version, 4);
        u16(uint16_t(vertices.size()));
        for (const Ms3dVertex& v : vertices) {
            u8(0), f32(v.x), f32(v.y), f32(v.z), u8(v.bone), u8(1);
        }
        u16(uint16_t(triangles.size()));
        for (const Ms3dTriangle& t : triangles) {
            u16(0);
            for (uint16_t c : t.corners) u16(c);
            for (const auto& n : t.normals) f32(n[0]), f32(n[1]), f32(n[2]);
            for (float s : t.s) f32(s);
            for (float v : t.t) f32(v);
            u8(1), u8(t.group);
        }
        u16(uint16_t(groups.size()));
        for (const Ms3dGroup& g : groups) {
            u8(0), name(g.name), u16(uint16_t(g.triangles.size()));
            for (uint16_t t : g.triangles) u16(t);
            u8(uint8_t(g.material));
        }
        u16(uint16_t(materials.size()));
        for (const Ms3dMaterial& m : materials) {
            name(m.name);
            for (float c : m.ambient) f32(c);
            const std::vector<uint8_t> rest(361 - 32 - 16, 0);  // diffuse to alpha map
            raw(rest.data(), rest.size());
        }
        f32(24), f32(0), u8(30), u8(0), u8(0), u8(0);  // frame rate, time, total frames
        u16(uint16_t(claimedJoints >= 0 ? claimedJoints : int32_t(joints.size())));
        for (const Ms3dJoint& j : joints) {
            u8(8), name(j.name), name(j.parent);
            for (float r : j.rotation) f32(r);
            for (float p : j.position) f32(p);
            u16(uint16_t(j.rotationKeys.size())), u16(uint16_t(j.translationKeys.size()));
            for (const auto* keys : {&j.rotationKeys, &j.translationKeys}) {
                for (const Ms3dKey& k : *keys) f32(k.seconds), f32(k.x), f32(k.y), f32(k.z);
            }
        }
        return out;
    }
};

// One triangle (0, 0, 0), (1, 0, 0), (0, 1, 0) facing +z, in group 0 of no material.
inline Ms3dFile Ms3dTriangleFile() {
    Ms3dFile f;
    f.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    Ms3dTriangle t{{0, 1, 2}};
    t.normals = {{{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}};
    f.triangles = {t};
    f.groups = {{"all", {0}}};
    return f;
}
