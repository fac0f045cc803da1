#include "framework/frame_limiter.h"

namespace {

constexpr uint32_t kOneSecondUs = 1000000;
// Both times are folded back below this bound together, keeping their difference.
constexpr uint32_t kFoldUs = 10000000;
constexpr uint32_t kMeasurePeriodMs = 500;

}  // namespace

uint32_t VFrameLimiter::Step(uint32_t elapsedMs, uint32_t fpslimit, bool sleepAtLeast1ms) {
    const uint32_t minimumSleep = sleepAtLeast1ms ? 1 : 0;
    if (fpslimit == 0) {
        target_ = actual_;
        lastFrameLength_ = 0;
        return minimumSleep;
    }
    actual_ += elapsedMs * 1000;
    const uint32_t budget = remainder_ + kOneSecondUs;
    lastFrameLength_ = budget / fpslimit;
    remainder_ = budget % fpslimit;
    target_ += lastFrameLength_;

    uint32_t sleepMs;
    if (target_ > actual_) {
        sleepMs = (target_ - actual_) / 1000;
        if (sleepMs == 0) sleepMs = minimumSleep;
    } else {
        target_ = actual_;
        sleepMs = minimumSleep;
    }
    if (actual_ >= kFoldUs && target_ >= kFoldUs) {
        actual_ %= kFoldUs;
        target_ %= kFoldUs;
    }
    return sleepMs;
}

void VFrameRateMeter::Count(uint32_t now) {
    const uint32_t period = now - lastMeasurement_;
    if (period > kMeasurePeriodMs) {
        fps100_ = uint32_t(uint64_t(frames_) * 100000 / period);
        lastMeasurement_ = now;
        frames_ = 0;
    }
    ++frames_;
}
