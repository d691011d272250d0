#include "app/instance_decision.h"

RunningWindow RunningWindowAfterPost(bool found, bool posted, bool accessDenied, bool elevatedAboveThisStart) {
    if (!found)
        return RunningWindow::None;
    if (posted)
        return RunningWindow::Told;
    return accessDenied || elevatedAboveThisStart ? RunningWindow::Unreachable : RunningWindow::None;
}

// A window that was told decides at once, whatever the mutex says: an older copy has a window and no mutex. A
// mutex that another copy holds leaves time for its window to appear (it may be starting too) and for the mutex
// itself (it may be ending). A copy run as administrator cannot be told: rather than end without a word, or run a
// second copy beside it (both would save the settings and tear the file), the start says that it runs.
StartDecision DecideStart(InstanceMutex mutex, RunningWindow window, bool waitOver) {
    switch (window) {
        case RunningWindow::Told:
            return StartDecision::End;
        case RunningWindow::Unreachable:
            return StartDecision::EndAsUnreachable;
        case RunningWindow::None:
            break;
    }
    switch (mutex) {
        case InstanceMutex::Owned:
        case InstanceMutex::Unavailable:
            return StartDecision::Run;
        case InstanceMutex::HeldElsewhere:
            return waitOver ? StartDecision::End : StartDecision::Wait;
        case InstanceMutex::Denied:
            return waitOver ? StartDecision::EndAsUnreachable : StartDecision::Wait;
    }
    return StartDecision::Run;
}
