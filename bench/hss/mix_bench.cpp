// The cost of sound: one second of music plus three sounds, mixed at 22 050 Hz stereo the
// way the demo sets the library up. "core_percent" is the part of one core the mixing takes
// (CPU time per second of sound, in percent). HSS_BENCH_MODULE names another module to use.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <libopenmpt/libopenmpt.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "hss/hss.h"
#include "hss/mod_module.h"
#include "hss/mod_player.h"

namespace {

constexpr unsigned kRate = 22050;

std::vector<uint8_t> Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> ModuleBytes() {
    const char* chosen = std::getenv("HSS_BENCH_MODULE");
    return Read(chosen ? chosen : HSS_BENCH_DATA "/song.mod");
}

// Each iteration is one second of sound: the inverted rate of 1/100 per iteration is the
// CPU time per iteration in hundredths of a second, that is percent of a core.
void CorePercent(benchmark::State& state) {
    state.counters["core_percent"] = benchmark::Counter(
        0.01, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void MixOneSecondOfMusicAndThreeSounds(benchmark::State& state) {
    std::vector<uint8_t> mod = ModuleBytes();
    std::vector<uint8_t> w1 = Read(HSS_BENCH_DATA "/blip_8bit_mono_22050.wav");
    std::vector<uint8_t> w2 = Read(HSS_BENCH_DATA "/hit_16bit_mono_11025.wav");
    hssSpeaker speaker;
    hssMusic music;
    hssSound sounds[3];
    speaker.open(kRate, 16, true, HSS_RESAMPLE_LINEAR, HSS_OUTPUT_NULL);
    speaker.volumeSounds(64);
    speaker.volumeMusics(40);
    if (music.load(mod.data(), mod.size()) != HSS_OK) state.SkipWithError("module not loaded");
    sounds[0].load(w1.data(), w1.size());
    sounds[1].load(w2.data(), w2.size());
    sounds[2].load(w2.data(), w2.size());
    music.loop(true);
    speaker.playMusic(&music);
    std::vector<int16_t> out(2 * kRate);
    for (auto _ : state) {
        for (hssSound& s : sounds) speaker.playSound(&s);
        speaker.render(kRate, out.data());
        benchmark::DoNotOptimize(out.data());
    }
    CorePercent(state);
}
BENCHMARK(MixOneSecondOfMusicAndThreeSounds)->Unit(benchmark::kMicrosecond);

void ReplayerOneSecond(benchmark::State& state) {
    std::vector<uint8_t> mod = ModuleBytes();
    hss::ModModule* module = nullptr;
    if (hss::ParseModule(mod.data(), mod.size(), &module) != HSS_OK) {
        state.SkipWithError("module not loaded");
        return;
    }
    hss::ModPlayer player(module);
    player.SetRate(kRate);
    player.SetLoop(true);
    std::vector<int32_t> out(2 * kRate);
    for (auto _ : state) {
        player.Render(out.data(), kRate);
        benchmark::DoNotOptimize(out.data());
    }
    CorePercent(state);
    hss::FreeModule(module);
}
BENCHMARK(ReplayerOneSecond)->Unit(benchmark::kMicrosecond);

// The peer: libopenmpt rendering the same module, same rate, its default interpolation.
void LibopenmptOneSecond(benchmark::State& state) {
    std::vector<uint8_t> mod = ModuleBytes();
    std::ostringstream log;
    openmpt::module m(mod, log);
    m.set_repeat_count(-1);
    std::vector<int16_t> out(2 * kRate);
    for (auto _ : state) {
        m.read_interleaved_stereo(kRate, kRate, out.data());
        benchmark::DoNotOptimize(out.data());
    }
    CorePercent(state);
}
BENCHMARK(LibopenmptOneSecond)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
