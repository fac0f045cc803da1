// Inflates a whole zlib stream in one call, with the framework's allocator behind zlib.
#pragma once

#include <cstddef>
#include <cstdint>

// True when the stream ends and fills exactly outsize bytes; anything else (a damaged
// stream, one that ends early or one that does not fit) is false.
bool PngInflate(const uint8_t* in, size_t insize, uint8_t* out, size_t outsize);
