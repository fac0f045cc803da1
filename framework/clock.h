// The frame clock: game time in milliseconds, scaled per mille from the platform's clock.
#pragma once

#include <cstdint>

class ClassVClock {
  public:
    // start = last = now, game time 0, remainder 0, running.
    void Restart(uint32_t now);
    // Per mille of real time (1000 = real time); takes effect at the next Update.
    void SetSpeed(uint32_t perMille) { speed_ = perMille; }
    // Advances game time by the platform time since the last update, scaled by the speed,
    // carrying thousandths of a millisecond. While paused the game time stands still.
    void Update(uint32_t now);
    // Game time between the last two updates, in ms.
    uint32_t Elapsed() const { return gameTime_ - previousGameTime_; }
    void Pause() { paused_ = 1; }
    // Continues from now, so that the paused period is never counted.
    void Resume(uint32_t now);

    bool Paused() const { return paused_ != 0; }
    uint32_t Speed() const { return speed_; }
    uint32_t GameTime() const { return gameTime_; }

  private:
    uint8_t paused_ = 0;
    uint32_t startTime_ = 0;
    uint32_t lastTime_ = 0;
    uint32_t remainder_ = 0;  // thousandths of a millisecond
    uint32_t speed_ = 1000;
    uint32_t previousGameTime_ = 0;
    uint32_t gameTime_ = 0;
    uint32_t platformTime_ = 0;
    uint32_t previousPlatformTime_ = 0;
};
