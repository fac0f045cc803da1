// Every fast loop of the blitter table against the general per-pixel rule: same random inputs,
// identical bytes, nothing written outside the rectangle.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graphics2d/blit_loops.h"
#include "graphics2d/blitter_table.h"

namespace {

constexpr uint32_t kOpacities[] = {0, 7, 8, 12, 16, 32, 64, 128, 192, 224, 240, 255, 256};
constexpr uint32_t kWidths[] = {1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 33, 64, 67};

// A pixel of the format: unused bits zero, except the top byte of X888, which pixels written
// through Lock may fill and which every loop must treat as the rule does.
template <class T>
uint32_t RandomPixel(std::mt19937& rng) {
    if constexpr (T::kIndexed) {
        return rng() & 0xFF;
    } else if constexpr (T::kBytes == 4) {
        return rng();
    } else {
        return rng() & (T::kRed.Mask() | T::kGreen.Mask() | T::kBlue.Mask());
    }
}

// Rows of pixels with a margin on every side, filled from a small set of values so that colour
// keys hit often.
template <class T>
struct Image {
    Image(uint32_t w, uint32_t h, uint32_t offset, const std::vector<uint32_t>& values,
          std::mt19937& rng)
        : rowbytes((w + offset + 5) * T::kBytes), bytes(rowbytes * (h + 2)) {
        for (size_t i = 0; i + T::kBytes <= bytes.size(); i += T::kBytes)
            T::Store(&bytes[i], values[rng() % values.size()]);
        start = rowbytes + offset * T::kBytes;
    }
    uint8_t* At() { return bytes.data() + start; }
    size_t rowbytes;
    std::vector<uint8_t> bytes;
    size_t start;
};

// Runs candidate and the reference rule on the same random rows for effect f and one opacity
// over every width; returns false when the candidate declined.
template <class T, class Candidate>
bool CompareWithRule(uint32_t f, uint32_t opacity, std::mt19937& rng, Candidate candidate) {
    for (uint32_t w : kWidths) {
        const uint32_t h = 1 + rng() % 3;
        const uint32_t srcoffset = rng() % 4, dstoffset = rng() % 4;
        std::vector<uint32_t> values;
        for (int i = 0; i < 5; ++i) values.push_back(RandomPixel<T>(rng));
        std::vector<uint32_t> many;
        for (int i = 0; i < 64; ++i) many.push_back(RandomPixel<T>(rng));
        Image<T> src(w, h, srcoffset, values, rng);
        Image<T> fast(w, h, dstoffset, many, rng);
        Image<T> rule = fast;
        VBlitParams p;
        p.key = values[rng() % values.size()];
        p.opacity = opacity;
        p.colour = PixelToColorOf<T>(RandomPixel<T>(rng));
        p.pixel = EffectPixelOf<T>(p.colour, f);
        ShiftEffectFor(opacity, &p.shift);
        if (!candidate(w, h, fast.At(), src.At(), int32_t(fast.rowbytes), int32_t(src.rowbytes), p))
            return false;
        BlitRuleAtRunTime<T>(w, h, rule.At(), src.At(), int32_t(rule.rowbytes),
                             int32_t(src.rowbytes), f, p);
        EXPECT_EQ(fast.bytes, rule.bytes)
            << "format " << int(T::kCode) << " flags " << f << " opacity " << opacity << " width "
            << w << " offsets " << srcoffset << "," << dstoffset;
        if (fast.bytes != rule.bytes) return true;
    }
    return true;
}

// The opacities an effect can meet after normalisation: quantised to the format, and for the
// blending effects neither 0 nor fully opaque.
template <class T>
std::vector<uint32_t> OpacitiesFor(uint32_t f) {
    std::vector<uint32_t> out;
    for (uint32_t opacity : kOpacities) {
        const uint32_t quantised = opacity - opacity % OpacityStepOf(T::kCode);
        const bool blends = f & (BLIT_OPACITY | BLIT_SHIFT_SOURCE | BLIT_SHIFT_DEST);
        if (blends && (quantised == 0 || quantised >= 255)) continue;
        out.push_back(quantised);
    }
    return out;
}

// Every fast loop of the table for format T.
template <class T>
void CheckTable() {
    VBlitterTable table;
    InstallBlitterTable(&table, T::kCode);
    std::mt19937 rng(T::kCode * 7919u);
    int compared = 0;
    for (uint32_t f = 0; f < 256; ++f) {
        const VBlitLoop loop = table.effect[f];
        if (loop == nullptr) continue;
        for (uint32_t opacity : OpacitiesFor<T>(f)) {
            uint32_t shift = 0;
            const uint32_t kind = ShiftEffectFor(opacity, &shift);
            const bool accepted =
                CompareWithRule<T>(f, opacity, rng,
                                   [&](uint32_t w, uint32_t h, uint8_t* d, const uint8_t* s,
                                       int32_t dr, int32_t sr, const VBlitParams& p) {
                                       return loop(w, h, d, s, dr, sr, p.key, p.pixel, p.opacity);
                                   });
            // A shift loop takes only its own opacities and declines the others.
            if (f & (BLIT_SHIFT_SOURCE | BLIT_SHIFT_DEST))
                EXPECT_EQ(accepted, (kind & f) != 0) << f << " " << opacity;
            else
                EXPECT_TRUE(accepted) << f;
            ++compared;
        }
    }
    EXPECT_GT(compared, 50);
}

// The general loop, compiled per effect, for all 64 combinations of bits 0-5.
template <class T>
void CheckGeneral() {
    std::mt19937 rng(T::kCode * 104729u);
    for (uint32_t f = 0; f < 64; ++f) {
        for (uint32_t opacity : OpacitiesFor<T>(f)) {
            CompareWithRule<T>(f, opacity, rng,
                               [&](uint32_t w, uint32_t h, uint8_t* d, const uint8_t* s, int32_t dr,
                                   int32_t sr, const VBlitParams& p) {
                                   BlitGeneral<T>(w, h, d, s, dr, sr, f, p);
                                   return true;
                               });
        }
    }
}

template <class T>
void CheckSteppedCopies() {
    VBlitterTable table;
    InstallBlitterTable(&table, T::kCode);
    std::mt19937 rng(T::kCode);
    // The stepped copies against a direct walk, with negative steps (a quarter turn).
    for (bool keyed : {false, true}) {
        const uint32_t w = 7, h = 5;
        std::vector<uint32_t> values;
        for (int i = 0; i < 3; ++i) values.push_back(RandomPixel<T>(rng));
        Image<T> src(h, w, 1, values, rng);  // w rows of h pixels
        Image<T> fast(w, h, 3, values, rng);
        Image<T> rule = fast;
        const uint32_t key = values[0];
        // Destination (i, j) reads source column j, row w - 1 - i.
        const uint8_t* origin = src.At() + (w - 1) * src.rowbytes;
        ASSERT_TRUE(table.stepped[keyed](w, h, fast.At(), int32_t(fast.rowbytes), origin,
                                         -int32_t(src.rowbytes), T::kBytes, key));
        for (uint32_t j = 0; j < h; ++j)
            for (uint32_t i = 0; i < w; ++i) {
                const uint32_t v = T::Load(src.At() + (w - 1 - i) * src.rowbytes + j * T::kBytes);
                if (!keyed || v != key) T::Store(rule.At() + j * rule.rowbytes + i * T::kBytes, v);
            }
        EXPECT_EQ(fast.bytes, rule.bytes) << "stepped copy, keyed " << keyed;
    }
}

// The fill loops with fixed effects against the same rule with effects known at run time.
template <class T, uint32_t F>
void CheckFill(std::mt19937& rng) {
    for (uint32_t opacity : kOpacities) {
        if (opacity == 0 || opacity >= 255) continue;
        for (uint32_t w : kWidths) {
            std::vector<uint32_t> many;
            for (int i = 0; i < 64; ++i) many.push_back(RandomPixel<T>(rng));
            Image<T> fast(w, 2, rng() % 4, many, rng);
            Image<T> rule = fast;
            VFillParams p;
            p.opacity = opacity;
            const uint32_t kind = ShiftEffectFor(opacity, &p.shift);
            if ((F & (BLIT_SHIFT_SOURCE | BLIT_SHIFT_DEST)) && !(kind & F)) continue;
            p.pixel =
                ColorToPixelOf<T>(ScaleChannels(PixelToColorOf<T>(RandomPixel<T>(rng)),
                                                (F & (BLIT_ADD | BLIT_SUBTRACT)) ? 256 : opacity));
            FillRows<T>(w, 2, fast.At(), int32_t(fast.rowbytes), VFixedEffect<F>{}, p);
            FillRows<T>(w, 2, rule.At(), int32_t(rule.rowbytes), VDynamicEffect{F}, p);
            ASSERT_EQ(fast.bytes, rule.bytes)
                << "fill format " << int(T::kCode) << " flags " << F << " opacity " << opacity;
        }
    }
}

template <class T>
void CheckFills() {
    std::mt19937 rng(T::kCode);
    CheckFill<T, BLIT_OPACITY>(rng);
    CheckFill<T, BLIT_SHIFT_SOURCE>(rng);
    CheckFill<T, BLIT_SHIFT_DEST>(rng);
    CheckFill<T, BLIT_ADD>(rng);
    CheckFill<T, BLIT_SUBTRACT>(rng);
}

}  // namespace

