// Our replayer against libopenmpt on the generated modules (one per effect family, and a
// small song). Add a module to kModules to have it checked the same way.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/hss/module_oracle.h"

namespace {

using namespace hsstest;

constexpr int kRate = 22050;
constexpr unsigned kWindow = kRate / 50;  // 20 ms

const char* const kModules[] = {
    "data/arpeggio.mod",      "data/portamento.mod",   "data/tone_portamento.mod",
    "data/vibrato.mod",       "data/tremolo.mod",      "data/volume.mod",
    "data/sample_offset.mod", "data/speed_tempo.mod",  "data/fine_effects.mod",
    "data/jump_break.mod",    "data/pattern_loop.mod", "data/retrigger_cut_delay.mod",
    "data/pattern_delay.mod", "data/song.mod",
};

class ModuleOracle : public testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        mod_ = ReadFile(GetParam());
        ASSERT_FALSE(mod_.empty()) << GetParam();
    }
    std::vector<uint8_t> mod_;
};

TEST_P(ModuleOracle, SongLengthInRowsAndSecondsMatches) {
    std::vector<RowStart> reference = ReferenceRows(mod_, kRate);
    std::vector<RowStart> ours = OurRows(mod_, kRate);
    EXPECT_EQ(ours.size(), reference.size()) << "rows";
    for (size_t i = 0; i < std::min(ours.size(), reference.size()); ++i) {
        ASSERT_EQ(ours[i], reference[i])
            << "row " << i << ": ours " << ours[i].order << ":" << ours[i].row << " @"
            << ours[i].frame << ", reference " << reference[i].order << ":" << reference[i].row
            << " @" << reference[i].frame;
    }
    // libopenmpt's own duration estimate counts fractions of frames that its rendering (and
    // ours) drops per tick: it is reported, the rendered lengths are compared.
    Rendering a = RenderOurs(mod_, kRate), b = RenderReference(mod_, kRate);
    EXPECT_EQ(a.Frames(), b.Frames());
    std::printf("%s: %zu rows, %.4f s (reference %zu rows, %.4f s rendered, %.4f s estimated)\n",
                GetParam(), ours.size(), double(a.Frames()) / kRate, reference.size(),
                double(b.Frames()) / kRate, ReferenceDurationSeconds(mod_));
}

TEST_P(ModuleOracle, NoteOnTimesPerChannelMatchToTheFrame) {
    for (int c = 0; c < 4; ++c) {
        std::vector<uint64_t> ours = NoteOns(RenderOurs(mod_, kRate, 1u << c));
        std::vector<uint64_t> reference = NoteOns(RenderReference(mod_, kRate, 1u << c));
        EXPECT_EQ(ours.size(), reference.size()) << "channel " << c;
        for (size_t i = 0; i < std::min(ours.size(), reference.size()); ++i)
            ASSERT_EQ(ours[i], reference[i]) << "channel " << c << ", note-on " << i;
        std::printf("%s: channel %d, %zu note-ons\n", GetParam(), c, ours.size());
    }
}

TEST_P(ModuleOracle, LoudnessEnvelopeCorrelates) {
    double r = Correlation(RmsEnvelope(RenderOurs(mod_, kRate), kWindow),
                           RmsEnvelope(RenderReference(mod_, kRate), kWindow));
    std::printf("%s: RMS envelope correlation %.4f\n", GetParam(), r);
    EXPECT_GT(r, 0.95);
}

INSTANTIATE_TEST_SUITE_P(Modules, ModuleOracle, testing::ValuesIn(kModules),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             name = name.substr(name.find('/') + 1);
                             name = name.substr(0, name.find('.'));
                             return name;
                         });

}  // namespace
