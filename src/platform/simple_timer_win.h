#pragma once

#include <windows.h>

#include <functional>

// An interval timer that fires on one hidden window shared by all timers of the program.
class SimpleTimer {
  public:
    using Handler = std::function<void(SimpleTimer& sender)>;

    SimpleTimer();
    SimpleTimer(UINT periodMs, Handler onFire);
    ~SimpleTimer();
    SimpleTimer(const SimpleTimer&) = delete;
    SimpleTimer& operator=(const SimpleTimer&) = delete;

    bool StartTimer();
    bool StopTimer(bool clearActive);

    bool Active() const { return active_; }
    void SetActive(bool value);
    UINT PeriodMs() const { return periodMs_; }
    // How many countdowns have begun: each start and each change of period begins a new one.
    unsigned Countdowns() const { return countdowns_; }
    void SetPeriodMs(UINT value);
    bool StopOnFire() const { return stopOnFire_; }
    void SetStopOnFire(bool value) { stopOnFire_ = value; }
    void SetOnFire(Handler handler);
    UINT_PTR TimerId() const { return timerId_; }

    // Timers of the whole program that are running now.
    static int RunningCount();
    // The shared window, for tests that deliver WM_TIMER by hand.
    static HWND SharedWindow();

  private:
    friend class SimpleTimerHandler;
    void Fire();

    UINT_PTR timerId_;
    bool active_ = false;
    UINT periodMs_ = 1000;
    unsigned countdowns_ = 0;
    bool stopOnFire_ = false;
    Handler onFire_;
};
