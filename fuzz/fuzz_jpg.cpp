// Fuzz target: arbitrary bytes through the JPG loader into a recording surface.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/loader_jpg.h"
#include "tests/imaging/capture_surface.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's size, so that any read past the block is caught.
    const std::vector<uint8_t> block(data, data + size);
    CaptureSurface surface;
    surface.maxpixels = uint64_t(1) << 20;
    VLoader_JPG loader;
    loader.DecodeImage(&surface, block.data(), uint32_t(block.size()), 4, 0);
    return 0;
}
