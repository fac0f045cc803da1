#include "framework/clock.h"

void ClassVClock::Restart(uint32_t now) {
    startTime_ = now;
    lastTime_ = now;
    gameTime_ = 0;
    remainder_ = 0;
    paused_ = 0;
}

void ClassVClock::Update(uint32_t now) {
    previousPlatformTime_ = platformTime_;
    platformTime_ = now;
    previousGameTime_ = gameTime_;
    if (paused_) return;
    // Unsigned subtraction: the platform counter may wrap. The product is taken in 64 bits so
    // that a long gap at a high speed cannot overflow into a wrong game time.
    const uint64_t scaled = uint64_t(now - lastTime_) * speed_ + remainder_;
    remainder_ = uint32_t(scaled % 1000);
    gameTime_ += uint32_t(scaled / 1000);
    lastTime_ = now;
}

void ClassVClock::Resume(uint32_t now) {
    if (!paused_) return;
    lastTime_ = now;
    paused_ = 0;
}
