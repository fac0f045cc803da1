// V3D files built chunk by chunk, so that each test shows the bytes it is about.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class V3dFile {
  public:
    V3dFile() { Raw("V3D_VIBV", 8).U32(1); }

    // A chunk of any tag; size: the size field as written, instead of the true one.
    V3dFile& Chunk(const std::string& tag, const std::vector<uint8_t>& data) {
        return ChunkClaiming(tag, data, uint32_t(data.size()));
    }
    V3dFile& ChunkClaiming(const std::string& tag, const std::vector<uint8_t>& data,
                           uint32_t size) {
        Raw(tag.data(), 4).U32(size);
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        return *this;
    }
    V3dFile& Mesh(uint32_t vertices, uint32_t faces) {
        std::vector<uint8_t> data(36, 0);
        Append(data, vertices), Append(data, faces);
        return Chunk("VMSH", data);
    }
    V3dFile& Vertices(const std::vector<std::array<int32_t, 3>>& positions) {
        std::vector<uint8_t> data;
        for (const auto& p : positions) Append(data, p[0]), Append(data, p[1]), Append(data, p[2]);
        return Chunk("VVTX", data);
    }
    V3dFile& Faces(const std::vector<std::array<uint16_t, 3>>& faces) {
        std::vector<uint8_t> data;
        for (const auto& f : faces) {
            for (uint16_t v : f) data.push_back(uint8_t(v)), data.push_back(uint8_t(v >> 8));
        }
        return Chunk("VTRI", data);
    }
    V3dFile& Colours(const std::vector<uint32_t>& colours) {
        std::vector<uint8_t> data;
        for (uint32_t c : colours) Append(data, int32_t(c));
        return Chunk("vCOL", data);
    }
    V3dFile& Normals(const std::vector<std::array<int8_t, 3>>& normals) {
        std::vector<uint8_t> data;
        for (const auto& n : normals) {
            for (int8_t c : n) data.push_back(uint8_t(c));
        }
        return Chunk("vNRM", data);
    }
    V3dFile& TexCoords(const std::vector<std::array<int32_t, 2>>& uvs) {
        std::vector<uint8_t> data;
        for (const auto& uv : uvs) Append(data, uv[0]), Append(data, uv[1]);
        return Chunk("vTXC", data);
    }
    V3dFile& End() { return Chunk("_END", {0}); }

    std::vector<uint8_t> Bytes() const { return bytes_; }

  private:
    V3dFile& Raw(const void* p, size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        bytes_.insert(bytes_.end(), b, b + n);
        return *this;
    }
    V3dFile& U32(uint32_t v) { return Raw(&v, 4); }
    static void Append(std::vector<uint8_t>& data, int32_t v) {
        for (int k = 0; k < 4; ++k) data.push_back(uint8_t(uint32_t(v) >> (8 * k)));
    }
    std::vector<uint8_t> bytes_;
};
