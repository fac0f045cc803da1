#include "imaging/loader_gif.h"

#include "graphics2d/loader_state.h"
#include "graphics2d/surface_base.h"
#include "imaging/decode_buffer.h"
#include "imaging/gif_lzw.h"

namespace {

constexpr uint8_t BLOCK_EXTENSION = 0x21;
constexpr uint8_t BLOCK_IMAGE = 0x2C;
constexpr uint8_t BLOCK_PADDING = 0x00;
constexpr uint8_t LABEL_GRAPHIC_CONTROL = 0xF9;
constexpr uint32_t GRAPHIC_CONTROL_SIZE = 4;

// Rows of an interlaced image arrive in four passes: every 8th row from 0, every 8th from 4,
// every 4th from 2, every 2nd from 1.
uint32_t InterlacedRow(uint32_t j, uint32_t height) {
    constexpr uint32_t START[4] = {0, 4, 2, 1};
    constexpr uint32_t STEP[4] = {8, 8, 4, 2};
    for (uint32_t pass = 0; pass < 4; ++pass) {
        const uint32_t rows =
            height > START[pass] ? (height - START[pass] + STEP[pass] - 1) / STEP[pass] : 0;
        if (j < rows) return START[pass] + j * STEP[pass];
        j -= rows;
    }
    return height;
}

// Each code takes at least mincodesize + 1 bits and stands for one string of the table, which
// is shorter than 4096 bytes: an image larger than that cannot come from its data, and is
// refused before a buffer for it is taken.
uint64_t MostPixels(uint32_t datalength, uint8_t mincodesize) {
    const uint32_t codebits = mincodesize + 1u > 2u ? mincodesize + 1u : 2u;
    return uint64_t(datalength) * 8 / codebits * 4096;
}

void OpaqueBlack(uint8_t* palette) {
    for (uint32_t i = 0; i < 256; ++i) {
        palette[4 * i + 0] = palette[4 * i + 1] = palette[4 * i + 2] = 0;
        palette[4 * i + 3] = 255;
    }
}

}  // namespace

struct VLoader_GIF::Image {
    bool controlseen = false;
    uint8_t controlflags = 0;  // bit 0: transparent index valid
    uint8_t transparent = 0;
    uint16_t left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    uint32_t localentries = 0;
    uint8_t localpalette[256 * 4];
    uint8_t mincodesize = 0;
    uint32_t datastart = 0;
    uint32_t datalength = 0;  // bytes of the data sub-blocks with their size bytes
};

void VLoader_GIF::ReadColourTable(uint8_t* palette, uint32_t entries) {
    for (uint32_t i = 0; i < entries; ++i) {
        uint8_t rgb[3] = {};
        ReadBlock(rgb, 3);
        palette[4 * i + 0] = rgb[0];
        palette[4 * i + 1] = rgb[1];
        palette[4 * i + 2] = rgb[2];
        palette[4 * i + 3] = 255;
    }
}

bool VLoader_GIF::SkipSubBlocks() {
    uint8_t blocksize = 0;
    while (ReadByte(&blocksize)) {
        if (blocksize == 0) return true;
        Skip(blocksize);
    }
    return false;
}

bool VLoader_GIF::FindImage(Image& image) {
    uint8_t introducer = 0;
    while (ReadByte(&introducer)) {
        if (introducer == BLOCK_EXTENSION) {
            uint8_t label = 0, blocksize = 0;
            if (!ReadByte(&label) || !ReadByte(&blocksize)) return false;
            if (label == LABEL_GRAPHIC_CONTROL) {
                if (blocksize < GRAPHIC_CONTROL_SIZE) return false;
                uint8_t packed = 0, transparent = 0, terminator = 1;
                uint16_t delay = 0;
                ReadByte(&packed);
                ReadWord(&delay);
                ReadByte(&transparent);
                Skip(blocksize - GRAPHIC_CONTROL_SIZE);
                if (!ReadByte(&terminator) || terminator != 0) return false;
                image.controlseen = true;
                image.controlflags = packed;
                image.transparent = transparent;
            } else {
                // Comments, plain text and application data: every sub-block is skipped.
                Skip(blocksize);
                if (!SkipSubBlocks()) return false;
            }
        } else if (introducer == BLOCK_IMAGE) {
            uint8_t packed = 0;
            ReadWord(&image.left);
            ReadWord(&image.top);
            ReadWord(&image.width);
            ReadWord(&image.height);
            ReadByte(&packed);
            image.interlaced = (packed & 0x40) != 0;
            image.localentries = (packed & 0x80) ? 2u << (packed & 7) : 0;
            if (image.localentries != 0) {
                OpaqueBlack(image.localpalette);
                ReadColourTable(image.localpalette, image.localentries);
            }
            ReadByte(&image.mincodesize);
            image.datastart = GetPos();
            SkipSubBlocks();  // the image data may run to the end of the block
            const uint32_t end = GetPos() < SourceSize() ? GetPos() : SourceSize();
            image.datalength = end > image.datastart ? end - image.datastart : 0;
            return true;
        } else if (introducer == BLOCK_PADDING) {
            uint8_t dropped = 0;
            ReadByte(&dropped);
        } else {
            return false;  // the trailer, or a block this decoder does not know
        }
    }
    return false;
}

