// The sounds of the timeline: every effect at the frame the scenes give it, worked out by hand
// from the timeline (frame n of the run: scene 1 f = n, scene 2 f = n − 800, scene 3
// f = n − 3500), and the demo's set-up calls with their arguments.
#include <gtest/gtest.h>

#include <vector>

#include "tests/app/demo_harness.h"

namespace {

constexpr uint32_t kScene2 = 800;
constexpr uint32_t kScene3 = 3500;

// One run through both scenes and the first cell change of scene 3, shared by the cases.
const DemoRun& LongRun() {
    static DemoRun* run = [] {
        DemoRunOptions options;
        options.frames = kScene3 + 1100;
        auto* r = new DemoRun(options);
        r->Run();
        return r;
    }();
    return *run;
}

std::vector<int64_t> InScene2(std::vector<int64_t> frames) {
    for (int64_t& f : frames) f += kScene2;
    return frames;
}

std::vector<int64_t> Join(std::vector<int64_t> a, const std::vector<int64_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(TimelineSounds, EveryEffectAtItsFrame) {
    struct Case {
        const char* what;
        uint32_t sound;
        std::vector<int64_t> frames;
    };
    const Case cases[] = {
        // One frame before and after each piece starts, where the piece is drawn at all: the
        // captions at 200, 1000 and 1800 and the band at 2300 start with their block, so only
        // the frame after sounds; scene 2's first piece (start 0) never does.
        {"sound 1: scene 1 slogans, scene 2 pieces, scene 3 advert", 1,
         Join(Join({209, 211, 339, 341, 469, 471, 599, 601},
                   InScene2({201, 449, 451, 699, 701, 1001, 1249, 1251, 1499, 1501, 1801, 2049,
                             2051, 2301, 2379, 2381, 2459, 2461})),
              {kScene3 + 1, kScene3 + 1001})},
        // The last model is loaded at scene 2 f 1800; the cells change every 250 frames.
        {"sound 2: last model, cell changes",
         2,
         {kScene2 + 1800, kScene3 + 250, kScene3 + 500, kScene3 + 750, kScene3 + 1000}},
        // The second frame of every fade-in after frame 50; at f 200 of scene 1 the fade-in is
        // not drawn yet, so 201 and not 200.
        {"sound 3: fade-ins", 3, InScene2({-599, 201, 1001, 1801})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LongRun().SoundFrames(c.sound), c.frames);
    }
}

TEST(TimelineSounds, SetUpCallsCarryTheirArguments) {
    struct Expected {
        VDemoSoundCall call;
        std::vector<uint32_t> values;
    };
    const Expected expected[] = {
        {VDemoSoundCall::Open, {22050, 16, 1, 1, HSS_OUTPUT_NULL}},
        {VDemoSoundCall::VolumeSounds, {64}},
        {VDemoSoundCall::VolumeMusics, {40}},
        {VDemoSoundCall::LoadMusic, {117}},
        {VDemoSoundCall::LoadSound, {118, 1}},
        {VDemoSoundCall::LoadSound, {120, 2}},
        {VDemoSoundCall::LoadSound, {123, 3}},
        {VDemoSoundCall::LoopMusic, {1}},
        {VDemoSoundCall::PlayMusic, {0x10000000}},
    };
    const std::vector<HeardCall>& calls = LongRun().Calls();
    ASSERT_GE(calls.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(calls[i].frame, -1) << "made in OnInit, before the first frame";
        EXPECT_EQ(calls[i].event.call, expected[i].call);
        for (size_t k = 0; k < expected[i].values.size(); ++k) {
            EXPECT_EQ(calls[i].event.values[k], expected[i].values[k]);
        }
    }
    for (const HeardCall& c : calls) {
        if (c.event.call == VDemoSoundCall::PlaySound) {
            EXPECT_EQ(c.event.values[1], 0x10000000u);
        }
    }
    EXPECT_EQ(calls.back().event.call, VDemoSoundCall::Close) << "output stops at the end";
}

}  // namespace
