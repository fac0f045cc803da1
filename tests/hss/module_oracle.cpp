#include "tests/hss/module_oracle.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <libopenmpt/libopenmpt.hpp>
#include <libopenmpt/libopenmpt_ext.hpp>
#include <sstream>

#include "hss/mod_module.h"
#include "hss/mod_player.h"

namespace hsstest {
namespace {

constexpr size_t kChunk = 4096;

void Configure(openmpt::module& m) {
    m.set_render_param(openmpt::module::RENDER_INTERPOLATIONFILTER_LENGTH, 1);
    m.set_render_param(openmpt::module::RENDER_VOLUMERAMPING_STRENGTH, 0);
    m.set_render_param(openmpt::module::RENDER_STEREOSEPARATION_PERCENT, 100);
    m.ctl_set_boolean("render.resampler.emulate_amiga", false);
    m.set_repeat_count(0);
    m.select_subsong(0);
    // Stop exactly at the song's end instead of fading out into its start played again.
    m.ctl_set_text("play.at_end", "stop");
}

struct OurModule {
    hss::ModModule* module = nullptr;
    explicit OurModule(const std::vector<uint8_t>& bytes) {
        hss::ParseModule(bytes.data(), bytes.size(), &module);
    }
    ~OurModule() { hss::FreeModule(module); }
};

}  // namespace

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

Rendering RenderReference(const std::vector<uint8_t>& mod, int rate, unsigned channelMask) {
    std::ostringstream log;
    openmpt::module_ext m(mod, log);
    Configure(m);
    auto* interactive =
        static_cast<openmpt::ext::interactive*>(m.get_interface(openmpt::ext::interactive_id));
    for (int c = 0; c < 4; ++c) interactive->set_channel_mute_status(c, !(channelMask >> c & 1));
    Rendering r;
    std::vector<int16_t> buffer(kChunk * 2);
    for (;;) {
        size_t n = m.read_interleaved_stereo(rate, kChunk, buffer.data());
        if (n == 0) break;
        r.stereo.insert(r.stereo.end(), buffer.begin(), buffer.begin() + 2 * n);
    }
    return r;
}

Rendering RenderOurs(const std::vector<uint8_t>& mod, int rate, unsigned channelMask) {
    OurModule m(mod);
    Rendering r;
    if (m.module == nullptr) return r;
    hss::ModPlayer player(m.module);
    player.SetRate(rate);
    player.SetChannelMask(channelMask);
    std::vector<int32_t> buffer(kChunk * 2);
    for (;;) {
        unsigned n = player.Render(buffer.data(), kChunk);
        for (unsigned i = 0; i < 2 * n; ++i)
            r.stereo.push_back(int16_t(std::clamp(buffer[i], -32768, 32767)));
        if (n < kChunk) break;
    }
    return r;
}

std::vector<RowStart> ReferenceRows(const std::vector<uint8_t>& mod, int rate) {
    std::ostringstream log;
    openmpt::module m(mod, log);
    Configure(m);
    std::vector<RowStart> rows;
    int16_t frame[2];
    uint64_t rendered = 0;
    int order = -1, row = -1;
    // One frame at a time: after rendering the first frame of a row the position shows it.
    while (m.read_interleaved_stereo(rate, 1, frame) == 1) {
        ++rendered;
        int o = m.get_current_order(), r = m.get_current_row();
        if (o != order || r != row) rows.push_back({o, r, rendered - 1});
        order = o;
        row = r;
    }
    return rows;
}

std::vector<RowStart> OurRows(const std::vector<uint8_t>& mod, int rate) {
    OurModule m(mod);
    std::vector<RowStart> rows;
    if (m.module == nullptr) return rows;
    hss::ModPlayer player(m.module);
    player.SetRate(rate);
    uint64_t frame = 0, played = 0;
    for (;;) {
        unsigned n = player.StepTick();
        if (n == 0) break;
        if (player.RowsPlayed() != played) rows.push_back({player.Order(), player.Row(), frame});
        played = player.RowsPlayed();
        frame += n;
    }
    return rows;
}

double ReferenceDurationSeconds(const std::vector<uint8_t>& mod) {
    std::ostringstream log;
    openmpt::module m(mod, log);
    Configure(m);
    return m.get_duration_seconds();
}

std::vector<uint8_t> WithMarkedSamples(const std::vector<uint8_t>& mod) {
    std::vector<uint8_t> marked = mod;
    OurModule m(mod);
    if (m.module == nullptr) return marked;
    for (int i = 1; i <= hss::kModSamples; ++i) {
        const hss::ModSample& s = m.module->samples[i];
        if (s.length == 0) continue;
        // Sample data follows the 1084-byte header and the 1024-byte patterns.
        size_t at =
            1084 + size_t(m.module->patternCount) * 1024 + size_t(s.data - m.module->sampleData);
        marked[at] = uint8_t(-100);
        for (uint32_t k = 1; k < s.length; ++k) marked[at + k] = uint8_t(20 + (k / 16) % 2 * 30);
    }
    return marked;
}

std::vector<uint64_t> NoteOns(const Rendering& r) {
    // Well below the smallest marker (volume 1) and well above the rounding noise of a
    // channel whose sample has just ended (libopenmpt lets the last level die away).
    constexpr int kThreshold = -64;
    std::vector<uint64_t> ons;
    bool negative = false;
    for (uint64_t i = 0; i < r.Frames(); ++i) {
        int mono = r.stereo[2 * i] + r.stereo[2 * i + 1];
        bool now = mono < kThreshold;
        if (now && !negative) ons.push_back(i);
        negative = now;
    }
    return ons;
}

std::vector<double> RmsEnvelope(const Rendering& r, unsigned window) {
    std::vector<double> env;
    for (uint64_t start = 0; start + window <= r.Frames(); start += window) {
        double sum = 0;
        for (uint64_t i = start; i < start + window; ++i) {
            double mono = (r.stereo[2 * i] + r.stereo[2 * i + 1]) / 2.0;
            sum += mono * mono;
        }
        env.push_back(std::sqrt(sum / window));
    }
    return env;
}

double Correlation(const std::vector<double>& a, const std::vector<double>& b) {
    size_t n = std::min(a.size(), b.size());
    if (n == 0) return 0;
    double ma = 0, mb = 0;
    for (size_t i = 0; i < n; ++i) ma += a[i], mb += b[i];
    ma /= n;
    mb /= n;
    double sab = 0, saa = 0, sbb = 0;
    for (size_t i = 0; i < n; ++i) {
        sab += (a[i] - ma) * (b[i] - mb);
        saa += (a[i] - ma) * (a[i] - ma);
        sbb += (b[i] - mb) * (b[i] - mb);
    }
    return saa > 0 && sbb > 0 ? sab / std::sqrt(saa * sbb) : 0;
}

}  // namespace hsstest
