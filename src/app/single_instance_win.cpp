#include "app/single_instance_win.h"

#include "platform/messages.h"
#include "platform/text_win.h"

namespace {
// Posts the "second copy" message to the running copy's main window; false when there is none.
bool SignalRunningCopy() {
    HWND running = FindWindowW(Widen(kMainWindowClass).c_str(), nullptr);
    if (!running)
        return false;
    PostMessageW(running, kSecondInstanceMessage, 0, 0);
    return true;
}
}  // namespace

// Two starts at the same moment both pass a window search, since neither has a window yet; only one can own the
// mutex. A start that finds the mutex owned waits for the owner's window to tell it, and also for the mutex itself:
// an owner that is just ending (or died before it had a window) leaves the mutex to this start, which then runs.
// The window search stays as well, for a running copy that has no mutex (an older version).
SingleInstance::SingleInstance(const std::wstring& mutexName, DWORD windowWaitMs) {
    mutex_.Reset(CreateMutexW(nullptr, FALSE, mutexName.c_str()));
    if (!mutex_) {
        // No mutex to be had (a same-named object of another kind): the window search alone decides.
        first_ = !SignalRunningCopy();
        return;
    }
    const DWORD start = GetTickCount();
    DWORD wait = 0;
    for (;;) {
        const DWORD r = WaitForSingleObject(mutex_.Get(), wait);
        if (r == WAIT_OBJECT_0 || r == WAIT_ABANDONED) {
            owned_ = true;
            first_ = !SignalRunningCopy();
            return;
        }
        if (SignalRunningCopy() || GetTickCount() - start >= windowWaitMs)
            return;
        wait = 50;
    }
}

SingleInstance::~SingleInstance() {
    if (owned_)
        ReleaseMutex(mutex_.Get());
}
