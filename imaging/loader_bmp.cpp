#include "imaging/loader_bmp.h"

#include "graphics2d/loader_state.h"
#include "graphics2d/surface_base.h"
#include "imaging/decode_buffer.h"

namespace {

constexpr uint16_t BMP_MAGIC = 0x4D42;  // "BM"
constexpr uint32_t FILE_HEADER_SIZE = 14;
// BITMAPINFOHEADER and its longer successors share the first 40 bytes; the older 12-byte
// core header lays its fields out differently and is not read.
constexpr uint32_t MIN_INFO_HEADER_SIZE = 40;

struct BmpHeader {
    uint32_t pixeloffset = 0;
    uint32_t infosize = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t planes = 0;
    uint16_t bitsperpixel = 0;
    uint32_t compression = 0;
    uint32_t coloursused = 0;
};

void ConvertRow(const uint8_t* stored, uint8_t* out, uint32_t width, uint16_t bitsperpixel) {
    switch (bitsperpixel) {
        case 1:
            for (uint32_t i = 0; i < width; ++i) out[i] = (stored[i >> 3] >> (7 - (i & 7))) & 1;
            break;
        case 4:
            for (uint32_t i = 0; i < width; ++i) {
                out[i] = (i & 1) ? stored[i >> 1] & 0x0F : stored[i >> 1] >> 4;
            }
            break;
        case 8:
            for (uint32_t i = 0; i < width; ++i) out[i] = stored[i];
            break;
        default:  // 24: blue, green, red
            for (uint32_t i = 0; i < width; ++i) {
                out[4 * i + 0] = stored[3 * i + 2];
                out[4 * i + 1] = stored[3 * i + 1];
                out[4 * i + 2] = stored[3 * i + 0];
                out[4 * i + 3] = 255;
            }
            break;
    }
}

}  // namespace

uint32_t VLoader_BMP::DecodeImage(V2DSurfaceBase* surface, const uint8_t* data, uint32_t size,
                                  uint8_t defaultformat, uint32_t flags) {
    SetSource(data, size);
    SetBigEndian(false);
    VLoaderState state;
    state.defaultformat = defaultformat;
    state.flags = flags;

    uint16_t magic = 0;
    ReadWord(&magic);
    if (magic != BMP_MAGIC) return VLOAD_NOTTHISFORMAT;

    BmpHeader h;
    uint32_t unused = 0;
    ReadDword(&unused);  // file size
    ReadDword(&unused);  // reserved
    ReadDword(&h.pixeloffset);
    ReadDword(&h.infosize);
    ReadDword(&h.width);
    ReadDword(&h.height);
    ReadWord(&h.planes);
    ReadWord(&h.bitsperpixel);
    ReadDword(&h.compression);
    SetPos(FILE_HEADER_SIZE + 32);
    ReadDword(&h.coloursused);

    if (h.infosize < MIN_INFO_HEADER_SIZE || h.planes != 1 || h.compression != 0) {
        return VLOAD_NOTTHISFORMAT;
    }
    const uint16_t bpp = h.bitsperpixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24) return VLOAD_NOTTHISFORMAT;

    // A negative height marks rows stored top-down.
    const bool topdown = int32_t(h.height) < 0;
    const uint32_t height = topdown ? uint32_t(-int64_t(int32_t(h.height))) : h.height;
    const uint32_t width = h.width;
    if (width == 0 || height == 0) return VLOAD_DAMAGED;
    // The pixel counter addresses the whole picture in 32 bits, and a stored row longer than
    // the whole block cannot belong to this file.
    if (uint64_t(width) * height > UINT32_MAX) return VLOAD_DAMAGED;
    const uint64_t storedrow = (uint64_t(bpp) * width + 31) / 32 * 4;
    if (storedrow > size) return VLOAD_DAMAGED;
    const bool indexed = bpp != 24;
    const uint64_t outrow = indexed ? uint64_t(width) : uint64_t(width) * 4;
    if (outrow > UINT32_MAX) return VLOAD_DAMAGED;

    VDecodeBuffer stored, out;
    if (!stored.Allocate(storedrow) || !out.Allocate(outrow)) return VLOAD_OUTOFMEMORY;

    state.width = width;
    state.height = height;
    state.pixelkind = indexed ? VLOADER_PIXELS_INDEX : VLOADER_PIXELS_COLOUR;
    const uint32_t created = surface->ImageInfo(state);
    if (created != 0) return created;

    if (indexed) {
        // The palette follows the info header; a colours-used count below the full table
        // size shortens it.
        uint32_t entries = 1u << bpp;
        if (h.coloursused != 0 && h.coloursused < entries) entries = h.coloursused;
        uint8_t palette[256 * 4] = {};
        SetPos(FILE_HEADER_SIZE + h.infosize);
        for (uint32_t i = 0; i < entries; ++i) {
            uint8_t bgrx[4] = {};
            ReadBlock(bgrx, 4);
            palette[4 * i + 0] = bgrx[2];
            palette[4 * i + 1] = bgrx[1];
            palette[4 * i + 2] = bgrx[0];
            palette[4 * i + 3] = 255;
        }
        state.data = palette;
        state.length = entries * 4;
        state.paletteindex = 0;
        surface->ImagePalette(state);
    }

    // Rows the block does not hold (a file that ends early) keep the bytes of the row before.
    for (uint32_t r = 0; r < height; ++r) {
        const uint64_t rowstart = h.pixeloffset + uint64_t(r) * storedrow;
        if (rowstart < size) {
            SetPos(uint32_t(rowstart));
            ReadBlock(stored.Data(), uint32_t(storedrow));
        }
        ConvertRow(stored.Data(), out.Data(), width, bpp);
        const uint32_t y = topdown ? r : height - 1 - r;
        state.data = out.Data();
        state.length = uint32_t(outrow);
        state.pixelcounter = y * width;
        const uint32_t delivered = surface->ImagePixels(state);
        if (delivered != 0) return delivered;
    }
    return VLOAD_OK;
}