TEST(FastPath, Format8TableMatchesTheRule) {
    CheckTable<VFormat8>();
    CheckSteppedCopies<VFormat8>();
}
TEST(FastPath, Format444TableMatchesTheRule) {
    CheckTable<VFormat444>();
    CheckSteppedCopies<VFormat444>();
}
TEST(FastPath, Format565TableMatchesTheRule) {
    CheckTable<VFormat565>();
    CheckSteppedCopies<VFormat565>();
}
TEST(FastPath, FormatX888TableMatchesTheRule) {
    CheckTable<VFormatX888>();
    CheckSteppedCopies<VFormatX888>();
}
TEST(FastPath, GeneralLoopsMatchTheRuleInEveryFormat) {
    CheckGeneral<VFormat8>();
    CheckGeneral<VFormat444>();
    CheckGeneral<VFormat555>();
    CheckGeneral<VFormat565>();
    CheckGeneral<VFormat888>();
    CheckGeneral<VFormatX888>();
}
TEST(FastPath, NoTableForFormats3And5) {
    for (uint8_t format : {VPIXELFORMAT_555, VPIXELFORMAT_888}) {
        VBlitterTable table;
        InstallBlitterTable(&table, format);
        for (VBlitLoop loop : table.effect) EXPECT_EQ(loop, nullptr);
        EXPECT_EQ(table.stepped[0], nullptr);
    }
}
TEST(FastPath, FillLoopsMatchTheRule) {
    CheckFills<VFormat8>();
    CheckFills<VFormat444>();
    CheckFills<VFormat555>();
    CheckFills<VFormat565>();
    CheckFills<VFormat888>();
    CheckFills<VFormatX888>();
}
