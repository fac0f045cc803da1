#include "imaging/loader_jpg.h"

#include <memory>
#include <new>

#include "graphics2d/loader_state.h"
#include "graphics2d/surface_base.h"
#include "imaging/decode_buffer.h"
#include "imaging/jpeg_decoder.h"

uint32_t VLoader_JPG::DecodeImage(V2DSurfaceBase* surface, const uint8_t* data, uint32_t size,
                                  uint8_t defaultformat, uint32_t flags) {
    const std::unique_ptr<jpeg_decoder> decoder(new (std::nothrow) jpeg_decoder(data, size));
    if (!decoder) return VLOAD_OUTOFMEMORY;
    // Anything wrong up to the frame header: not a JPEG this loader reads.
    if (decoder->ErrorCode() != jpeg_decoder::Error::None) return VLOAD_NOTTHISFORMAT;

    VLoaderState state;
    state.width = decoder->Width();
    state.height = decoder->Height();
    state.pixelkind = VLOADER_PIXELS_COLOUR;
    state.defaultformat = defaultformat;
    state.flags = flags;
    const uint32_t created = surface->ImageInfo(state);
    if (created != 0) return created;

    if (decoder->BeginDecoding() != 0) {
        return decoder->ErrorCode() == jpeg_decoder::Error::OutOfMemory ? VLOAD_OUTOFMEMORY
                                                                        : VLOAD_DAMAGED;
    }
    // Colour lines are colour values already (R, G, B, 255); grey ones are widened into a row.
    const bool grey = decoder->Greyscale();
    const uint32_t rowbytes = state.width * 4;
    VDecodeBuffer row;
    if (grey && !row.Allocate(rowbytes, false)) return VLOAD_OUTOFMEMORY;

    // Lines land one after another from the surface's own pixel counter. An error inside the
    // data ends the loop early; the lines delivered so far stay.
    const uint8_t* line = nullptr;
    uint32_t length = 0;
    uint8_t* out = row.Data();
    while (decoder->DecodeLine(&line, &length) == 0) {
        if (grey) {
            for (uint32_t x = 0; x < state.width; ++x) {
                out[4 * x + 0] = out[4 * x + 1] = out[4 * x + 2] = line[x];
                out[4 * x + 3] = 255;
            }
            line = out;
        }
        state.data = line;
        state.length = rowbytes;
        if (surface->ImagePixels(state) != 0) return VLOAD_DAMAGED;
    }
    return VLOAD_OK;
}
