#pragma once

#include <windows.h>

#include "platform/simple_timer_win.h"

// Switches the display off after the workstation was locked: the power-off command goes to the window a number
// of times, spaced by a timer, so the program keeps answering meanwhile.
class MonitorOffSequence {
  public:
    MonitorOffSequence();
    // Sends the first command now and the others from the timer; a new start begins the count again.
    void Start(HWND target);
    void Stop();
    bool Running() const { return remaining_ > 0; }

  private:
    void SendOne();

    SimpleTimer timer_;
    HWND target_ = nullptr;
    int remaining_ = 0;
};
