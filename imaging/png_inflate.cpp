#include "imaging/png_inflate.h"

#include <zlib.h>

#include <climits>
#include <cstring>

#include "fileio/memory.h"

namespace {

voidpf ZlibAlloc(voidpf opaque, uInt items, uInt size) {
    (void)opaque;
    const size_t bytes = size_t(items) * size;
    void* block = MemAlloc(bytes);
    if (block != nullptr) std::memset(block, 0, bytes);
    return block;
}

void ZlibFree(voidpf opaque, voidpf address) {
    (void)opaque;
    MemFree(address);
}

}  // namespace

bool PngInflate(const uint8_t* in, size_t insize, uint8_t* out, size_t outsize) {
    // zlib counts in 32-bit units; an image this large cannot come from one block anyway.
    if (insize > UINT_MAX || outsize > UINT_MAX) return false;
    z_stream stream;
    std::memset(&stream, 0, sizeof(stream));
    stream.zalloc = ZlibAlloc;
    stream.zfree = ZlibFree;
    stream.next_in = const_cast<Bytef*>(in);
    stream.avail_in = uInt(insize);
    stream.next_out = out;
    stream.avail_out = uInt(outsize);
    if (inflateInit(&stream) != Z_OK) return false;
    const int result = inflate(&stream, Z_FINISH);
    const bool complete = result == Z_STREAM_END && stream.total_out == outsize;
    return inflateEnd(&stream) == Z_OK && complete;
}
