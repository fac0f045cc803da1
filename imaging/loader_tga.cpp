#include "imaging/loader_tga.h"

#include "graphics2d/loader_state.h"
#include "graphics2d/surface_base.h"
#include "imaging/decode_buffer.h"

namespace {

constexpr uint32_t HEADER_SIZE = 18;
constexpr uint8_t TYPE_MAPPED = 1;
constexpr uint8_t TYPE_TRUECOLOUR = 2;
constexpr uint8_t TYPE_GREY = 3;
constexpr uint8_t DESCRIPTOR_RIGHT_TO_LEFT = 0x10;
constexpr uint8_t DESCRIPTOR_TOP_DOWN = 0x20;
// The surface palette has 256 entries; map entries beyond them have nowhere to go.
constexpr uint32_t PALETTE_ENTRIES = 256;

struct TgaHeader {
    uint8_t idlength = 0;
    uint8_t maptype = 0;
    uint8_t imagetype = 0;
    uint16_t mapfirst = 0;
    uint16_t maplength = 0;
    uint8_t mapentrybits = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t depth = 0;
    uint8_t descriptor = 0;
};

uint32_t ColourValue(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
    return uint32_t(red) | uint32_t(green) << 8 | uint32_t(blue) << 16 | uint32_t(alpha) << 24;
}

void StoreColour(uint8_t* out, uint32_t colour) {
    out[0] = uint8_t(colour);
    out[1] = uint8_t(colour >> 8);
    out[2] = uint8_t(colour >> 16);
    out[3] = uint8_t(colour >> 24);
}

// One stored pixel of a true-colour or greyscale image (or one map entry) as a colour value:
// 16 bits are 5 bits each of blue, green and red from bit 0 up (bit 15 unused), each moved to
// the top of its byte; 24 and 32 bits are blue, green, red and alpha bytes.
uint32_t StoredColour(const uint8_t* p, uint8_t depth, bool grey) {
    if (grey) return ColourValue(p[0], p[0], p[0], 255);
    switch (depth) {
        case 16: {
            const uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8;
            return ColourValue(uint8_t((v >> 10 & 0x1F) << 3), uint8_t((v >> 5 & 0x1F) << 3),
                               uint8_t((v & 0x1F) << 3), 255);
        }
        case 24:
            return ColourValue(p[2], p[1], p[0], 255);
        default:
            return ColourValue(p[2], p[1], p[0], p[3]);
    }
}

// The header check: anything it lets through is a variant the conversion handles.
bool Plausible(const TgaHeader& h) {
    if (h.maptype > 1) return false;
    if (h.imagetype != TYPE_MAPPED && h.imagetype != TYPE_TRUECOLOUR && h.imagetype != TYPE_GREY) {
        return false;
    }
    if (h.maptype == 1 && h.mapentrybits != 24 && h.mapentrybits != 32) return false;
    if (h.depth != 8 && h.depth != 16 && h.depth != 24 && h.depth != 32) return false;
    if (h.descriptor & DESCRIPTOR_RIGHT_TO_LEFT) return false;
    // Colour-mapped images have 8-bit indices and a map; the others have neither (true colour
    // in 8 bits, 16-bit indices or a map beside true colour would arrive unconverted).
    if (h.imagetype == TYPE_MAPPED) return h.maptype == 1 && h.depth == 8;
    if (h.maptype != 0) return false;
    if (h.imagetype == TYPE_GREY) return h.depth == 8;
    return h.depth != 8;
}

}  // namespace

uint32_t VLoader_TGA::DecodeImage(V2DSurfaceBase* surface, const uint8_t* data, uint32_t size,
                                  uint8_t defaultformat, uint32_t flags) {
    SetSource(data, size);
    SetBigEndian(false);
    VLoaderState state;
    state.defaultformat = defaultformat;
    state.flags = flags;

    // A block shorter than the header leaves the missing fields 0, which no check accepts.
    TgaHeader h;
    uint16_t origin = 0;
    ReadByte(&h.idlength);
    ReadByte(&h.maptype);
    ReadByte(&h.imagetype);
    ReadWord(&h.mapfirst);
    ReadWord(&h.maplength);
    ReadByte(&h.mapentrybits);
    ReadWord(&origin);
    ReadWord(&origin);
    ReadWord(&h.width);
    ReadWord(&h.height);
    ReadByte(&h.depth);
    ReadByte(&h.descriptor);
    if (!Plausible(h)) return VLOAD_NOTTHISFORMAT;

    const bool mapped = h.maptype == 1;
    const uint32_t mapbytes = mapped ? uint32_t(h.maplength) * (h.mapentrybits / 8) : 0;
    const uint32_t storedrow = uint32_t(h.width) * (h.depth / 8);
    uint32_t position = HEADER_SIZE + h.idlength;
    // Every stored row must lie in the block: the data cannot hold a larger picture, and a
    // surface is not made for one.
    if (uint64_t(position) + mapbytes + uint64_t(storedrow) * h.height > size) {
        return VLOAD_DAMAGED;
    }

    state.width = h.width;
    state.height = h.height;
    state.pixelkind = mapped ? VLOADER_PIXELS_INDEX : VLOADER_PIXELS_COLOUR;
    const uint32_t created = surface->ImageInfo(state);
    if (created != 0) return created;

    if (mapped) {
        const uint32_t entrybytes = h.mapentrybits / 8u;
        const uint32_t entries = h.maplength < PALETTE_ENTRIES ? h.maplength : PALETTE_ENTRIES;
        uint8_t palette[PALETTE_ENTRIES * 4];
        for (uint32_t i = 0; i < entries; ++i) {
            const uint32_t colour =
                StoredColour(Source() + position + i * entrybytes, uint8_t(h.mapentrybits), false);
            StoreColour(palette + 4 * i, colour);
        }
        if (h.mapentrybits == 32) state.keepblack = 1;
        state.data = palette;
        state.length = entries * 4;
        state.paletteindex = h.mapfirst;
        surface->ImagePalette(state);
        position += mapbytes;
    }

    const uint32_t outrow = mapped ? h.width : uint32_t(h.width) * 4;
    if (uint32_t(h.width) * h.depth < 8 || outrow == 0) return VLOAD_DAMAGED;
    VDecodeBuffer out;
    if (!mapped && !out.Allocate(outrow, false)) return VLOAD_OUTOFMEMORY;
    if (h.depth == 32) state.keepblack = 1;

    const bool grey = h.imagetype == TYPE_GREY;
    const uint32_t pixelbytes = h.depth / 8u;
    for (uint32_t r = 0; r < h.height; ++r) {
        const uint8_t* stored = Source() + position + uint64_t(r) * storedrow;
        if (mapped) {
            state.data = stored;
        } else {
            for (uint32_t x = 0; x < h.width; ++x) {
                StoreColour(out.Data() + 4 * x,
                            StoredColour(stored + x * pixelbytes, h.depth, grey));
            }
            state.data = out.Data();
        }
        const uint32_t y = (h.descriptor & DESCRIPTOR_TOP_DOWN) ? r : h.height - 1u - r;
        state.length = outrow;
        state.pixelcounter = y * uint32_t(h.width);
        const uint32_t delivered = surface->ImagePixels(state);
        if (delivered != 0) return delivered;
    }
    return VLOAD_OK;
}
