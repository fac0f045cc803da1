#include "bench/imaging/bench_images.h"

#include <gif_lib.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

// Smooth shading with fine noise and hard edges, the mix a photo or a painted picture has;
// alpha falls off towards one corner.
std::vector<uint8_t> Picture() {
    std::vector<uint8_t> rgba(size_t(BENCH_SIZE) * BENCH_SIZE * 4);
    uint32_t seed = 1;
    for (uint32_t y = 0; y < BENCH_SIZE; ++y) {
        for (uint32_t x = 0; x < BENCH_SIZE; ++x) {
            seed = seed * 1103515245 + 12345;
            const int noise = int((seed >> 16) & 7) - 4;
            const double dx = x - 400.0, dy = y - 600.0;
            const double ring = std::sin(std::sqrt(dx * dx + dy * dy) / 23.0);
            const bool stripe = ((x / 64) + (y / 96)) % 5 == 0;
            uint8_t* p = &rgba[(size_t(y) * BENCH_SIZE + x) * 4];
            p[0] = uint8_t(std::clamp(int(x / 4 + 40 * ring) + noise, 0, 255));
            p[1] = uint8_t(std::clamp(int(y / 4 - 30 * ring) + noise, 0, 255));
            p[2] = stripe ? 200 : uint8_t(std::clamp(int((x + y) / 8) + noise, 0, 255));
            p[3] = uint8_t(255 - (x + y) / 16);
        }
    }
    return rgba;
}

void PngWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void PngFlush(png_structp) {}

int GifWrite(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

}  // namespace

std::vector<uint8_t> MakeBenchPng(bool interlaced) {
    const std::vector<uint8_t> rgba = Picture();
    std::vector<uint8_t> file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) std::abort();
    png_set_write_fn(png, &file, PngWrite, PngFlush);
    png_set_IHDR(png, info, BENCH_SIZE, BENCH_SIZE, 8, PNG_COLOR_TYPE_RGBA,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_bytep> rows(BENCH_SIZE);
    for (uint32_t y = 0; y < BENCH_SIZE; ++y) {
        rows[y] = const_cast<png_bytep>(&rgba[size_t(y) * BENCH_SIZE * 4]);
    }
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return file;
}

std::vector<uint8_t> MakeBenchGif(bool interlaced) {
    const std::vector<uint8_t> rgba = Picture();
    // A 6 × 7 × 6 colour cube; each pixel takes its nearest entry.
    GifColorType colours[256] = {};
    for (int i = 0; i < 252; ++i) {
        colours[i] = {GifByteType(i / 42 * 51), GifByteType(i / 6 % 7 * 42),
                      GifByteType(i % 6 * 51)};
    }
    std::vector<uint8_t> indices(size_t(BENCH_SIZE) * BENCH_SIZE);
    for (size_t i = 0; i < indices.size(); ++i) {
        const int r = (rgba[4 * i] + 25) / 51, g = (rgba[4 * i + 1] + 21) / 42,
                  b = (rgba[4 * i + 2] + 25) / 51;
        indices[i] = uint8_t(r * 42 + g * 6 + b);
    }
    std::vector<uint8_t> file;
    int error = 0;
    GifFileType* gif = EGifOpen(&file, GifWrite, &error);
    ColorMapObject* map = GifMakeMapObject(256, colours);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, BENCH_SIZE, BENCH_SIZE, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, BENCH_SIZE, BENCH_SIZE, interlaced, nullptr);
    // An interlaced image takes its rows in the order of the four passes.
    const uint32_t start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    for (uint32_t pass = 0; pass < (interlaced ? 4u : 1u); ++pass) {
        const uint32_t first = interlaced ? start[pass] : 0, stride = interlaced ? step[pass] : 1;
        for (uint32_t y = first; y < BENCH_SIZE; y += stride) {
            EGifPutLine(gif, &indices[size_t(y) * BENCH_SIZE], BENCH_SIZE);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return file;
}

std::vector<uint8_t> MakeBenchJpeg(bool progressive) {
    const std::vector<uint8_t> rgba = Picture();
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = BENCH_SIZE;
    cinfo.image_height = BENCH_SIZE;
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_RGBX;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 85, TRUE);
    cinfo.comp_info[0].h_samp_factor = 2;
    cinfo.comp_info[0].v_samp_factor = 2;
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&rgba[size_t(cinfo.next_scanline) * BENCH_SIZE * 4]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> file(buffer, buffer + size);
    std::free(buffer);
    return file;
}
