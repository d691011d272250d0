#pragma once

// What a start of the program learns of the named mutex that a running copy holds.
enum class InstanceMutex {
    Owned,          // this start owns it: no other copy holds it
    HeldElsewhere,  // another copy holds it, and this start can wait for it
    Denied,       // it exists, but its owner (a copy run as administrator) lets this start neither open nor wait on it
    Unavailable,  // none to be had: an object of another kind has the name
};

// What came of telling the running copy's window that another start happened.
enum class RunningWindow {
    None,         // no window of the program (or it went away meanwhile)
    Told,         // the message is on its way
    Unreachable,  // Windows keeps the message from a copy run as administrator
};

enum class StartDecision {
    Run,              // this start is the one copy
    Wait,             // look again a moment later
    End,              // another copy runs (told, or with no window yet after the wait): end quietly
    EndAsUnreachable  // another copy runs as administrator and cannot be told: say so, then end
};

// The window's state after posting to it: posted, refused for want of access (UIPI), or not posted while its process
// is known to run elevated above this one.
RunningWindow RunningWindowAfterPost(bool found, bool posted, bool accessDenied, bool elevatedAboveThisStart);

// waitOver: the time allowed for the running copy's window to appear has passed.
StartDecision DecideStart(InstanceMutex mutex, RunningWindow window, bool waitOver);
