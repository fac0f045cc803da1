// Blit and fill throughput of our loops beside pixman's on the same sizes and formats.
// After the usual benchmark output a table gives our throughput and the ratio ours / pixman
// (above 1: we are faster).
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "graphics2d/surface.h"
#include "graphics2d/surface_services.h"

namespace {

constexpr int kScreenW = 240, kScreenH = 320;
constexpr int kSpriteSize = 64;
constexpr int kSpriteX = 37, kSpriteY = 53;  // deliberately unaligned
constexpr uint32_t kOpacity = 100;           // not a shift opacity: the multiplying blend

enum class Op {
    kFill,
    kCopy,
    kKeyCopy,
    kBlend,
    kAdd,
    // The demo's other effects, which pixman has no counterpart for.
    kFade,
    kKeyOpacityAdd,
    kOpacitySubtract,
    kKeyTint,
};
const char* OpName(Op op) {
    switch (op) {
        case Op::kFill:
            return "solid fill";
        case Op::kCopy:
            return "plain copy";
        case Op::kKeyCopy:
            return "colour-key copy";
        case Op::kBlend:
            return "opacity blend";
        case Op::kAdd:
            return "additive blit";
        case Op::kFade:
            return "opacity fill";
        case Op::kKeyOpacityAdd:
            return "key+opacity+add";
        case Op::kOpacitySubtract:
            return "opacity+subtract";
        case Op::kKeyTint:
            return "key+tint";
    }
    return "";
}

struct Shape {
    const char* name;
    int w, h, x, y;
};
const Shape kShapes[] = {{"240x320", kScreenW, kScreenH, 0, 0},
                         {"64x64", kSpriteSize, kSpriteSize, kSpriteX, kSpriteY}};

// Random source pixels, a quarter of them equal to the colour key 0.
std::vector<uint32_t> RandomColours(int n) {
    std::mt19937 rng(42);
    std::vector<uint32_t> c(static_cast<size_t>(n));
    for (auto& v : c) v = (rng() % 4 == 0) ? 0 : (rng() & 0xFFFFFF) | 0x010101;
    return c;
}

void Ours(benchmark::State& state, Op op, uint8_t format, Shape shape) {
    VSurfaceServices services(format);
    V2DSurface dst, src;
    dst.SetOwner(&services);
    src.SetOwner(&services);
    dst.Create(kScreenW, kScreenH, format, 0);
    src.Create(uint32_t(shape.w), uint32_t(shape.h), format, 0);
    const std::vector<uint32_t> colours = RandomColours(shape.w * shape.h);
    for (int y = 0; y < shape.h; ++y)
        for (int x = 0; x < shape.w; ++x) src.PutPixel(x, y, colours[size_t(y * shape.w + x)]);
    dst.FillRect(nullptr, 0x406080);
    src.SetColorKey(0);
    const VRect r{shape.x, shape.y, shape.x + shape.w, shape.y + shape.h};
    for (auto _ : state) {
        switch (op) {
            case Op::kFill:
                dst.FillRect(&r, 0x336699);
                break;
            case Op::kCopy:
                dst.Blit(shape.x, shape.y, &src, nullptr, 0, 0);
                break;
            case Op::kKeyCopy:
                dst.Blit(shape.x, shape.y, &src, nullptr, BLIT_KEY, 0);
                break;
            case Op::kBlend:
                dst.Blit(shape.x, shape.y, &src, nullptr, BLIT_OPACITY, kOpacity);
                break;
            case Op::kAdd:
                dst.Blit(shape.x, shape.y, &src, nullptr, BLIT_ADD, 0);
                break;
            case Op::kFade:
                dst.FillRect(&r, 0, BLIT_OPACITY, kOpacity);
                break;
            case Op::kKeyOpacityAdd:
                dst.Blit(shape.x, shape.y, &src, nullptr, BLIT_KEY | BLIT_OPACITY | BLIT_ADD,
                         kOpacity);
                break;
            case Op::kOpacitySubtract:
                dst.Blit(shape.x, shape.y, &src, nullptr, BLIT_OPACITY | BLIT_SUBTRACT, kOpacity);
                break;
            case Op::kKeyTint:
                dst.Blit(shape.x, shape.y, &src, nullptr, BLIT_KEY | BLIT_TINT, 0xFFFFFF);
                break;
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * shape.w * shape.h);
}

// pixman's nearest operations: SRC with a solid source (fill), SRC (copy), OVER of a source
// whose alpha is 0 or 255 (the colour key), OVER with a solid mask (opacity) and ADD.
void Pixman(benchmark::State& state, Op op, uint8_t format, Shape shape) {
    const pixman_format_code_t code = format == VPIXELFORMAT_565 ? PIXMAN_r5g6b5 : PIXMAN_x8r8g8b8;
    const int bpp = format == VPIXELFORMAT_565 ? 2 : 4;
    auto stride = [&](int w, int bytes) { return ((w * bytes + 15) / 16) * 16; };
    std::vector<uint32_t> dstbits(size_t(stride(kScreenW, bpp) * kScreenH / 4));
    std::vector<uint32_t> srcbits(size_t(stride(shape.w, 4) * shape.h / 4));
    pixman_image_t* dst =
        pixman_image_create_bits(code, kScreenW, kScreenH, dstbits.data(), stride(kScreenW, bpp));
    const pixman_format_code_t srccode = op == Op::kKeyCopy ? PIXMAN_a8r8g8b8 : code;
    const int srcbpp = op == Op::kKeyCopy ? 4 : bpp;
    pixman_image_t* src = pixman_image_create_bits(srccode, shape.w, shape.h, srcbits.data(),
                                                   stride(shape.w, srcbpp));
    const std::vector<uint32_t> colours = RandomColours(shape.w * shape.h);
    auto* bytes = reinterpret_cast<uint8_t*>(srcbits.data());
    for (int y = 0; y < shape.h; ++y) {
        for (int x = 0; x < shape.w; ++x) {
            const uint32_t c = colours[size_t(y * shape.w + x)];
            const uint32_t rgb = (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
            uint8_t* p = bytes + y * stride(shape.w, srcbpp) + x * srcbpp;
            if (srcbpp == 2) {
                const uint16_t v =
                    uint16_t((rgb >> 8 & 0xF800) | (rgb >> 5 & 0x7E0) | (rgb >> 3 & 0x1F));
                std::memcpy(p, &v, 2);
            } else {
                const uint32_t v = op == Op::kKeyCopy ? (c == 0 ? 0 : 0xFF000000 | rgb) : rgb;
                std::memcpy(p, &v, 4);
            }
        }
    }
    const pixman_color_t fillcolour{0x9999, 0x6666, 0x3333, 0xFFFF};
    pixman_image_t* solid = pixman_image_create_solid_fill(&fillcolour);
    const pixman_color_t maskcolour{0, 0, 0, uint16_t(kOpacity * 0x101)};
    pixman_image_t* mask = pixman_image_create_solid_fill(&maskcolour);
    for (auto _ : state) {
        switch (op) {
            case Op::kFill:
                pixman_image_composite32(PIXMAN_OP_SRC, solid, nullptr, dst, 0, 0, 0, 0, shape.x,
                                         shape.y, shape.w, shape.h);
                break;
            case Op::kCopy:
                pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, dst, 0, 0, 0, 0, shape.x,
                                         shape.y, shape.w, shape.h);
                break;
            case Op::kKeyCopy:
                pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst, 0, 0, 0, 0, shape.x,
                                         shape.y, shape.w, shape.h);
                break;
            case Op::kBlend:
                pixman_image_composite32(PIXMAN_OP_OVER, src, mask, dst, 0, 0, 0, 0, shape.x,
                                         shape.y, shape.w, shape.h);
                break;
            case Op::kAdd:
                pixman_image_composite32(PIXMAN_OP_ADD, src, nullptr, dst, 0, 0, 0, 0, shape.x,
                                         shape.y, shape.w, shape.h);
                break;
            default:
                state.SkipWithError("no pixman counterpart");
                return;
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * shape.w * shape.h);
    pixman_image_unref(mask);
    pixman_image_unref(solid);
    pixman_image_unref(src);
    pixman_image_unref(dst);
}

std::string Key(Op op, uint8_t format, const Shape& shape) {
    return std::string(OpName(op)) + "/" + (format == VPIXELFORMAT_565 ? "565" : "X888") + "/" +
           shape.name;
}

// Keeps the processor time per iteration of every run for the summary table (processor time,
// so that other work on a shared machine does not count against either side).
class TableReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (!r.error_occurred && r.run_type == Run::RT_Iteration)
                nanoseconds[r.benchmark_name()] = r.GetAdjustedCPUTime();
    }
    std::map<std::string, double> nanoseconds;
};

}  // namespace

