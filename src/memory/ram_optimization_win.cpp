#include "memory/ram_optimization_win.h"

#include <stdexcept>

#include "memory/working_set_win.h"

MemoryFreer::MemoryFreer() {
    CreateWindowOf(L"LumivexRamOptimization", 0, 0, L"", HWND_MESSAGE, 0, 0, 0, 0);
}

MemoryFreer::~MemoryFreer() {
    enabled_ = false;
    if (Hwnd())
        KillTimer(Hwnd(), kTimerId);
    DestroyOwnWindow();
}

void MemoryFreer::SetEnabled(bool value) {
    if (value == enabled_)
        return;
    enabled_ = value;
    UpdateTimer();
}

void MemoryFreer::SetPeriod(int value) {
    if (value == period_)
        return;
    period_ = value;
    UpdateTimer();
}

void MemoryFreer::UpdateTimer() {
    KillTimer(Hwnd(), kTimerId);
    // A negative period would be a timer of some 49 days; it counts as no timer.
    if (period_ > 0 && enabled_ && !SetTimer(Hwnd(), kTimerId, static_cast<UINT>(period_), nullptr)) {
        throw std::runtime_error("Not enough timers available");
    }
}

void MemoryFreer::DoTimer() {
    OptimizeNow();
}

bool MemoryFreer::OptimizeNow() {
    return TrimWorkingSet(GetCurrentProcess());
}

LRESULT MemoryFreer::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // An error while trimming is reported by the window's guard; the timer keeps running.
    if (msg == WM_TIMER) {
        DoTimer();
        return 0;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}
