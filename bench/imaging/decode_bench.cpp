// PNG, GIF and JPEG decode speed of our loaders against libpng, giflib and libjpeg-turbo on the
// same files, in one run: generated 1024 × 1024 pictures and the demo's own two PNG pictures.
// libjpeg-turbo does the work our JPEG loader does: the accurate integer inverse DCT
// (JDCT_ISLOW) and chroma repeated (no fancy upsampling), into RGBA rows. After the usual
// report a table gives the time per megapixel and our time as a multiple of the peer's (below
// 1: we are faster).
#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "bench/imaging/bench_images.h"
#include "graphics2d/surface_base.h"
#include "imaging/loader_gif.h"
#include "imaging/loader_jpg.h"
#include "imaging/loader_png.h"

namespace {

// Keeps the delivered rows in one buffer, the least a real surface does with them.
class BufferSurface : public V2DSurfaceBase {
  public:
    uint32_t ImageInfo(const VLoaderState& state) override {
        m_width = state.width;
        m_bytes = state.pixelkind == VLOADER_PIXELS_INDEX ? 1 : 4;
        m_pixels.resize(size_t(state.width) * state.height * m_bytes);
        return 0;
    }
    uint32_t ImagePalette(VLoaderState& state) override {
        std::memcpy(m_palette + state.paletteindex, state.data,
                    std::min<size_t>(state.length / 4, 256 - state.paletteindex) * 4);
        state.paletteindex += state.length / 4;
        return 0;
    }
    uint32_t ImagePixels(VLoaderState& state) override {
        std::memcpy(&m_pixels[size_t(state.pixelcounter) * m_bytes], state.data, state.length);
        state.pixelcounter += state.length / m_bytes;
        return 0;
    }
    const uint8_t* Pixels() const { return m_pixels.data(); }

  private:
    uint32_t m_width = 0, m_bytes = 4;
    uint32_t m_palette[256] = {};
    std::vector<uint8_t> m_pixels;
};

struct MemoryReader {
    const uint8_t* data;
    size_t size, pos;
};

void PngRead(png_structp png, png_bytep out, png_size_t length) {
    auto* r = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > r->size - r->pos) png_error(png, "read past the end");
    std::memcpy(out, r->data + r->pos, length);
    r->pos += length;
}

int GifRead(GifFileType* gif, GifByteType* out, int length) {
    auto* r = static_cast<MemoryReader*>(gif->UserData);
    const size_t n = std::min<size_t>(size_t(length), r->size - r->pos);
    std::memcpy(out, r->data + r->pos, n);
    r->pos += n;
    return int(n);
}

// libpng into RGBA rows of one buffer, as its users decode for a surface.
bool LibpngDecode(const std::vector<uint8_t>& file, std::vector<uint8_t>& rgba) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    MemoryReader reader{file.data(), file.size(), 0};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, PngRead);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const uint32_t width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    rgba.resize(size_t(width) * height * 4);
    std::vector<png_bytep> rows(height);
    for (uint32_t y = 0; y < height; ++y) rows[y] = &rgba[size_t(y) * width * 4];
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

bool GiflibDecode(const std::vector<uint8_t>& file) {
    MemoryReader reader{file.data(), file.size(), 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, GifRead, &error);
    if (gif == nullptr) return false;
    const bool ok = DGifSlurp(gif) == GIF_OK;
    DGifCloseFile(gif, &error);
    return ok;
}

// libjpeg-turbo into RGBA rows of one buffer, with the settings of our decoder.
bool LibjpegDecode(const std::vector<uint8_t>& file, std::vector<uint8_t>& rgba) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), file.size());
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    cinfo.dct_method = JDCT_ISLOW;
    cinfo.do_fancy_upsampling = FALSE;
    cinfo.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&cinfo);
    rgba.resize(size_t(cinfo.output_width) * cinfo.output_height * 4);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = &rgba[size_t(cinfo.output_scanline) * cinfo.output_width * 4];
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

const std::vector<uint8_t>& Png(bool interlaced) {
    static const std::vector<uint8_t> plain = MakeBenchPng(false), adam7 = MakeBenchPng(true);
    return interlaced ? adam7 : plain;
}

const std::vector<uint8_t>& Gif(bool interlaced) {
    static const std::vector<uint8_t> plain = MakeBenchGif(false), passes = MakeBenchGif(true);
    return interlaced ? passes : plain;
}

const std::vector<uint8_t>& Jpeg(bool progressive) {
    static const std::vector<uint8_t> baseline = MakeBenchJpeg(false), scans = MakeBenchJpeg(true);
    return progressive ? scans : baseline;
}

// The demo's pictures, read from the assets folder.
struct AssetPicture {
    const char* file;
    uint32_t width, height;
};
constexpr AssetPicture ASSET_PICTURES[] = {{"logo.png", 203, 140}, {"advert.png", 300, 440}};

