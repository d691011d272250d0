#pragma once

#include <windows.h>

#include "platform/window_win.h"

// Trims the program's own working set every Period milliseconds on its own hidden window.
class MemoryFreer : public Window {
  public:
    static constexpr UINT_PTR kTimerId = 1;

    // No timer runs until Enabled or Period is first set to a different value.
    MemoryFreer();
    ~MemoryFreer() override;

    bool Enabled() const { return enabled_; }
    // Throws std::runtime_error("Not enough timers available") when the system refuses the timer.
    void SetEnabled(bool value);
    int Period() const { return period_; }
    // 0 stops the timer; same error as SetEnabled.
    void SetPeriod(int value);
    HWND MessageWindow() const { return Hwnd(); }

    virtual void DoTimer();
    // True when the system took the request.
    virtual bool OptimizeNow();

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void UpdateTimer();
    bool enabled_ = true;
    int period_ = 30000;
};
