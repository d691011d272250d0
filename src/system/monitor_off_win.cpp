#include "system/monitor_off_win.h"

#include "system/double_click_action.h"

namespace {
constexpr LPARAM kMonitorPowerOff = 2;
}

TMonitorOffSequence::TMonitorOffSequence() : timer_(kMonitorOffSpacingMs, [this](TSimpleTimer&) { SendOne(); }) {}

void TMonitorOffSequence::Start(HWND target) {
    target_ = target;
    remaining_ = kMonitorOffRepeats;
    timer_.SetActive(false);
    SendOne();
    if (remaining_ > 0) timer_.SetActive(true);
}

void TMonitorOffSequence::Stop() {
    remaining_ = 0;
    timer_.SetActive(false);
}

void TMonitorOffSequence::SendOne() {
    if (remaining_ <= 0 || !IsWindow(target_)) {
        Stop();
        return;
    }
    --remaining_;
    if (remaining_ == 0) timer_.SetActive(false);
    SendMessageW(target_, WM_SYSCOMMAND, SC_MONITORPOWER, kMonitorPowerOff);
}