uint32_t VLoader_GIF::DecodeImage(V2DSurfaceBase* surface, const uint8_t* data, uint32_t size,
                                  uint8_t defaultformat, uint32_t flags) {
    SetSource(data, size);
    SetBigEndian(false);
    VLoaderState state;
    state.defaultformat = defaultformat;
    state.flags = flags;
    state.framelimit = 0;

    uint8_t signature[6] = {};
    ReadBlock(signature, 6);
    if (signature[0] != 'G' || signature[1] != 'I' || signature[2] != 'F') {
        return VLOAD_NOTTHISFORMAT;
    }
    if (signature[3] != '8' || signature[4] < '7') return VLOAD_NOTTHISFORMAT;

    uint16_t screenwidth = 0, screenheight = 0;
    uint8_t packed = 0, background = 0, aspect = 0;
    ReadWord(&screenwidth);
    ReadWord(&screenheight);
    ReadByte(&packed);
    ReadByte(&background);
    ReadByte(&aspect);
    if (screenwidth == 0 || screenheight == 0) return VLOAD_DAMAGED;

    state.width = screenwidth;
    state.height = screenheight;
    state.pixelkind = VLOADER_PIXELS_INDEX;
    const uint32_t created = surface->ImageInfo(state);
    if (created != 0) return created;

    uint8_t globalpalette[256 * 4];
    OpaqueBlack(globalpalette);
    if (packed & 0x80) {
        const uint32_t entries = 2u << (packed & 7);
        ReadColourTable(globalpalette, entries);
        state.data = globalpalette;
        state.length = entries * 4;
        surface->ImagePalette(state);
    }

    // Only the first image is decoded (frame limit 0).
    for (uint32_t frame = 0; frame <= state.framelimit; ++frame) {
        state.paletteindex = 0;
        state.pixelcounter = 0;
        Image image;
        if (!FindImage(image)) return VLOAD_NOIMAGE;
        uint8_t* palette = globalpalette;
        if (image.localentries != 0) {
            palette = image.localpalette;
            state.data = palette;
            state.length = image.localentries * 4;
            surface->ImagePalette(state);
        }

        const uint32_t pixels = uint32_t(image.width) * image.height;
        if (pixels == 0 || image.datalength == 0) return VLOAD_DAMAGED;
        if (pixels > MostPixels(image.datalength, image.mincodesize)) return VLOAD_DAMAGED;
        VDecodeBuffer buffer;
        if (!buffer.Allocate(pixels)) return VLOAD_OUTOFMEMORY;
        const uint32_t decompressed = GifDecompress(data + image.datastart, image.datalength,
                                                    image.mincodesize, buffer.Data(), pixels);
        if (decompressed != 0) return decompressed;

        if (image.controlseen && (image.controlflags & 1)) {
            state.keepblack = 1;
            palette[4 * image.transparent + 3] = 0;
            state.data = palette + 4 * image.transparent;
            state.length = 4;
            state.paletteindex = image.transparent;
            surface->ImagePalette(state);
        }

        // Rows are clipped to the logical screen, so the pixel counter never wraps into the
        // next row or past the surface.
        if (image.left >= screenwidth) continue;
        const uint32_t visible = image.width < screenwidth - image.left
                                     ? image.width
                                     : uint32_t(screenwidth - image.left);
        for (uint32_t j = 0; j < image.height; ++j) {
            const uint32_t y = image.top + (image.interlaced ? InterlacedRow(j, image.height) : j);
            if (y >= screenheight) continue;
            state.pixelcounter = y * screenwidth + image.left;
            state.data = buffer.Data() + j * image.width;
            state.length = visible;
            const uint32_t delivered = surface->ImagePixels(state);
            if (delivered != 0) return delivered;
        }
    }
    return VLOAD_OK;
}
