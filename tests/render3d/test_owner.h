// An owner for models under test: a memory service that records every live block, refuses an
// allocation on request and reports blocks released that it never handed out.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ostream>
#include <set>
#include <vector>

#include "math/math_tables.h"
#include "render3d/model.h"
#include "render3d/model_services.h"

class TestMemory final : public V3DMemory {
  public:
    ~TestMemory() override {
        for (void* block : live_) std::free(block);
    }
    void* Allocate(size_t size) override {
        ++allocations;
        if (allocations == failAt || (failFrom != 0 && allocations >= failFrom)) return nullptr;
        void* block = std::malloc(size);
        live_.insert(block);
        return block;
    }
    void Release(void* block) override {
        if (block == nullptr) return;
        EXPECT_EQ(live_.erase(block), 1u) << "a block this service did not hand out";
        std::free(block);
    }
    size_t Live() const { return live_.size(); }

    uint32_t allocations = 0;
    uint32_t failAt = 0;    // the allocation (counted from 1) that fails; 0: none
    uint32_t failFrom = 0;  // every allocation from this one on fails; 0: none

  private:
    std::set<void*> live_;
};

struct TestOwner {
    TestOwner() { math.BuildTables(); }
    TestMemory memory;
    ClassVMathTables math;
    V3DServices services{&memory, &math, nullptr};
};

// The bytes of the attribute of a vertex, through the offsets and strides the model reports.
inline const uint8_t* AttributeOf(const V3DModel& model, V3DAttribute a, uint32_t vertex) {
    return model.VertexBuffer() + model.AttributeOffset(a) +
           size_t(vertex) * model.AttributeStride(a);
}

struct Xyz {
    int32_t x, y, z;
    bool operator==(const Xyz&) const = default;
};

inline Xyz PositionOf(const V3DModel& model, uint32_t vertex) {
    Xyz p;
    std::memcpy(&p, AttributeOf(model, V3DATTR_POSITION, vertex), sizeof(p));
    return p;
}

inline Xyz NormalOf(const V3DModel& model, uint32_t vertex) {
    const auto* n = reinterpret_cast<const int8_t*>(AttributeOf(model, V3DATTR_NORMAL, vertex));
    return {n[0], n[1], n[2]};
}

inline uint32_t ColourOf(const V3DModel& model, uint32_t vertex) {
    uint32_t c;
    std::memcpy(&c, AttributeOf(model, V3DATTR_COLOUR, vertex), sizeof(c));
    return c;
}

struct Uv {
    int32_t u, v;
    bool operator==(const Uv&) const = default;
};

inline Uv TexCoordOf(const V3DModel& model, uint32_t vertex) {
    Uv t;
    std::memcpy(&t, AttributeOf(model, V3DATTR_TEXCOORD, vertex), sizeof(t));
    return t;
}

inline void PrintTo(const Xyz& p, std::ostream* os) {
    *os << "(" << p.x << ", " << p.y << ", " << p.z << ")";
}
inline void PrintTo(const Uv& t, std::ostream* os) {
    *os << "(" << t.u << ", " << t.v << ")";
}

// A block of records for the builder operations, from values of one type.
template <typename T>
void SetBlock(ModelChunk& chunk, const std::vector<T>& records) {
    chunk.data = records.data();
    chunk.dataSize = uint32_t(records.size() * sizeof(T));
}
