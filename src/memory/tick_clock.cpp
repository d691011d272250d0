#include "memory/tick_clock.h"

// The tick count wraps to 0 every 2^32 ms (49.7 days), so the step between two readings is taken modulo 2^32: a wrap
// is an ordinary step forward. A step of 2^31 ms or more is read as the count going backwards (it never does on
// Windows, but a caller's clock might be reset) and counts as no time at all, so what was recorded stays in order
// and later readings step on from the new count. A machine that sleeps keeps counting, so a suspension is a forward
// step like any other; one of over 24.8 days reads as backwards, which only costs the empty stretch it would leave.
uint64_t TickClock::Advance(uint32_t tickMs) {
    if (!started_) {
        started_ = true;
        now_ = tickMs;
    } else {
        uint32_t step = tickMs - lastTick_;
        if (step < 0x80000000u)
            now_ += step;
    }
    lastTick_ = tickMs;
    return now_;
}
