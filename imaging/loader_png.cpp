#include "imaging/loader_png.h"

#include <cstring>

#include "graphics2d/loader_state.h"
#include "graphics2d/surface_base.h"
#include "imaging/decode_buffer.h"
#include "imaging/png_format.h"
#include "imaging/png_inflate.h"
#include "imaging/png_rows.h"

namespace {

constexpr uint32_t SIGNATURE_HIGH = 0x89504E47;
constexpr uint32_t SIGNATURE_LOW = 0x0D0A1A0A;

constexpr uint32_t ChunkType(const char (&name)[5]) {
    return uint32_t(uint8_t(name[0])) << 24 | uint32_t(uint8_t(name[1])) << 16 |
           uint32_t(uint8_t(name[2])) << 8 | uint32_t(uint8_t(name[3]));
}
constexpr uint32_t CHUNK_IHDR = ChunkType("IHDR");
constexpr uint32_t CHUNK_PLTE = ChunkType("PLTE");
constexpr uint32_t CHUNK_TRNS = ChunkType("tRNS");
constexpr uint32_t CHUNK_IDAT = ChunkType("IDAT");

// A chunk is its 32-bit length, its type, the data and a 32-bit CRC.
constexpr uint32_t CHUNK_OVERHEAD = 12;
constexpr uint32_t IHDR_SIZE = 13;
// Deflate cannot expand data by more than about 1032 to 1; an image that would need more
// from its compressed data than that is damaged, whatever it declares.
constexpr uint64_t MAX_INFLATE_RATIO = 1100;
constexpr uint64_t INFLATE_SLACK = 1024;

// The transparent key when there is none: no colour value of an opaque pixel matches it in
// its low 24 bits once alpha is taken out of the comparison.
constexpr uint32_t NO_KEY = 0xFF000000;

uint32_t Be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
uint16_t Be16(const uint8_t* p) {
    return uint16_t(p[0] << 8 | p[1]);
}

struct PngDecode {
    uint32_t width = 0;
    uint32_t height = 0;
    PngFormat format;
    uint8_t interlace = 0;
    bool haveheader = false;
    uint32_t firstidat = 0;  // offset of the first IDAT chunk's length field
    uint32_t idatcount = 0;
    uint64_t idattotal = 0;  // compressed bytes present in the block
    uint32_t key = NO_KEY;
    uint8_t palette[256 * 4];  // R, G, B, A per entry
};

uint32_t ReadHeader(PngDecode& png, const uint8_t* chunk, uint32_t avail, VLoaderState& state,
                    V2DSurfaceBase* surface) {
    if (png.haveheader || avail < IHDR_SIZE) return VLOAD_DAMAGED;
    png.haveheader = true;
    png.width = Be32(chunk);
    png.height = Be32(chunk + 4);
    png.format.bitdepth = chunk[8];
    png.format.colourtype = chunk[9];
    const uint8_t compression = chunk[10], filter = chunk[11];
    png.interlace = chunk[12];
    if (png.format.HasAlpha()) state.keepblack = 1;
    if (png.width == 0 || png.height == 0) return VLOAD_DAMAGED;
    if (compression != 0 || filter != 0) return VLOAD_NOTTHISFORMAT;
    // A depth the format does not allow for the colour type has no defined pixels.
    if (!png.format.Legal()) return VLOAD_DAMAGED;
    // The pixel counter addresses the whole picture in 32 bits.
    if (uint64_t(png.width) * png.height > UINT32_MAX) return VLOAD_DAMAGED;
    state.width = png.width;
    state.height = png.height;
    state.pixelkind = png.format.Indexed() ? VLOADER_PIXELS_INDEX : VLOADER_PIXELS_COLOUR;
    return surface->ImageInfo(state);
}

uint32_t ReadPalette(PngDecode& png, const uint8_t* chunk, uint32_t length, uint32_t avail,
                     VLoaderState& state, V2DSurfaceBase* surface) {
    if (length % 3 != 0 || length > 256 * 3) return VLOAD_DAMAGED;
    const uint32_t entries = length / 3;
    // Each entry keeps the alpha it holds (from a tRNS that came first, else opaque).
    for (uint32_t i = 0; i < entries && 3 * i + 2 < avail; ++i) {
        png.palette[4 * i + 0] = chunk[3 * i + 0];
        png.palette[4 * i + 1] = chunk[3 * i + 1];
        png.palette[4 * i + 2] = chunk[3 * i + 2];
    }
    state.data = png.palette;
    state.length = entries * 4;
    state.paletteindex = 0;
    surface->ImagePalette(state);
    return VLOAD_OK;
}

// The 8-bit value of a transparent-key sample, or -1 when the sample lies outside the range
// of the bit depth (such a key matches no pixel).
int32_t KeySample(uint16_t sample, uint8_t bitdepth) {
    if (bitdepth == 16) return sample >> 8;
    if (sample >= (1u << bitdepth)) return -1;
    return PngScaleGrey(sample, bitdepth);
}

void ReadTransparency(PngDecode& png, const uint8_t* chunk, uint32_t length, uint32_t avail,
                      VLoaderState& state, V2DSurfaceBase* surface) {
    state.keepblack = 1;
    const uint8_t depth = png.format.bitdepth;
    switch (png.format.colourtype) {
        case PNG_PALETTE: {
            // The palette has 256 entries; alphas beyond them have no entry to go to.
            const uint32_t entries = length < 256 ? length : 256;
            for (uint32_t i = 0; i < entries && i < avail; ++i) png.palette[4 * i + 3] = chunk[i];
            state.data = png.palette;
            state.length = entries * 4;
            state.paletteindex = 0;
            surface->ImagePalette(state);
            break;
        }
        case PNG_GREY: {
            if (avail < 2) break;
            const int32_t g = KeySample(Be16(chunk), depth);
            if (g >= 0) png.key = uint32_t(g) | uint32_t(g) << 8 | uint32_t(g) << 16;
            break;
        }
        case PNG_COLOUR: {
            if (avail < 6) break;
            const int32_t r = KeySample(Be16(chunk), depth);
            const int32_t g = KeySample(Be16(chunk + 2), depth);
            const int32_t b = KeySample(Be16(chunk + 4), depth);
            if (r >= 0 && g >= 0 && b >= 0) {
                png.key = uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16;
            }
            break;
        }
        default:  // grey or colour with alpha: the alpha channel already says it all
            break;
    }
}

// Bytes of inflated data the image needs: every stored row with its filter byte. Passes of
// an interlaced image that hold no pixel have no rows in the stream.
uint64_t InflatedSize(const PngDecode& png) {
    if (png.interlace == 0) return uint64_t(png.height) * (png.format.RowBytes(png.width) + 1);
    uint64_t total = 0;
    for (const Adam7Pass& pass : ADAM7_PASSES) {
        const uint32_t pw = pass.Width(png.width), ph = pass.Height(png.height);
        if (pw != 0 && ph != 0) total += uint64_t(ph) * (png.format.RowBytes(pw) + 1);
    }
    return total;
}

uint32_t DeliverRow(const PngDecode& png, uint8_t* row, uint32_t y, uint32_t outrow,
                    VLoaderState& state, V2DSurfaceBase* surface) {
    if (!png.format.Indexed() && png.key != NO_KEY) PngApplyTransparentKey(row, png.width, png.key);
    state.data = row;
    state.length = outrow;
    state.pixelcounter = png.width * y;
    return surface->ImagePixels(state);
}

uint32_t DeliverPlain(const PngDecode& png, uint8_t* inflated, uint32_t outrow, VLoaderState& state,
                      V2DSurfaceBase* surface) {
    VDecodeBuffer out;
    if (!out.Allocate(outrow, false)) return VLOAD_OUTOFMEMORY;
    const uint64_t rowbytes = png.format.RowBytes(png.width);
    const uint32_t step = png.format.FilterStep();
    const uint8_t* above = nullptr;
    for (uint32_t y = 0; y < png.height; ++y) {
        uint8_t* row = inflated + y * (rowbytes + 1);
        PngUnfilterRow(row, above, rowbytes, step);
        PngConvertRow(png.format, row + 1, png.width, out.Data());
        const uint32_t delivered = DeliverRow(png, out.Data(), y, outrow, state, surface);
        if (delivered != 0) return delivered;
        above = row + 1;
    }
    return VLOAD_OK;
}

// Adam7: every pass is unfiltered where it lies first; then each row of the picture is put
// together from the rows of the passes that hold its pixels (each pass row is converted
// once), so no second copy of the whole picture is needed.
uint32_t DeliverInterlaced(const PngDecode& png, uint8_t* inflated, uint32_t outrow,
                           VLoaderState& state, V2DSurfaceBase* surface) {
    const uint32_t outbytes = png.format.OutputBytes();
    const uint32_t step = png.format.FilterStep();
    const uint8_t* passrows[7] = {};
    uint64_t passrowbytes[7] = {};
    uint8_t* stored = inflated;
    for (int p = 0; p < 7; ++p) {
        const uint32_t pw = ADAM7_PASSES[p].Width(png.width);
        const uint32_t ph = ADAM7_PASSES[p].Height(png.height);
        if (pw == 0 || ph == 0) continue;
        passrows[p] = stored;
        passrowbytes[p] = png.format.RowBytes(pw);
        const uint8_t* above = nullptr;
        for (uint32_t j = 0; j < ph; ++j, stored += passrowbytes[p] + 1) {
            PngUnfilterRow(stored, above, passrowbytes[p], step);
            above = stored + 1;
        }
    }

    VDecodeBuffer row, passrow;
    if (!row.Allocate(outrow, false) || !passrow.Allocate(outrow, false)) {
        return VLOAD_OUTOFMEMORY;
    }
    for (uint32_t y = 0; y < png.height; ++y) {
        for (int p = 0; p < 7; ++p) {
            const Adam7Pass& pass = ADAM7_PASSES[p];
            if (passrows[p] == nullptr || y < pass.y0 || (y - pass.y0) % pass.dy != 0) continue;
            const uint32_t pw = pass.Width(png.width);
            const uint64_t j = (y - pass.y0) / pass.dy;
            PngConvertRow(png.format, passrows[p] + j * (passrowbytes[p] + 1) + 1, pw,
                          passrow.Data());
            uint8_t* dst = row.Data() + uint64_t(pass.x0) * outbytes;
            const uint8_t* src = passrow.Data();
            if (outbytes == 4) {
                const size_t dststep = size_t(pass.dx) * 4;
                for (uint32_t i = 0; i < pw; ++i, dst += dststep, src += 4)
                    std::memcpy(dst, src, 4);
            } else {
                for (uint32_t i = 0; i < pw; ++i, dst += pass.dx) *dst = src[i];
            }
        }
        const uint32_t delivered = DeliverRow(png, row.Data(), y, outrow, state, surface);
        if (delivered != 0) return delivered;
    }
    return VLOAD_OK;
}

}  // namespace

