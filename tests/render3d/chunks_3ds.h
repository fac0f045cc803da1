// 3D Studio files built chunk by chunk, so that each test shows the bytes it is about.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class Chunk3ds {
  public:
    explicit Chunk3ds(uint16_t id) : id_(id) {}

    Chunk3ds& U16(uint16_t v) { return Raw(&v, 2); }
    Chunk3ds& U32(uint32_t v) { return Raw(&v, 4); }
    Chunk3ds& F32(float v) { return Raw(&v, 4); }
    Chunk3ds& Name(const std::string& s) { return Raw(s.c_str(), s.size() + 1); }
    Chunk3ds& Raw(const void* p, size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        data_.insert(data_.end(), b, b + n);
        return *this;
    }
    Chunk3ds& Add(const Chunk3ds& child) {
        for (uint8_t b : child.Bytes()) data_.push_back(b);
        return *this;
    }
    // The length field as written, instead of the true one.
    Chunk3ds& ClaimLength(uint32_t length) {
        claimed_ = length;
        hasClaim_ = true;
        return *this;
    }
    std::vector<uint8_t> Bytes() const {
        const uint32_t length = hasClaim_ ? claimed_ : uint32_t(6 + data_.size());
        std::vector<uint8_t> out = {uint8_t(id_),          uint8_t(id_ >> 8),
                                    uint8_t(length),       uint8_t(length >> 8),
                                    uint8_t(length >> 16), uint8_t(length >> 24)};
        out.reserve(out.size() + data_.size());
        for (uint8_t b : data_) out.push_back(b);
        return out;
    }

  private:
    uint16_t id_;
    std::vector<uint8_t> data_;
    uint32_t claimed_ = 0;
    bool hasClaim_ = false;
};

using Float3 = std::array<float, 3>;
using Corners = std::array<uint16_t, 3>;

inline Chunk3ds VertexList(const std::vector<Float3>& vertices) {
    Chunk3ds c(0x4110);
    c.U16(uint16_t(vertices.size()));
    for (const Float3& v : vertices) c.F32(v[0]).F32(v[1]).F32(v[2]);
    return c;
}

inline Chunk3ds MaterialGroup(const std::string& material, const std::vector<uint16_t>& faces) {
    Chunk3ds c(0x4130);
    c.Name(material).U16(uint16_t(faces.size()));
    for (uint16_t f : faces) c.U16(f);
    return c;
}

// The face list, with its material groups as children.
inline Chunk3ds FaceList(const std::vector<Corners>& faces,
                         const std::vector<Chunk3ds>& groups = {}) {
    Chunk3ds c(0x4120);
    c.U16(uint16_t(faces.size()));
    for (const Corners& f : faces) c.U16(f[0]).U16(f[1]).U16(f[2]).U16(0);
    for (const Chunk3ds& g : groups) c.Add(g);
    return c;
}

inline Chunk3ds TexCoordList(const std::vector<std::array<float, 2>>& uvs) {
    Chunk3ds c(0x4140);
    c.U16(uint16_t(uvs.size()));
    for (const auto& uv : uvs) c.F32(uv[0]).F32(uv[1]);
    return c;
}

inline Chunk3ds Object(const std::string& name, const std::vector<Chunk3ds>& meshParts) {
    Chunk3ds mesh(0x4100);
    for (const Chunk3ds& part : meshParts) mesh.Add(part);
    Chunk3ds object(0x4000);
    object.Name(name).Add(mesh);
    return object;
}

inline Chunk3ds Colour24(uint8_t r, uint8_t g, uint8_t b) {
    const uint8_t rgb[3] = {r, g, b};
    return Chunk3ds(0x0011).Raw(rgb, 3);
}

inline Chunk3ds ColourFloat(float r, float g, float b) {
    return Chunk3ds(0x0010).F32(r).F32(g).F32(b);
}

// A material: its name, then the given colour chunks (0xA010 ambient, 0xA020 diffuse, ...).
inline Chunk3ds Material(const std::string& name, const std::vector<Chunk3ds>& colours) {
    Chunk3ds c(0xAFFF);
    c.Add(Chunk3ds(0xA000).Name(name));
    for (const Chunk3ds& colour : colours) c.Add(colour);
    return c;
}

// The name and a 24-bit ambient colour: the layout of older files.
inline Chunk3ds AmbientMaterial(const std::string& name, uint8_t r, uint8_t g, uint8_t b) {
    return Material(name, {Chunk3ds(0xA010).Add(Colour24(r, g, b))});
}

// The main chunk with a version chunk and one editor chunk holding the parts, then any
// further top-level chunks.
inline std::vector<uint8_t> File3ds(const std::vector<Chunk3ds>& editorParts,
                                    const std::vector<Chunk3ds>& after = {}) {
    Chunk3ds editor(0x3D3D);
    for (const Chunk3ds& part : editorParts) editor.Add(part);
    Chunk3ds main(0x4D4D);
    main.Add(Chunk3ds(0x0002).U32(3)).Add(editor);
    for (const Chunk3ds& chunk : after) main.Add(chunk);
    return main.Bytes();
}

// A triangle (0, 0, 0), (1, 0, 0), (0, 1, 0) shifted by x along the x axis, as one object.
inline Chunk3ds TriangleObject(const std::string& name, float x,
                               const std::vector<Chunk3ds>& groups = {}) {
    return Object(
        name, {VertexList({{x, 0, 0}, {x + 1, 0, 0}, {x, 1, 0}}), FaceList({{0, 1, 2}}, groups)});
}
