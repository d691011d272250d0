#pragma once

#include <cstdint>

// A 32-bit millisecond tick count (GetTickCount's) as a 64-bit time that never goes backwards.
class TickClock {
  public:
    // The time of a reading taken at tickMs; the first reading's time is tickMs itself.
    uint64_t Advance(uint32_t tickMs);
    uint64_t Now() const { return now_; }
    bool Started() const { return started_; }

  private:
    bool started_ = false;
    uint32_t lastTick_ = 0;
    uint64_t now_ = 0;
};