const std::vector<uint8_t>& Asset(int64_t index) {
    static std::vector<uint8_t> files[std::size(ASSET_PICTURES)];
    std::vector<uint8_t>& file = files[index];
    if (file.empty()) {
        std::ifstream in(std::string(VANE_ASSETS_DIR) + "/" + ASSET_PICTURES[index].file,
                         std::ios::binary);
        file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return file;
}

double AssetMegapixels(int64_t index) {
    return double(ASSET_PICTURES[index].width) * ASSET_PICTURES[index].height / 1e6;
}

constexpr double MEGAPIXELS = double(BENCH_SIZE) * BENCH_SIZE / 1e6;

void SetPixelCounter(benchmark::State& state, double megapixels) {
    state.counters["MP/s"] =
        benchmark::Counter(megapixels, benchmark::Counter::kIsIterationInvariantRate);
}

// Our loader on file for every iteration, delivering in format.
void DecodeOurs(benchmark::State& state, ClassVLoaderBase& loader, const std::vector<uint8_t>& file,
                uint8_t format, double megapixels) {
    BufferSurface surface;
    for (auto _ : state) {
        if (loader.DecodeImage(&surface, file.data(), uint32_t(file.size()), format, 0) != 0) {
            state.SkipWithError("decode failed");
        }
        benchmark::DoNotOptimize(surface.Pixels());
    }
    SetPixelCounter(state, megapixels);
}

void DecodeLibpng(benchmark::State& state, const std::vector<uint8_t>& file, double megapixels) {
    std::vector<uint8_t> rgba;
    for (auto _ : state) {
        if (!LibpngDecode(file, rgba)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(rgba.data());
    }
    SetPixelCounter(state, megapixels);
}

void BM_PngOurs(benchmark::State& state) {
    VLoader_PNG loader;
    DecodeOurs(state, loader, Png(state.range(0) != 0), 6, MEGAPIXELS);
}

void BM_PngLibpng(benchmark::State& state) {
    DecodeLibpng(state, Png(state.range(0) != 0), MEGAPIXELS);
}

void BM_AssetOurs(benchmark::State& state) {
    VLoader_PNG loader;
    DecodeOurs(state, loader, Asset(state.range(0)), 6, AssetMegapixels(state.range(0)));
}

void BM_AssetLibpng(benchmark::State& state) {
    DecodeLibpng(state, Asset(state.range(0)), AssetMegapixels(state.range(0)));
}

void BM_GifOurs(benchmark::State& state) {
    VLoader_GIF loader;
    DecodeOurs(state, loader, Gif(state.range(0) != 0), 1, MEGAPIXELS);
}

void BM_GifGiflib(benchmark::State& state) {
    const std::vector<uint8_t>& file = Gif(state.range(0) != 0);
    for (auto _ : state) {
        if (!GiflibDecode(file)) state.SkipWithError("decode failed");
    }
    SetPixelCounter(state, MEGAPIXELS);
}

void BM_JpegOurs(benchmark::State& state) {
    VLoader_JPG loader;
    DecodeOurs(state, loader, Jpeg(state.range(0) != 0), 6, MEGAPIXELS);
}

void BM_JpegLibjpeg(benchmark::State& state) {
    const std::vector<uint8_t>& file = Jpeg(state.range(0) != 0);
    std::vector<uint8_t> rgba;
    for (auto _ : state) {
        if (!LibjpegDecode(file, rgba)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(rgba.data());
    }
    SetPixelCounter(state, MEGAPIXELS);
}

BENCHMARK(BM_PngOurs)->ArgName("interlaced")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngLibpng)->ArgName("interlaced")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AssetOurs)->ArgName("picture")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AssetLibpng)->ArgName("picture")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifOurs)->ArgName("interlaced")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifGiflib)->ArgName("interlaced")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegOurs)->ArgName("progressive")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegLibjpeg)->ArgName("progressive")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The console report, and the time per iteration of every run kept for the table.
class TableReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0 && !run.error_occurred) {
                m_ms[run.benchmark_name()] = run.GetAdjustedCPUTime();  // every run is in ms
            }
        }
    }

    void PrintTable() const {
        std::printf("\n%-40s %12s %12s %8s\n", "image", "ours ms/MP", "peer ms/MP", "ratio");
        struct Row {
            const char* label;
            const char* ours;
            const char* peer;
            double megapixels;
        };
        const Row rows[] = {
            {"PNG RGBA 1024 x 1024", "BM_PngOurs/interlaced:0", "BM_PngLibpng/interlaced:0",
             MEGAPIXELS},
            {"PNG RGBA 1024 x 1024, Adam7", "BM_PngOurs/interlaced:1", "BM_PngLibpng/interlaced:1",
             MEGAPIXELS},
            {"logo.png RGBA 203 x 140, Adam7", "BM_AssetOurs/picture:0", "BM_AssetLibpng/picture:0",
             AssetMegapixels(0)},
            {"advert.png RGB 300 x 440, Adam7", "BM_AssetOurs/picture:1",
             "BM_AssetLibpng/picture:1", AssetMegapixels(1)},
            {"GIF 256 colours 1024 x 1024", "BM_GifOurs/interlaced:0", "BM_GifGiflib/interlaced:0",
             MEGAPIXELS},
            {"GIF 256 colours 1024 x 1024, interlaced", "BM_GifOurs/interlaced:1",
             "BM_GifGiflib/interlaced:1", MEGAPIXELS},
            {"JPEG 4:2:0 1024 x 1024, baseline", "BM_JpegOurs/progressive:0",
             "BM_JpegLibjpeg/progressive:0", MEGAPIXELS},
            {"JPEG 4:2:0 1024 x 1024, progressive", "BM_JpegOurs/progressive:1",
             "BM_JpegLibjpeg/progressive:1", MEGAPIXELS},
        };
        for (const Row& row : rows) {
            const auto ours = m_ms.find(row.ours), peer = m_ms.find(row.peer);
            if (ours == m_ms.end() || peer == m_ms.end()) continue;
            std::printf("%-40s %12.3f %12.3f %8.3f\n", row.label, ours->second / row.megapixels,
                        peer->second / row.megapixels, ours->second / peer->second);
        }
    }

  private:
    std::map<std::string, double> m_ms;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintTable();
    benchmark::Shutdown();
    return 0;
}
