#include "hss/mod_player.h"

#include <cmath>
#include <cstring>

namespace hss {
namespace {

constexpr int kNotes = 36;
constexpr int kMinPeriod = 113;
constexpr int kMaxPeriod = 856;
// Paula's clock on a PAL Amiga: the sample rate of a period p is kAmigaClock / p.
constexpr double kAmigaClock = 3546894.6;

// ProTracker's periods at finetune 0, C-1 to B-3.
constexpr int kBasePeriods[kNotes] = {856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
                                      428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
                                      214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};

// Each finetune step is an eighth of a semitone.
struct PeriodTable {
    int periods[16][kNotes];
    PeriodTable() {
        for (int ft = -8; ft < 8; ++ft)
            for (int n = 0; n < kNotes; ++n)
                periods[ft + 8][n] = int(std::lround(kBasePeriods[n] * std::exp2(-ft / 96.0)));
    }
};

const PeriodTable& Periods() {
    static const PeriodTable table;
    return table;
}

// Quarter of ProTracker's vibrato and tremolo sine, 0 to 255 over 32 steps.
constexpr int kSine[32] = {0,   24,  49,  74,  97,  120, 141, 161, 180, 197, 212,
                           224, 235, 244, 250, 253, 255, 253, 250, 244, 235, 224,
                           212, 197, 180, 161, 141, 120, 97,  74,  49,  24};

// The oscillator of vibrato and tremolo: position 0 to 63, waveform 0 sine, 1 ramp down,
// 2 square (3 is taken as sine). The result runs from -255 to 255.
int Oscillator(int wave, int pos) {
    pos &= 63;
    int magnitude;
    switch (wave & 3) {
        case 1:
            magnitude = (pos & 31) * 8;
            return pos < 32 ? 255 - magnitude : -magnitude;
        case 2:
            return pos < 32 ? 255 : -255;
        default:
            magnitude = kSine[pos & 31];
            return pos < 32 ? magnitude : -magnitude;
    }
}

int Clamp(int v, int lo, int hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

}  // namespace

int NotePeriod(int note, int finetune) {
    return Periods().periods[Clamp(finetune, -8, 7) + 8][Clamp(note, 0, kNotes - 1)];
}

int PeriodNote(int period) {
    if (period <= 0) return -1;
    int best = 0;
    for (int n = 1; n < kNotes; ++n)
        if (std::abs(kBasePeriods[n] - period) < std::abs(kBasePeriods[best] - period)) best = n;
    return best;
}

ModPlayer::ModPlayer(const ModModule* module) : module_(module) {
    Periods();
    SetSeparation(kDefaultSeparation);
    Restart();
}

void ModPlayer::SetRate(unsigned rate) {
    rate_ = rate ? rate : 1;
}

void ModPlayer::SetSeparation(int percent) {
    separation_ = Clamp(percent, 0, 100);
    int near = 256 + separation_ * 256 / 100;
    for (int c = 0; c < kModChannels; ++c) {
        bool left = c == 0 || c == 3;
        channels_[c].panLeft = left ? near : 512 - near;
        channels_[c].panRight = 512 - channels_[c].panLeft;
    }
}

void ModPlayer::Restart() {
    for (Channel& ch : channels_) {
        int panLeft = ch.panLeft, panRight = ch.panRight;
        ch = Channel{};
        ch.panLeft = panLeft;
        ch.panRight = panRight;
    }
    speed_ = 6;
    tempo_ = 125;
    nextTempo_ = 0;
    tick_ = 0;
    rowRepeats_ = 0;
    jump_ = loopJump_ = false;
    started_ = false;
    needRow_ = true;
    ended_ = false;
    tickLeft_ = 0;
    rowsPlayed_ = 0;
    ClearVisited();
    EnterRow(0, 0);
}

bool ModPlayer::Visited(int order, int row) const {
    int bit = order * kModRows + row;
    return (visited_[bit >> 3] >> (bit & 7)) & 1;
}

void ModPlayer::ClearVisited() {
    std::memset(visited_, 0, sizeof visited_);
}

void ModPlayer::EnterRow(int order, int row) {
    order_ = order;
    row_ = row;
    int bit = order * kModRows + row;
    visited_[bit >> 3] |= uint8_t(1u << (bit & 7));
}

unsigned ModPlayer::TickFrames() const {
    // A tick lasts 2.5 / tempo seconds, in whole frames (the fraction is dropped).
    return unsigned(uint64_t(rate_) * 5 / (2 * unsigned(tempo_)));
}

// Moves on to the next row, following a pending jump, break or pattern loop. Returns false
// when the song ends there: past the last order, or back on a row already played (which
// would repeat forever). A looping song goes on instead.
bool ModPlayer::AdvanceRow() {
    int order = order_, row = row_ + 1;
    if (loopJump_) {
        // The rows of the loop are played again on purpose: they are not a repeat of the song.
        for (int r = loopJumpRow_; r <= row_; ++r) {
            int bit = order_ * kModRows + r;
            visited_[bit >> 3] &= uint8_t(~(1u << (bit & 7)));
        }
        row = loopJumpRow_;
    } else if (jump_) {
        order = jumpOrder_;
        row = jumpRow_;
    } else if (row >= kModRows) {
        order = order_ + 1;
        row = 0;
    }
    jump_ = loopJump_ = false;
    bool pastEnd = order >= module_->songLength;
    if (pastEnd || Visited(order, row)) {
        if (!loop_) return false;
        ClearVisited();
        if (pastEnd) {
            order = module_->restart;
            row = 0;
        }
        for (Channel& ch : channels_) ch.loopCount = 0;
    }
    EnterRow(order, row);
    return true;
}

void ModPlayer::ProcessTick() {
    if (nextTempo_) {
        tempo_ = nextTempo_;
        nextTempo_ = 0;
    }
    bool rowTick = tick_ == 0 && needRow_;
    if (rowTick) {
        if (started_ && !AdvanceRow()) {
            ended_ = true;
            return;
        }
        started_ = true;
        needRow_ = false;
        ReadRow();
    } else {
        for (Channel& ch : channels_) TickEffect(ch);
    }
    tickLeft_ = TickFrames();
    for (Channel& ch : channels_) UpdateOutput(ch, rowTick);
    if (++tick_ >= speed_) {
        tick_ = 0;
        if (rowRepeats_ > 0)
            --rowRepeats_;
        else
            needRow_ = true;
    }
}

void ModPlayer::ReadRow() {
    ++rowsPlayed_;
    int pattern = module_->orders[order_];
    int delay = 0;
    rowHasJump_ = rowHasBreak_ = false;
    for (int c = 0; c < kModChannels; ++c) {
        Channel& ch = channels_[c];
        ch.note = module_->At(pattern, row_, c);
        bool delayed =
            ch.note.effect == 0xE && (ch.note.param >> 4) == 0xD && (ch.note.param & 15) != 0;
        if (!delayed) ApplyNote(ch, ch.note);
        RowStartEffect(ch);
        if (ch.note.effect == 0xE && (ch.note.param >> 4) == 0xE) delay = ch.note.param & 15;
    }
    rowRepeats_ = delay;
}

void ModPlayer::ApplyNote(Channel& ch, const ModNote& n) {
    if (n.sample) {
        ch.instrument = n.sample;
        const ModSample& s = module_->samples[n.sample];
        ch.volume = s.volume;
        ch.finetune = s.finetune;
    }
    if (n.period == 0) return;
    int note = PeriodNote(n.period);
    if (n.effect == 0xE && (n.param >> 4) == 0x5) {
        int ft = n.param & 15;
        ch.finetune = ft >= 8 ? ft - 16 : ft;
    }
    if (n.effect == 0x3 || n.effect == 0x5) {
        ch.portaTarget = NotePeriod(note, ch.finetune);
        return;
    }
    ch.period = NotePeriod(note, ch.finetune);
    Trigger(ch);
}

void ModPlayer::Trigger(Channel& ch) {
    ch.triggered = true;
    ch.sample = &module_->samples[ch.instrument];
    ch.pos = 0;
    ch.active = ch.sample->length > 0;
    if ((ch.vibratoWave & 4) == 0) ch.vibratoPos = 0;
    if ((ch.tremoloWave & 4) == 0) ch.tremoloPos = 0;
}

void ModPlayer::RowStartEffect(Channel& ch) {
    int param = ch.note.param, x = param >> 4, y = param & 15;
    switch (ch.note.effect) {
        case 0x3:
            if (param) ch.portaSpeed = param;
            break;
        case 0x4:
            if (x) ch.vibratoSpeed = x;
            if (y) ch.vibratoDepth = y;
            break;
        case 0x7:
            if (x) ch.tremoloSpeed = x;
            if (y) ch.tremoloDepth = y;
            break;
        case 0x9:
            if (param) ch.offsetMemory = param;
            if (ch.note.period && ch.active) {
                ch.pos = uint64_t(ch.offsetMemory) << 40;  // × 256 frames, 32.32
                uint32_t start = uint32_t(ch.offsetMemory) * 256;
                if (start >= ch.sample->length) {
                    if (ch.sample->loopLength)
                        ch.pos = uint64_t(ch.sample->loopStart) << 32;
                    else
                        ch.active = false;
                }
            }
            break;
        case 0xB:
            jump_ = rowHasJump_ = true;
            jumpOrder_ = param;
            if (!rowHasBreak_) jumpRow_ = 0;
            break;
        case 0xC:
            ch.volume = param > 64 ? 64 : param;
            break;
        case 0xD: {
            int target = x * 10 + y;
            if (!rowHasJump_) jumpOrder_ = order_ + 1;
            jump_ = rowHasBreak_ = true;
            jumpRow_ = target < kModRows ? target : 0;
            break;
        }
        case 0xE:
            switch (x) {
                case 0x1:
                    ch.period = Clamp(ch.period - y, kMinPeriod, kMaxPeriod);
                    break;
                case 0x2:
                    ch.period = Clamp(ch.period + y, kMinPeriod, kMaxPeriod);
                    break;
                case 0x3:
                    ch.glissando = y != 0;
                    break;
                case 0x4:
                    ch.vibratoWave = y;
                    break;
                case 0x6:
                    if (y == 0) {
                        ch.loopRow = row_;
                    } else if (ch.loopCount == 0) {
                        ch.loopCount = y;
                        loopJump_ = true;
                        loopJumpRow_ = ch.loopRow;
                    } else if (--ch.loopCount > 0) {
                        loopJump_ = true;
                        loopJumpRow_ = ch.loopRow;
                    }
                    break;
                case 0x7:
                    ch.tremoloWave = y;
                    break;
                case 0x9:
                    if (y && ch.note.period == 0) Trigger(ch);
                    break;
                case 0xA:
                    ch.volume = Clamp(ch.volume + y, 0, 64);
                    break;
                case 0xB:
                    ch.volume = Clamp(ch.volume - y, 0, 64);
                    break;
                case 0xC:
                    if (y == 0) ch.volume = 0;
                    break;
                default:
                    break;
            }
            break;
        case 0xF:
            // As in ProTracker, a new tempo takes effect from the row's second tick.
            if (param >= 32)
                nextTempo_ = param;
            else if (param > 0)
                speed_ = param;
            break;
        default:
            break;
    }
}

void ModPlayer::TickEffect(Channel& ch) {
    int param = ch.note.param, x = param >> 4, y = param & 15;
    switch (ch.note.effect) {
        case 0x1:
            ch.period = Clamp(ch.period - param, kMinPeriod, kMaxPeriod);
            break;
        case 0x2:
            ch.period = Clamp(ch.period + param, kMinPeriod, kMaxPeriod);
            break;
        case 0x3:
            TonePortamento(ch);
            break;
        case 0x5:
            TonePortamento(ch);
            VolumeSlide(ch, param);
            break;
        case 0x6:
            VolumeSlide(ch, param);
            break;
        case 0xA:
            VolumeSlide(ch, param);
            break;
        case 0xE:
            if (x == 0x9 && y && tick_ % y == 0) Trigger(ch);
            if (x == 0xC && tick_ == y) ch.volume = 0;
            if (x == 0xD && tick_ == y) ApplyNote(ch, ch.note);
            break;
        default:
            break;
    }
}

void ModPlayer::VolumeSlide(Channel& ch, int param) {
    int up = param >> 4, down = param & 15;
    ch.volume = Clamp(up ? ch.volume + up : ch.volume - down, 0, 64);
}

void ModPlayer::TonePortamento(Channel& ch) {
    if (ch.portaTarget == 0 || ch.period == 0) return;
    if (ch.period < ch.portaTarget)
        ch.period =
            ch.period + ch.portaSpeed > ch.portaTarget ? ch.portaTarget : ch.period + ch.portaSpeed;
    else if (ch.period > ch.portaTarget)
        ch.period =
            ch.period - ch.portaSpeed < ch.portaTarget ? ch.portaTarget : ch.period - ch.portaSpeed;
}

// Sets the output period and volume of this tick from the base values and the effects that
// modulate them only for the tick (arpeggio, vibrato, tremolo, glissando).
void ModPlayer::UpdateOutput(Channel& ch, bool rowTick) {
    ch.outPeriod = ch.period;
    ch.outVolume = ch.volume;
    int effect = ch.note.effect;
    if (effect == 0x0 && ch.note.param) Arpeggio(ch);
    if ((effect == 0x3 || effect == 0x5) && ch.glissando) {
        int note = 0;
        for (int n = 1; n < kNotes; ++n)
            if (std::abs(NotePeriod(n, ch.finetune) - ch.period) <
                std::abs(NotePeriod(note, ch.finetune) - ch.period))
                note = n;
        ch.outPeriod = NotePeriod(note, ch.finetune);
    }
    // As in ProTracker, vibrato and tremolo leave the first tick of a row alone.
    if ((effect == 0x4 || effect == 0x6) && !rowTick) Vibrato(ch);
    if (effect == 0x7 && !rowTick) Tremolo(ch);
    if (ch.outPeriod > 0)
        ch.step = uint64_t(kAmigaClock / (double(ch.outPeriod) * rate_) * 4294967296.0);
    else
        ch.step = 0;
    // Tremolo moves the volume by large steps every tick: between two audible volumes those
    // glide over the tick instead of jumping (no zipper noise). Everything else that sets the
    // volume (a new note, a slide, a cut) and any change from or to silence acts at once.
    bool glide =
        !ch.triggered && ch.volume == ch.lastVolume && ch.lastOutVolume != 0 && ch.outVolume != 0;
    int from = glide ? ch.lastOutVolume : ch.outVolume;
    ch.volumeQ16 = from << 16;
    ch.volumeStep = ((ch.outVolume - from) << 16) / int(tickLeft_ ? tickLeft_ : 1);
    ch.lastVolume = ch.volume;
    ch.lastOutVolume = ch.outVolume;
    ch.triggered = false;
}

void ModPlayer::Arpeggio(Channel& ch) {
    int shift = tick_ % 3;
    if (shift == 0) return;
    int semitones = shift == 1 ? ch.note.param >> 4 : ch.note.param & 15;
    int base = 0;
    for (int n = 1; n < kNotes; ++n)
        if (std::abs(NotePeriod(n, ch.finetune) - ch.period) <
            std::abs(NotePeriod(base, ch.finetune) - ch.period))
            base = n;
    ch.outPeriod = NotePeriod(base + semitones, ch.finetune);
}

void ModPlayer::Vibrato(Channel& ch) {
    ch.outPeriod = ch.period + Oscillator(ch.vibratoWave, ch.vibratoPos) * ch.vibratoDepth / 128;
    ch.vibratoPos = (ch.vibratoPos + ch.vibratoSpeed) & 63;
}

void ModPlayer::Tremolo(Channel& ch) {
    int delta = Oscillator(ch.tremoloWave, ch.tremoloPos);
    if ((ch.tremoloWave & 3) == 1) {
        // ProTracker picks the half of the ramp by the vibrato's position, not the tremolo's.
        int ramp = (ch.tremoloPos & 31) * 8;
        int magnitude = (ch.vibratoPos & 63) < 32 ? ramp : 255 - ramp;
        delta = (ch.tremoloPos & 63) < 32 ? magnitude : -magnitude;
    }
    ch.outVolume = Clamp(ch.volume + delta * ch.tremoloDepth / 64, 0, 64);
    ch.tremoloPos = (ch.tremoloPos + ch.tremoloSpeed) & 63;
}

unsigned ModPlayer::StepTick() {
    if (ended_) return 0;
    ProcessTick();
    if (ended_) return 0;
    unsigned frames = tickLeft_;
    tickLeft_ = 0;
    for (Channel& ch : channels_) {
        if (!ch.active) continue;
        ch.pos += ch.step * frames;
        const ModSample& s = *ch.sample;
        uint32_t end = s.loopLength ? s.loopStart + s.loopLength : s.length;
        if ((ch.pos >> 32) >= end) {
            if (s.loopLength)
                ch.pos = (uint64_t(s.loopStart) << 32) + ((ch.pos - (uint64_t(s.loopStart) << 32)) %
                                                          (uint64_t(s.loopLength) << 32));
            else
                ch.active = false;
        }
    }
    return frames;
}

unsigned ModPlayer::Render(int32_t* out, unsigned frames) {
    std::memset(out, 0, sizeof(int32_t) * 2 * frames);
    unsigned done = 0;
    while (done < frames) {
        if (tickLeft_ == 0) {
            if (!ended_) ProcessTick();
            if (ended_) break;
        }
        unsigned n = frames - done < tickLeft_ ? frames - done : tickLeft_;
        for (int c = 0; c < kModChannels; ++c)
            if (channels_[c].active && (channelMask_ >> c & 1))
                MixChannel(channels_[c], out + 2 * done, n);
            else if (channels_[c].active)
                MixChannel(channels_[c], nullptr, n);
        tickLeft_ -= n;
        done += n;
    }
    for (unsigned i = 0; i < 2 * done; ++i) out[i] >>= 8;
    return done;
}

// Adds n frames of one channel into out (or only advances it when out is null).
void ModPlayer::MixChannel(Channel& ch, int32_t* out, unsigned n) {
    const ModSample& s = *ch.sample;
    const uint64_t loopStart = uint64_t(s.loopStart) << 32;
    const uint64_t loopLength = uint64_t(s.loopLength) << 32;
    const uint64_t end = s.loopLength ? loopStart + loopLength : uint64_t(s.length) << 32;
    for (unsigned i = 0; i < n; ++i) {
        if (ch.pos >= end) {
            if (!s.loopLength) {
                ch.active = false;
                return;
            }
            ch.pos = loopStart + (ch.pos - loopStart) % loopLength;
        }
        if (out) {
            uint32_t index = uint32_t(ch.pos >> 32);
            int sample = s.data[index];
            if (linear_) {
                uint64_t nextPos = (ch.pos >> 32) + 1;
                int next = 0;
                if (nextPos < (end >> 32))
                    next = s.data[nextPos];
                else if (s.loopLength)
                    next = s.data[s.loopStart];
                int frac = int((ch.pos >> 16) & 0xFFFF);
                sample = (sample * 65536 + (next - sample) * frac) >> 16;
            }
            int64_t level = int64_t(sample) * ch.volumeQ16;
            out[2 * i] += int32_t((level * ch.panLeft) >> 16);
            out[2 * i + 1] += int32_t((level * ch.panRight) >> 16);
        }
        ch.volumeQ16 += ch.volumeStep;
        ch.pos += ch.step;
    }
}

}  // namespace hss
