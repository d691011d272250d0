#include "platform/simple_timer_win.h"

#include <map>

#include "platform/window_win.h"

// One per program: the hidden window all timers run on, made by the first timer and destroyed with the last.
class SimpleTimerHandler : public Window {
  public:
    SimpleTimerHandler() { CreateWindowOf(L"LumivexSimpleTimer", 0, 0, L"", HWND_MESSAGE, 0, 0, 0, 0); }
    std::map<UINT_PTR, SimpleTimer*> Timers;
    int Running = 0;
    UINT_PTR NextId = 1;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_TIMER) {
            auto it = Timers.find(static_cast<UINT_PTR>(wParam));
            if (it != Timers.end())
                it->second->Fire();
            return 0;
        }
        return Window::HandleMessage(msg, wParam, lParam);
    }
};

namespace {
SimpleTimerHandler* gHandler = nullptr;

SimpleTimerHandler& AcquireTimerHandler() {
    if (!gHandler)
        gHandler = new SimpleTimerHandler();
    return *gHandler;
}

void ReleaseTimerHandler() {
    if (gHandler && gHandler->Timers.empty()) {
        delete gHandler;
        gHandler = nullptr;
    }
}
}  // namespace

SimpleTimer::SimpleTimer() : SimpleTimer(1000, nullptr) {}

SimpleTimer::SimpleTimer(UINT periodMs, Handler onFire) : periodMs_(periodMs), onFire_(std::move(onFire)) {
    SimpleTimerHandler& handler = AcquireTimerHandler();
    timerId_ = handler.NextId++;
    handler.Timers[timerId_] = this;
}

SimpleTimer::~SimpleTimer() {
    if (active_)
        StopTimer(true);
    if (gHandler)
        gHandler->Timers.erase(timerId_);
    ReleaseTimerHandler();
}

bool SimpleTimer::StartTimer() {
    if (periodMs_ == 0)
        return false;
    if (active_)
        StopTimer(false);
    if (!SetTimer(gHandler->Hwnd(), timerId_, periodMs_, nullptr))
        return false;
    active_ = true;
    ++countdowns_;
    ++gHandler->Running;
    return true;
}

bool SimpleTimer::StopTimer(bool clearActive) {
    if (clearActive)
        active_ = false;
    if (!KillTimer(gHandler->Hwnd(), timerId_))
        return false;
    if (gHandler->Running > 0)
        --gHandler->Running;
    return true;
}

void SimpleTimer::SetActive(bool value) {
    if (value)
        StartTimer();
    else
        StopTimer(true);
}

void SimpleTimer::SetPeriodMs(UINT value) {
    if (value == periodMs_)
        return;
    periodMs_ = value;
    if (!active_)
        return;
    if (value != 0)
        StartTimer();
    else
        StopTimer(false);  // stays Active and resumes at the next non-zero period
}

void SimpleTimer::SetOnFire(Handler handler) {
    onFire_ = std::move(handler);
    if (!onFire_ && active_)
        StopTimer(false);
}

void SimpleTimer::Fire() {
    if (stopOnFire_)
        StopTimer(true);
    if (onFire_)
        onFire_(*this);
}

int SimpleTimer::RunningCount() {
    return gHandler ? gHandler->Running : 0;
}

HWND SimpleTimer::SharedWindow() {
    return gHandler ? gHandler->Hwnd() : nullptr;
}
