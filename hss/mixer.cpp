#include "hss/mixer.h"

#include <cstring>

#include "hss/mod_player.h"
#include "hss/wav_data.h"

namespace hss {
namespace {

// Fades last about 5 ms: long enough not to click, short enough to sound immediate.
constexpr unsigned kRampsPerSecond = 200;

int32_t Saturate16(int32_t v) {
    return v > 32767 ? 32767 : (v < -32768 ? -32768 : v);
}

}  // namespace

Mixer::Mixer(const MixFormat& format) : format_(format) {
    rampFrames_ = format_.rate / kRampsPerSecond;
    if (rampFrames_ < 1) rampFrames_ = 1;
    master_.current = master_.target = 1 << 16;
}

int32_t Mixer::GainQ16(unsigned volume, unsigned gain) const {
    if (volume > HSS_VOLUME_MAX) volume = HSS_VOLUME_MAX;
    if (gain > HSS_GAIN_MAX) gain = HSS_GAIN_MAX;
    // volume / 64 × gain / 2^28, in Q16.
    return int32_t((uint64_t(volume) * gain) >> 18);
}

void Mixer::SetMusicVolume(unsigned volume) {
    musicVolume_ = volume > HSS_VOLUME_MAX ? HSS_VOLUME_MAX : volume;
    for (MusicSlot& m : music_)
        if (m.player && !m.stopping) m.ramp.To(GainQ16(musicVolume_, m.gain), rampFrames_);
}

void Mixer::SetSoundVolume(unsigned volume) {
    soundVolume_ = volume > HSS_VOLUME_MAX ? HSS_VOLUME_MAX : volume;
    for (Voice& v : voices_)
        if (v.wav && !v.stopping) v.ramp.To(GainQ16(soundVolume_, v.gain), rampFrames_);
}

void Mixer::PlayMusic(ModPlayer* player, const void* owner, unsigned gain) {
    // The music that played before fades out in the second slot, replacing any older fade.
    if (music_[0].player && music_[0].player != player) {
        music_[1] = music_[0];
        music_[1].stopping = true;
        music_[1].ramp.To(0, rampFrames_);
    } else if (music_[1].player == player) {
        music_[1] = MusicSlot{};
    }
    MusicSlot& m = music_[0];
    m = MusicSlot{};
    m.player = player;
    m.owner = owner;
    m.gain = gain;
    m.ramp.To(GainQ16(musicVolume_, gain), rampFrames_);
}

void Mixer::StopMusic() {
    for (MusicSlot& m : music_) {
        if (!m.player) continue;
        m.stopping = true;
        m.ramp.To(0, rampFrames_);
    }
}

void Mixer::PlaySound(const WavData* wav, const void* owner, unsigned gain) {
    unsigned live = 0;
    Voice* oldest = nullptr;
    Voice* free = nullptr;
    for (Voice& v : voices_) {
        if (!v.wav) {
            if (!free) free = &v;
            continue;
        }
        if (v.stopping) continue;
        ++live;
        if (!oldest || int32_t(v.started - oldest->started) < 0) oldest = &v;
    }
    if (live >= HSS_MAX_SOUNDS && oldest) FadeOut(*oldest, rampFrames_);
    if (!free) {
        // Every slot is busy with fades: cut the quietest fade short.
        for (Voice& v : voices_)
            if (v.stopping && (!free || v.ramp.current < free->ramp.current)) free = &v;
        if (!free) return;
    }
    Voice& v = *free;
    v = Voice{};
    v.wav = wav;
    v.owner = owner;
    v.gain = gain;
    v.step = (uint64_t(wav->rate) << 32) / format_.rate;
    v.started = started_++;
    // A sound shorter than two fades fades in over its first half and out over its second.
    uint64_t length = ((uint64_t(wav->frames) << 32) + v.step - 1) / v.step;
    v.fade = unsigned(length / 2 < rampFrames_ ? length / 2 : rampFrames_);
    if (v.fade < 1) v.fade = 1;
    v.ramp.To(GainQ16(soundVolume_, gain), v.fade);
}

void Mixer::FadeOut(Voice& v, unsigned frames) {
    v.stopping = true;
    v.ramp.To(0, frames);
}

void Mixer::StopSounds() {
    for (Voice& v : voices_)
        if (v.wav) FadeOut(v, rampFrames_);
}

void Mixer::Forget(const void* owner) {
    for (MusicSlot& m : music_)
        if (m.owner == owner) m = MusicSlot{};
    for (Voice& v : voices_)
        if (v.owner == owner) v = Voice{};
}

void Mixer::SetSuspended(bool suspended) {
    master_.To(suspended ? 0 : 1 << 16, rampFrames_);
}

bool Mixer::MusicPlaying() const {
    return music_[0].player && !music_[0].stopping;
}

unsigned Mixer::SoundsPlaying() const {
    unsigned n = 0;
    for (const Voice& v : voices_)
        if (v.wav && !v.stopping) ++n;
    return n;
}

void Mixer::AddMusic(MusicSlot& m, unsigned from, unsigned to) {
    for (unsigned i = from; i < to; ++i) {
        int64_t g = m.ramp.Next();
        accum_[2 * i] += int32_t((scratch_[2 * i] * g) >> 16);
        accum_[2 * i + 1] += int32_t((scratch_[2 * i + 1] * g) >> 16);
    }
}

void Mixer::MixMusic(MusicSlot& m, unsigned frames) {
    unsigned got = m.player->Render(scratch_, frames);
    if (got == frames) {
        AddMusic(m, 0, got);
        if (m.stopping && m.ramp.Silent()) m = MusicSlot{};
        return;
    }
    // The song ended here (it does not loop): it fades out over its last frames.
    unsigned fade = got < rampFrames_ ? got : rampFrames_;
    AddMusic(m, 0, got - fade);
    m.ramp.To(0, fade);
    AddMusic(m, got - fade, got);
    m = MusicSlot{};
}

void Mixer::MixVoice(Voice& v, unsigned frames) {
    const WavData& w = *v.wav;
    const uint64_t end = uint64_t(w.frames) << 32;
    // Near its natural end a sound fades out over its last frames instead of stopping dead:
    // find the frame of this chunk where that fade begins, if it does.
    unsigned fadeAt = frames;
    if (!v.stopping && v.pos < end) {
        uint64_t left = (end - v.pos + v.step - 1) / v.step;
        if (left <= v.fade)
            FadeOut(v, unsigned(left));
        else if (left - v.fade < frames)
            fadeAt = unsigned(left - v.fade);
    }
    const bool stereoIn = w.channels == 2;
    const uint32_t last = w.frames ? w.frames - 1 : 0;
    for (unsigned i = 0; i < frames && v.pos < end; ++i) {
        if (i == fadeAt) FadeOut(v, v.fade);
        uint32_t index = uint32_t(v.pos >> 32);
        int32_t l, r;
        if (stereoIn) {
            l = w.samples[2 * index];
            r = w.samples[2 * index + 1];
        } else {
            l = r = w.samples[index];
        }
        if (format_.linear && index < last) {
            int32_t frac = int32_t((v.pos >> 16) & 0xFFFF);
            uint32_t next = index + 1;
            int32_t nl = stereoIn ? w.samples[2 * next] : w.samples[next];
            int32_t nr = stereoIn ? w.samples[2 * next + 1] : nl;
            l += int32_t((int64_t(nl - l) * frac) >> 16);
            r += int32_t((int64_t(nr - r) * frac) >> 16);
        }
        int64_t g = v.ramp.Next();
        accum_[2 * i] += int32_t((l * g) >> 16);
        accum_[2 * i + 1] += int32_t((r * g) >> 16);
        v.pos += v.step;
    }
    if (v.pos >= end || (v.stopping && v.ramp.Silent())) v = Voice{};
}

void Mixer::Output(void* out, unsigned frames) {
    if (out == nullptr) return;
    if (format_.channels == 1) {
        for (unsigned i = 0; i < frames; ++i) accum_[i] = (accum_[2 * i] + accum_[2 * i + 1]) >> 1;
    }
    unsigned count = frames * format_.channels;
    if (format_.bits == 8) {
        uint8_t* o = static_cast<uint8_t*>(out);
        for (unsigned i = 0; i < count; ++i) o[i] = uint8_t((Saturate16(accum_[i]) >> 8) + 128);
    } else {
        int16_t* o = static_cast<int16_t*>(out);
        for (unsigned i = 0; i < count; ++i) o[i] = int16_t(Saturate16(accum_[i]));
    }
}

void Mixer::Render(void* out, unsigned frames) {
    unsigned frameBytes = format_.channels * format_.bits / 8;
    uint8_t* o = static_cast<uint8_t*>(out);
    while (frames > 0) {
        unsigned n = frames < kChunk ? frames : kChunk;
        std::memset(accum_, 0, sizeof(int32_t) * 2 * n);
        // Suspended and faded out: silence, and nothing moves on.
        if (!master_.Silent()) {
            for (MusicSlot& m : music_)
                if (m.player) MixMusic(m, n);
            for (Voice& v : voices_)
                if (v.wav) MixVoice(v, n);
            if (master_.current != 1 << 16 || master_.target != 1 << 16) {
                for (unsigned i = 0; i < n; ++i) {
                    int64_t g = master_.Next();
                    accum_[2 * i] = int32_t((accum_[2 * i] * g) >> 16);
                    accum_[2 * i + 1] = int32_t((accum_[2 * i + 1] * g) >> 16);
                }
            }
        }
        Output(o, n);
        if (o) o += n * frameBytes;
        frames -= n;
    }
}

}  // namespace hss
