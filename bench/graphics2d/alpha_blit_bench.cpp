// Alpha blits of the 203 × 140 studio logo onto a 240 × 320 back buffer in 565, 888 and X888, from
// RGBA surfaces in normal and premultiplied storage, against pixman's OVER of the same
// premultiplied picture onto the same destination formats; and the logo at half opacity onto
// X888 against OVER through a solid half-opaque mask.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdio>
#include <vector>

#include "graphics2d/surface.h"
#include "graphics2d/surface_rgba.h"
#include "graphics2d/surface_services.h"

namespace {

constexpr int kScreenWidth = 240, kScreenHeight = 320;
constexpr int kLogoX = 16, kLogoY = 65;  // where the demo draws its logo

struct Picture {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> rgba;  // R, G, B, A per pixel
};

const Picture& Logo() {
    static const Picture picture = [] {
        Picture p;
        FILE* f = std::fopen(VANE_LOGO_RGBA, "rb");
        if (f == nullptr) return p;
        uint32_t size[2];
        if (std::fread(size, 4, 2, f) == 2) {
            p.rgba.resize(size_t(size[0]) * size[1] * 4);
            if (std::fread(p.rgba.data(), 1, p.rgba.size(), f) == p.rgba.size()) {
                p.width = size[0];
                p.height = size[1];
            }
        }
        std::fclose(f);
        return p;
    }();
    return picture;
}

// Our blit: the logo loaded into an RGBA surface of the screen's format through the loader
// interface, drawn onto a screen-sized surface.
void BlitLogo(benchmark::State& state, uint8_t format, uint32_t storage, uint32_t flags = 0,
              uint32_t property = 0) {
    const Picture& logo = Logo();
    if (logo.width == 0) {
        state.SkipWithError("logo.rgba missing");
        return;
    }
    VSurfaceServices services(format);
    V2DSurfaceRGBA picture;
    picture.SetOwner(&services);
    VLoaderState st;
    st.width = logo.width;
    st.height = logo.height;
    st.defaultformat = format;
    st.flags = storage;
    std::vector<uint32_t> colours(logo.rgba.size() / 4);
    std::memcpy(colours.data(), logo.rgba.data(), logo.rgba.size());
    st.data = reinterpret_cast<const uint8_t*>(colours.data());
    st.length = uint32_t(logo.rgba.size());
    V2DSurface screen;
    screen.SetOwner(&services);
    if (picture.ImageInfo(st) != 0 || picture.ImagePixels(st) != 0 ||
        screen.Create(kScreenWidth, kScreenHeight, format, 0) != 0) {
        state.SkipWithError("surfaces not created");
        return;
    }
    picture.Unlock();
    screen.FillRect(nullptr, 0x806040);
    for (auto _ : state) {
        benchmark::DoNotOptimize(screen.Blit(kLogoX, kLogoY, &picture, nullptr, flags, property));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * logo.width * logo.height);
}

// pixman: OVER of the premultiplied a8r8g8b8 logo onto a screen-sized image, through a solid mask
// of the given opacity when it is below 255.
void PixmanOver(benchmark::State& state, pixman_format_code_t format, int bytes,
                uint32_t opacity = 255) {
    const Picture& logo = Logo();
    if (logo.width == 0) {
        state.SkipWithError("logo.rgba missing");
        return;
    }
    std::vector<uint32_t> premultiplied(size_t(logo.width) * logo.height);
    for (size_t i = 0; i < premultiplied.size(); ++i) {
        const uint8_t* p = &logo.rgba[i * 4];
        const uint32_t a = p[3];
        auto mul = [a](uint32_t c) { return (c * a + 127) / 255; };
        premultiplied[i] = a << 24 | mul(p[0]) << 16 | mul(p[1]) << 8 | mul(p[2]);
    }
    const int stride = kScreenWidth * bytes;
    std::vector<uint32_t> screenbits(size_t(stride) * kScreenHeight / 4, 0x40608060);
    pixman_image_t* src =
        pixman_image_create_bits(PIXMAN_a8r8g8b8, int(logo.width), int(logo.height),
                                 premultiplied.data(), int(logo.width) * 4);
    pixman_image_t* dst =
        pixman_image_create_bits(format, kScreenWidth, kScreenHeight, screenbits.data(), stride);
    pixman_image_t* mask = nullptr;
    if (opacity < 255) {
        const uint16_t level = uint16_t(opacity * 0x101);
        const pixman_color_t colour = {level, level, level, level};
        mask = pixman_image_create_solid_fill(&colour);
    }
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, src, mask, dst, 0, 0, 0, 0, kLogoX, kLogoY,
                                 int(logo.width), int(logo.height));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * logo.width * logo.height);
    if (mask != nullptr) pixman_image_unref(mask);
    pixman_image_unref(src);
    pixman_image_unref(dst);
}

void BM_Logo565Premultiplied(benchmark::State& s) {
    BlitLogo(s, VPIXELFORMAT_565, VRGBA_PREMULTIPLIED);
}
void BM_Logo565Normal(benchmark::State& s) {
    BlitLogo(s, VPIXELFORMAT_565, 0);
}
void BM_Pixman565Over(benchmark::State& s) {
    PixmanOver(s, PIXMAN_r5g6b5, 2);
}
void BM_Logo888Premultiplied(benchmark::State& s) {
    BlitLogo(s, VPIXELFORMAT_888, VRGBA_PREMULTIPLIED);
}
void BM_Logo888Normal(benchmark::State& s) {
    BlitLogo(s, VPIXELFORMAT_888, 0);
}
void BM_Pixman888Over(benchmark::State& s) {
    PixmanOver(s, PIXMAN_r8g8b8, 3);
}
void BM_LogoX888Premultiplied(benchmark::State& s) {
    BlitLogo(s, VPIXELFORMAT_X888, VRGBA_PREMULTIPLIED);
}
void BM_LogoX888Normal(benchmark::State& s) {
    BlitLogo(s, VPIXELFORMAT_X888, 0);
}
void BM_PixmanX888Over(benchmark::State& s) {
    PixmanOver(s, PIXMAN_x8r8g8b8, 4);
}
void BM_LogoX888NormalHalfOpacity(benchmark::State& s) {
    BlitLogo(s, VPIXELFORMAT_X888, 0, BLIT_OPACITY, 128);
}
void BM_PixmanX888OverHalfMask(benchmark::State& s) {
    PixmanOver(s, PIXMAN_x8r8g8b8, 4, 128);
}

}  // namespace

BENCHMARK(BM_Logo565Premultiplied);
BENCHMARK(BM_Logo565Normal);
BENCHMARK(BM_Pixman565Over);
BENCHMARK(BM_Logo888Premultiplied);
BENCHMARK(BM_Logo888Normal);
BENCHMARK(BM_Pixman888Over);
BENCHMARK(BM_LogoX888Premultiplied);
BENCHMARK(BM_LogoX888Normal);
BENCHMARK(BM_PixmanX888Over);
BENCHMARK(BM_LogoX888NormalHalfOpacity);
BENCHMARK(BM_PixmanX888OverHalfMask);

BENCHMARK_MAIN();
