// Fuzz target: arbitrary bytes through the V3D loader into a model whose memory service
// refuses more than 8 MiB in all, so that out-of-memory paths are reached too.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/capped_memory.h"
#include "render3d/loader_v3d.h"
#include "render3d/model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's size, so that any read past the block is caught.
    const std::vector<uint8_t> block(data, data + size);
    CappedMemory memory;
    V3DServices services{&memory, nullptr, nullptr};
    V3DModel model;
    model.SetOwner(&services);
    VLoader_V3D loader;
    // The scale comes from the input too, so that every shift is tried.
    const uint32_t scale = size > 2 ? data[size - 1] : 0;
    loader.LoadModel(&model, block.data(), uint32_t(block.size()), scale, 0);
    return 0;
}
