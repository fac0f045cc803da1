#include "tools/v3d/v3d_writer.h"

#include <cmath>
#include <cstring>

namespace {

class ChunkWriter {
  public:
    explicit ChunkWriter(std::vector<uint8_t>& out) : out_(out) {}
    void Bytes(const void* p, size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        for (size_t i = 0; i < n; ++i) out_.push_back(b[i]);
    }
    void U8(uint8_t v) { out_.push_back(v); }
    void U16(uint32_t v) {
        for (int k = 0; k < 2; ++k) out_.push_back(uint8_t(v >> (8 * k)));
    }
    void U32(uint32_t v) {
        for (int k = 0; k < 4; ++k) out_.push_back(uint8_t(v >> (8 * k)));
    }
    void I32(int32_t v) { U32(uint32_t(v)); }
    // Starts a chunk; its size is filled in by EndChunk.
    void BeginChunk(const char* tag) {
        Bytes(tag, 4);
        sizeAt_ = out_.size();
        U32(0);
    }
    void EndChunk() {
        const auto size = uint32_t(out_.size() - sizeAt_ - 4);
        for (int k = 0; k < 4; ++k) out_[sizeAt_ + k] = uint8_t(size >> (8 * k));
    }

  private:
    std::vector<uint8_t>& out_;
    size_t sizeAt_ = 0;
};

// Rounded to the nearest whole number; false beyond the i32 range.
bool Whole(double value, int32_t& out) {
    const double rounded = std::round(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return false;
    out = int32_t(rounded);
    return true;
}

}  // namespace

bool WriteV3d(const SceneMesh& mesh, const V3dOptions& options, std::vector<uint8_t>& out,
              std::string& error) {
    if (mesh.positions.size() > kV3dMaxVertices) {
        error = "the model has " + std::to_string(mesh.positions.size()) +
                " vertices; V3D faces can name 65536";
        return false;
    }
    if (mesh.faces.empty()) {
        error = "the model has no triangles";
        return false;
    }
    out.clear();
    ChunkWriter w(out);
    w.Bytes("V3D_VIBV", 8);
    w.U32(1);  // the writer's version of the format

    w.BeginChunk("VMSH");
    char name[36] = {};
    std::memcpy(name, options.name.data(), options.name.size() < 32 ? options.name.size() : 32);
    w.Bytes(name, sizeof(name));
    w.U32(uint32_t(mesh.positions.size()));
    w.U32(uint32_t(mesh.faces.size()));
    w.EndChunk();

    w.BeginChunk("VVTX");
    for (const auto& p : mesh.positions) {
        for (float c : p) {
            int32_t v;
            if (!Whole(c * options.units, v)) {
                error = "a position leaves the 32-bit range at these units";
                return false;
            }
            w.I32(v);
        }
    }
    w.EndChunk();

    w.BeginChunk("VTRI");
    for (const auto& f : mesh.faces) {
        for (uint32_t v : f) w.U16(v);
    }
    w.EndChunk();

    if (options.colours) {
        w.BeginChunk("vCOL");
        for (const auto& c : mesh.colours) w.Bytes(c.data(), 4);
        w.EndChunk();
    }
    if (options.normals && !mesh.normals.empty()) {
        w.BeginChunk("vNRM");
        for (const auto& n : mesh.normals) {
            for (float c : n) w.U8(uint8_t(int8_t(std::lround(c * 127))));
        }
        w.EndChunk();
    }
    if (options.texCoords && !mesh.texCoords.empty()) {
        w.BeginChunk("vTXC");
        for (const auto& uv : mesh.texCoords) {
            for (float c : uv) {
                int32_t v;
                if (!Whole(c * 65536.0, v)) {
                    error = "a texture coordinate leaves the 16.16 range";
                    return false;
                }
                w.I32(v);
            }
        }
        w.EndChunk();
    }
    w.BeginChunk("_END");
    w.EndChunk();
    return true;
}
