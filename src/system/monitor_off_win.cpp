#include "system/monitor_off_win.h"

#include "system/double_click_action.h"

namespace {
constexpr LPARAM kMonitorPowerOff = 2;
}

MonitorOffSequence::MonitorOffSequence() : timer_(kMonitorOffSpacingMs, [this](SimpleTimer&) { SendOne(); }) {
    timer_.SetStopOnFire(true);
}

void MonitorOffSequence::Start(HWND target) {
    target_ = target;
    remaining_ = kMonitorOffRepeats;
    timer_.SetActive(false);
    SendOne();
}

void MonitorOffSequence::Stop() {
    remaining_ = 0;
    timer_.SetActive(false);
}

void MonitorOffSequence::SendOne() {
    if (remaining_ <= 0 || !IsWindow(target_)) {
        Stop();
        return;
    }
    --remaining_;
    SendMessageW(target_, WM_SYSCOMMAND, SC_MONITORPOWER, kMonitorPowerOff);
    // The next command is due a full spacing after this one was handled, as a pause between them would have it;
    // a periodic timer could bunch two late ticks together.
    if (remaining_ > 0)
        timer_.SetActive(true);
}
