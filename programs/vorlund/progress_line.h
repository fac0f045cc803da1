// The one line of progress a long headless run keeps up to date on standard error: frames
// done, frames per second and time left. Shown only when standard error is a terminal, so
// logs and pipes stay clean.
#pragma once

#include <chrono>
#include <cstdint>

class VProgressLine {
  public:
    // total 0: the run has no known end (no time left is shown).
    explicit VProgressLine(uint32_t total);
    ~VProgressLine();  // ends the line

    // After each frame; redraws at most four times a second.
    void Update(uint32_t done);

  private:
    using Clock = std::chrono::steady_clock;
    bool shown_;
    bool drawn_ = false;
    uint32_t total_;
    Clock::time_point start_;
    Clock::time_point nextDraw_;
};