uint32_t VLoader_PNG::DecodeImage(V2DSurfaceBase* surface, const uint8_t* data, uint32_t size,
                                  uint8_t defaultformat, uint32_t flags) {
    SetSource(data, size);
    SetBigEndian(true);
    VLoaderState state;
    state.defaultformat = defaultformat;
    state.flags = flags;

    uint32_t high = 0, low = 0;
    ReadDword(&high);
    ReadDword(&low);
    if (high != SIGNATURE_HIGH || low != SIGNATURE_LOW) return VLOAD_NOTTHISFORMAT;

    PngDecode png;
    for (uint32_t i = 0; i < 256; ++i) {
        png.palette[4 * i + 0] = png.palette[4 * i + 1] = png.palette[4 * i + 2] = 0;
        png.palette[4 * i + 3] = 255;
    }

    // The chunk walk. CRCs are not checked; chunks other than the four below are skipped.
    while (HasData()) {
        const uint32_t start = GetPos();
        uint32_t length = 0, type = 0;
        if (!ReadDword(&length) || !ReadDword(&type)) break;
        const uint32_t left = size - GetPos();
        const uint32_t avail = length < left ? length : left;
        const uint8_t* chunk = Source() + GetPos();
        // Everything else depends on the header, which must come first.
        if (!png.haveheader && type != CHUNK_IHDR) return VLOAD_DAMAGED;
        uint32_t result = VLOAD_OK;
        if (type == CHUNK_IHDR) {
            result = ReadHeader(png, chunk, avail, state, surface);
        } else if (type == CHUNK_PLTE) {
            result = ReadPalette(png, chunk, length, avail, state, surface);
        } else if (type == CHUNK_TRNS) {
            ReadTransparency(png, chunk, length, avail, state, surface);
        } else if (type == CHUNK_IDAT) {
            if (png.idatcount == 0) png.firstidat = start;
            ++png.idatcount;
            png.idattotal += avail;
        }
        if (result != VLOAD_OK) return result;
        const uint64_t next = uint64_t(start) + CHUNK_OVERHEAD + length;
        if (next >= size) break;
        SetPos(uint32_t(next));
    }
    if (!png.haveheader || png.idatcount == 0) return VLOAD_DAMAGED;

    const uint64_t inflatedsize = InflatedSize(png);
    if (inflatedsize > png.idattotal * MAX_INFLATE_RATIO + INFLATE_SLACK) return VLOAD_DAMAGED;
    const uint64_t outrow = uint64_t(png.width) * png.format.OutputBytes();
    if (outrow > UINT32_MAX) return VLOAD_DAMAGED;

    // One IDAT chunk is inflated where it lies; several are gathered first, in the order in
    // which they appear, whatever chunks lie between them.
    const uint8_t* compressed = Source() + png.firstidat + 8;
    VDecodeBuffer gathered;
    if (png.idatcount > 1) {
        if (!gathered.Allocate(png.idattotal, false)) return VLOAD_OUTOFMEMORY;
        uint64_t pos = png.firstidat, filled = 0;
        for (uint32_t found = 0; found < png.idatcount && pos + 8 <= size;) {
            const uint32_t length = Be32(Source() + pos);
            const uint32_t type = Be32(Source() + pos + 4);
            if (type == CHUNK_IDAT) {
                const uint64_t left = size - (pos + 8);
                const uint64_t avail = length < left ? length : left;
                std::memcpy(gathered.Data() + filled, Source() + pos + 8, size_t(avail));
                filled += avail;
                ++found;
            }
            pos += CHUNK_OVERHEAD + uint64_t(length);
        }
        compressed = gathered.Data();
    }

    VDecodeBuffer inflated;
    if (!inflated.Allocate(inflatedsize, false)) return VLOAD_OUTOFMEMORY;
    if (!PngInflate(compressed, size_t(png.idattotal), inflated.Data(), size_t(inflatedsize))) {
        return VLOAD_DAMAGED;
    }
    gathered.Release();

    return png.interlace == 0
               ? DeliverPlain(png, inflated.Data(), uint32_t(outrow), state, surface)
               : DeliverInterlaced(png, inflated.Data(), uint32_t(outrow), state, surface);
}
