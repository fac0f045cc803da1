// Our replayer against libopenmpt on the generated modules (one per effect family, and a
// small song). Add a module to kModules to have it checked the same way: a module made
// elsewhere (whose samples do not carry the note-on marker) is listed with marked = false,
// and its note-on times are then compared on a copy whose samples are replaced by marked ones.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/hss/module_oracle.h"

namespace {

using namespace hsstest;

constexpr int kRate = 22050;
constexpr unsigned kWindow = kRate / 50;  // 20 ms

struct ModuleCase {
    const char* path;  // from this folder
    bool marked;       // its samples start with the note-on marker (the generated ones do)
};

const ModuleCase kModules[] = {
    {"data/arpeggio.mod", true},        {"data/portamento.mod", true},
    {"data/tone_portamento.mod", true}, {"data/vibrato.mod", true},
    {"data/tremolo.mod", true},         {"data/volume.mod", true},
    {"data/sample_offset.mod", true},   {"data/speed_tempo.mod", true},
    {"data/fine_effects.mod", true},    {"data/jump_break.mod", true},
    {"data/pattern_loop.mod", true},    {"data/retrigger_cut_delay.mod", true},
    {"data/pattern_delay.mod", true},   {"data/song.mod", false},
    {"../../assets/music.mod", false},
};

class ModuleOracle : public testing::TestWithParam<ModuleCase> {
  protected:
    void SetUp() override {
        name_ = GetParam().path;
        mod_ = ReadFile(name_);
        ASSERT_FALSE(mod_.empty()) << name_;
    }
    const char* name_ = nullptr;
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
                name_, ours.size(), double(a.Frames()) / kRate, reference.size(),
                double(b.Frames()) / kRate, ReferenceDurationSeconds(mod_));
}

TEST_P(ModuleOracle, NoteOnTimesPerChannelMatchToTheFrame) {
    const std::vector<uint8_t> mod = GetParam().marked ? mod_ : WithMarkedSamples(mod_);
    for (int c = 0; c < 4; ++c) {
        std::vector<uint64_t> ours = NoteOns(RenderOurs(mod, kRate, 1u << c));
        std::vector<uint64_t> reference = NoteOns(RenderReference(mod, kRate, 1u << c));
        EXPECT_EQ(ours.size(), reference.size()) << "channel " << c;
        for (size_t i = 0; i < std::min(ours.size(), reference.size()); ++i)
            ASSERT_EQ(ours[i], reference[i]) << "channel " << c << ", note-on " << i;
        std::printf("%s: channel %d, %zu note-ons\n", name_, c, ours.size());
    }
}

TEST_P(ModuleOracle, LoudnessEnvelopeCorrelates) {
    double r = Correlation(RmsEnvelope(RenderOurs(mod_, kRate), kWindow),
                           RmsEnvelope(RenderReference(mod_, kRate), kWindow));
    std::printf("%s: RMS envelope correlation %.4f\n", name_, r);
    EXPECT_GT(r, 0.95);
}

INSTANTIATE_TEST_SUITE_P(Modules, ModuleOracle, testing::ValuesIn(kModules),
                         [](const testing::TestParamInfo<ModuleCase>& info) {
                             std::string name = info.param.path;
                             name = name.substr(name.rfind('/') + 1);
                             name = name.substr(0, name.find('.'));
                             return name;
                         });

}  // namespace