int main(int argc, char** argv) {
    const Op ops[] = {Op::kFill, Op::kCopy, Op::kKeyCopy, Op::kBlend, Op::kAdd};
    const Op demoops[] = {Op::kFade, Op::kKeyOpacityAdd, Op::kOpacitySubtract, Op::kKeyTint};
    const uint8_t formats[] = {VPIXELFORMAT_565, VPIXELFORMAT_X888};
    for (Op op : ops)
        for (uint8_t format : formats)
            for (const Shape& shape : kShapes) {
                const std::string key = Key(op, format, shape);
                benchmark::RegisterBenchmark((key + "/ours").c_str(), Ours, op, format, shape)
                    ->Unit(benchmark::kNanosecond);
                benchmark::RegisterBenchmark((key + "/pixman").c_str(), Pixman, op, format, shape)
                    ->Unit(benchmark::kNanosecond);
            }
    for (Op op : demoops)
        for (const Shape& shape : kShapes)
            benchmark::RegisterBenchmark((Key(op, VPIXELFORMAT_565, shape) + "/ours").c_str(), Ours,
                                         op, VPIXELFORMAT_565, shape)
                ->Unit(benchmark::kNanosecond);
    benchmark::Initialize(&argc, argv);
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n%-16s %-6s %-8s %14s %14s %8s\n", "operation", "format", "size", "ours Mpix/s",
                "pixman Mpix/s", "ratio");
    for (Op op : ops)
        for (uint8_t format : formats)
            for (const Shape& shape : kShapes) {
                const std::string key = Key(op, format, shape);
                auto ours = reporter.nanoseconds.find(key + "/ours");
                auto theirs = reporter.nanoseconds.find(key + "/pixman");
                if (ours == reporter.nanoseconds.end() || theirs == reporter.nanoseconds.end())
                    continue;
                const double pixels = double(shape.w) * shape.h;
                std::printf("%-16s %-6s %-8s %14.0f %14.0f %8.2f\n", OpName(op),
                            format == VPIXELFORMAT_565 ? "565" : "X888", shape.name,
                            pixels / ours->second * 1000.0, pixels / theirs->second * 1000.0,
                            theirs->second / ours->second);
            }
    std::printf("\n%-16s %-6s %-8s %14s\n", "demo effect", "format", "size", "ours Mpix/s");
    for (Op op : demoops)
        for (const Shape& shape : kShapes) {
            auto ours = reporter.nanoseconds.find(Key(op, VPIXELFORMAT_565, shape) + "/ours");
            if (ours == reporter.nanoseconds.end()) continue;
            std::printf("%-16s %-6s %-8s %14.0f\n", OpName(op), "565", shape.name,
                        double(shape.w) * shape.h / ours->second * 1000.0);
        }
    return 0;
}
