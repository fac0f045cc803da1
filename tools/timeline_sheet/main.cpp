// timeline_sheet: a contact sheet of the demo's whole timeline from its headless run: one
// picture every 100 frames (2 seconds at 50 frames per second), half size, each labelled with
// its scene and the scene's frame, and the filled mosaic at full size below them.
//
//   timeline_sheet OUTPUT.png [LAST_FRAME]     (LAST_FRAME 4500 unless given)
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/app/demo_harness.h"
#include "tests/app/rgb_png.h"

namespace {

constexpr uint32_t kEvery = 100;
constexpr uint32_t kColumns = 8;
constexpr uint32_t kThumbW = 120, kThumbH = 160;
constexpr uint32_t kLabelH = 16;
constexpr uint32_t kGap = 4;

// Digits, 'S', 'F' and a blank in a 3 × 5 font.
const uint8_t* Glyph(char c) {
    static constexpr uint8_t kDigits[10][5] = {
        {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 3, 1, 7}, {5, 5, 7, 1, 1},
        {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
    };
    static constexpr uint8_t kS[5] = {7, 4, 7, 1, 7}, kF[5] = {7, 4, 6, 4, 4};
    if (c >= '0' && c <= '9') return kDigits[c - '0'];
    if (c == 'S') return kS;
    if (c == 'F') return kF;
    return nullptr;
}

class Sheet {
  public:
    Sheet(uint32_t w, uint32_t h) {
        picture_.width = w, picture_.height = h, picture_.rgb.assign(size_t(w) * h * 3, 24);
    }
    void Put(uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b) {
        if (x >= picture_.width || y >= picture_.height) return;
        uint8_t* p = &picture_.rgb[(size_t(y) * picture_.width + x) * 3];
        p[0] = r, p[1] = g, p[2] = b;
    }
    // The picture at (x, y), shrunk by `shrink` (each output pixel the mean of a square).
    void Paste(uint32_t x, uint32_t y, const RgbPicture& p, uint32_t shrink) {
        for (uint32_t oy = 0; oy < p.height / shrink; ++oy) {
            for (uint32_t ox = 0; ox < p.width / shrink; ++ox) {
                uint32_t sum[3] = {};
                for (uint32_t dy = 0; dy < shrink; ++dy) {
                    for (uint32_t dx = 0; dx < shrink; ++dx) {
                        const uint8_t* s =
                            &p.rgb[(size_t(oy * shrink + dy) * p.width + ox * shrink + dx) * 3];
                        for (int k = 0; k < 3; ++k) sum[k] += s[k];
                    }
                }
                const uint32_t n = shrink * shrink;
                Put(x + ox, y + oy, uint8_t(sum[0] / n), uint8_t(sum[1] / n), uint8_t(sum[2] / n));
            }
        }
    }
    void Text(uint32_t x, uint32_t y, const std::string& text) {
        constexpr uint32_t kScale = 2;
        for (char c : text) {
            if (const uint8_t* rows = Glyph(c)) {
                for (uint32_t row = 0; row < 5; ++row) {
                    for (uint32_t col = 0; col < 3; ++col) {
                        if (!(rows[row] >> (2 - col) & 1)) continue;
                        for (uint32_t d = 0; d < kScale * kScale; ++d) {
                            Put(x + col * kScale + d % kScale, y + row * kScale + d / kScale, 230,
                                230, 230);
                        }
                    }
                }
            }
            x += 4 * kScale;
        }
    }
    const RgbPicture& Picture() const { return picture_; }

  private:
    RgbPicture picture_;
};

// Scene and scene frame of run frame n.
std::string Label(uint32_t n) {
    if (n <= 800) return "S1 F" + std::to_string(n);
    if (n <= 3500) return "S2 F" + std::to_string(n - 800);
    return "S3 F" + std::to_string(n - 3500);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [LAST_FRAME]\n", argv[0]);
        return 2;
    }
    const uint32_t last = argc > 2 ? uint32_t(std::strtoul(argv[2], nullptr, 10)) : 4500;
    DemoRunOptions options;
    options.frames = last + 1;
    options.mosaicAtEnd = true;
    for (uint32_t n = 0; n <= last; n += kEvery) options.shots.push_back(n);
    DemoRun run(options);
    if (run.Run() != 0) {
        std::fprintf(stderr, "the demo did not end normally\n");
        return 1;
    }
    const uint32_t count = uint32_t(options.shots.size());
    const uint32_t rows = (count + kColumns - 1) / kColumns;
    const uint32_t cellW = kThumbW + kGap, cellH = kThumbH + kLabelH + kGap;
    const RgbPicture& mosaic = run.MosaicPicture();
    Sheet sheet(kColumns * cellW + kGap, rows * cellH + kGap + kLabelH + mosaic.height + kGap);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t n = options.shots[i];
        const uint32_t x = kGap + (i % kColumns) * cellW, y = kGap + (i / kColumns) * cellH;
        sheet.Text(x, y + 2, Label(n));
        sheet.Paste(x, y + kLabelH, run.Shots().at(n), 2);
    }
    const uint32_t mosaicY = kGap + rows * cellH;
    sheet.Text(kGap, mosaicY + 2, "S3 F" + std::to_string(last - 3500));
    sheet.Paste(kGap, mosaicY + kLabelH, mosaic, 1);
    if (!WriteRgbPng(argv[1], sheet.Picture())) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %u frames and the mosaic\n", argv[1], count);
    return 0;
}
