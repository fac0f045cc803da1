// Frame-rate limiting and measurement.
#pragma once

#include <cstdint>

// Keeps frames to 1 000 000 ÷ fpslimit microseconds. The division's remainder is carried into
// the next frame, so 60 frames per second give frames of 16 666 and 16 667 µs that add up to
// exactly one second; a late frame is not made up by shorter ones later.
class VFrameLimiter {
  public:
    // The sleep, in ms, for a frame whose clock update reported elapsedMs of game time.
    // fpslimit 0 means no limit. The limiter never asks for less than 1 ms when
    // sleepAtLeast1ms is set.
    uint32_t Step(uint32_t elapsedMs, uint32_t fpslimit, bool sleepAtLeast1ms);
    void Reset() { *this = VFrameLimiter{}; }

    uint32_t TargetTime() const { return target_; }  // µs
    uint32_t ActualTime() const { return actual_; }  // µs
    uint32_t Remainder() const { return remainder_; }
    // Length of the last frame the limiter aimed for, µs (0 without a limit).
    uint32_t LastFrameLength() const { return lastFrameLength_; }

  private:
    uint32_t target_ = 0;
    uint32_t remainder_ = 0;
    uint32_t actual_ = 0;
    uint32_t lastFrameLength_ = 0;
};

// Frames per second × 100, measured over periods of more than 500 ms of platform time.
class VFrameRateMeter {
  public:
    void Count(uint32_t now);
    void Reset() { *this = VFrameRateMeter{}; }
    uint32_t Fps100() const { return fps100_; }

  private:
    uint32_t fps100_ = 0;
    uint32_t frames_ = 0;
    uint32_t lastMeasurement_ = 0;
};
