// The ProTracker replayer: walks a module's order list row by row and tick by tick, applies
// the effects, and renders the four channels at any output rate with Amiga period timing.
#pragma once

#include <cstdint>

#include "hss/mod_module.h"

namespace hss {

class ModPlayer {
  public:
    static constexpr int kDefaultSeparation = 50;

    explicit ModPlayer(const ModModule* module);

    // Back to the first row of the first order with the module's initial speed and tempo.
    void Restart();
    void SetRate(unsigned rate);
    // Whether the song starts again from its restart order when it ends.
    void SetLoop(bool loop) { loop_ = loop; }
    void SetInterpolation(bool linear) { linear_ = linear; }
    // Amiga channels 1 and 4 are on the left, 2 and 3 on the right; at 100 % each side hears
    // only its own channels (as on an Amiga), at 0 % both sides hear all four. The default,
    // 50 %, puts each channel three quarters on its own side, which is easier on headphones.
    void SetSeparation(int percent);
    // Bit c set: channel c is rendered. All four by default.
    void SetChannelMask(unsigned mask) { channelMask_ = mask; }

    // Writes `frames` stereo frames (left, right; 16-bit scale, a lone channel at full volume
    // peaks at half scale) into out. Returns the frames that belong to the song: fewer than
    // asked when a song that does not loop ended, the rest being silence.
    unsigned Render(int32_t* out, unsigned frames);

    // Advances one tick without rendering; returns the tick's length in frames, 0 at the end.
    unsigned StepTick();

    bool Ended() const { return ended_; }
    uint64_t RowsPlayed() const { return rowsPlayed_; }
    int Order() const { return order_; }
    int Row() const { return row_; }

  private:
    struct Channel {
        const ModSample* sample = nullptr;  // the sample sounding now
        int instrument = 0;                 // the last sample number given
        uint64_t pos = 0;                   // 32.32 position in the sample
        uint64_t step = 0;                  // 32.32 advance per output frame
        bool active = false;
        int period = 0;  // base period before vibrato and arpeggio
        int finetune = 0;
        int volume = 0;
        int outPeriod = 0;
        int outVolume = 0;
        int lastVolume = 0;      // the base volume of the previous tick
        int lastOutVolume = 0;   // the output volume of the previous tick
        bool triggered = false;  // the sample (re)started this tick
        int32_t volumeQ16 = 0;   // the volume now, 16.16, gliding towards outVolume
        int32_t volumeStep = 0;
        int portaTarget = 0;
        int portaSpeed = 0;
        bool glissando = false;
        int vibratoPos = 0, vibratoSpeed = 0, vibratoDepth = 0, vibratoWave = 0;
        int tremoloPos = 0, tremoloSpeed = 0, tremoloDepth = 0, tremoloWave = 0;
        int offsetMemory = 0;
        int loopRow = 0;
        int loopCount = 0;
        ModNote note{};                 // this row's cell
        int panLeft = 0, panRight = 0;  // Q8 weights, summing to 512
    };

    void ProcessTick();
    void ReadRow();
    void ApplyNote(Channel& ch, const ModNote& n);
    void Trigger(Channel& ch);
    void RowStartEffect(Channel& ch);
    void TickEffect(Channel& ch);
    void VolumeSlide(Channel& ch, int param);
    void TonePortamento(Channel& ch);
    void Vibrato(Channel& ch);
    void Tremolo(Channel& ch);
    void Arpeggio(Channel& ch);
    void UpdateOutput(Channel& ch, bool rowTick);
    bool AdvanceRow();
    void EnterRow(int order, int row);
    unsigned TickFrames() const;
    void MixChannel(Channel& ch, int32_t* out, unsigned frames);
    bool Visited(int order, int row) const;
    void ClearVisited();

    const ModModule* module_;
    unsigned rate_ = 22050;
    bool loop_ = false;
    bool linear_ = false;
    int separation_ = kDefaultSeparation;
    unsigned channelMask_ = 0xF;
    Channel channels_[kModChannels];

    int order_ = 0;
    int row_ = 0;
    int tick_ = 0;
    int speed_ = 6;
    int tempo_ = 125;
    int nextTempo_ = 0;     // a tempo set on this row's first tick, in force from the next
    int rowRepeats_ = 0;    // pattern delay: further passes of the current row
    bool needRow_ = true;   // the next tick 0 reads a new row
    bool started_ = false;  // the first row has been read
    bool jump_ = false;     // a position jump or pattern break ends this row
    bool rowHasJump_ = false;
    bool rowHasBreak_ = false;
    int jumpOrder_ = 0;
    int jumpRow_ = 0;
    bool loopJump_ = false;  // a pattern loop goes back within the pattern
    int loopJumpRow_ = 0;
    bool ended_ = false;
    unsigned tickLeft_ = 0;  // frames left in the current tick
    uint64_t rowsPlayed_ = 0;
    uint8_t visited_[kModOrders * kModRows / 8] = {};
};

// The period of a note (0 to 35, C-1 to B-3) at a finetune (-8 to 7).
int NotePeriod(int note, int finetune);
// The note whose finetune-0 period is nearest to this period; -1 for none.
int PeriodNote(int period);

}  // namespace hss
