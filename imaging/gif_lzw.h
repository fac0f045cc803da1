// The variable-length-code LZW of GIF image data.
#pragma once

#include <cstdint>

// Decompresses the data sub-blocks starting at data (a size byte, that many bytes, ... up to a
// size of 0 or the end of the length bytes) into out. Output beyond outsize is dropped;
// pixels the stream does not reach keep their bytes. A stream that runs out without an end
// code stops there (its last incomplete code is dropped). Results: 0 success, 1 a code the
// string table cannot hold or a bad minimum code size, 2 out of memory.
uint32_t GifDecompress(const uint8_t* data, uint32_t length, uint8_t mincodesize, uint8_t* out,
                       uint32_t outsize);
