#include "app/instance_decision.h"

#include <gtest/gtest.h>

// The running copy's window after the post: told, kept from it by a copy run as administrator, or not there.
TEST(InstanceDecision, APostRefusedByAnElevatedCopyMakesItUnreachable) {
    const struct {
        bool Found, Posted, AccessDenied, ElevatedAbove;
        RunningWindow Want;
    } cases[] = {
        {false, false, false, false, RunningWindow::None},  // no copy's window
        {true, true, false, false, RunningWindow::Told},
        {true, true, false, true, RunningWindow::Told},  // allowed through after all: it has been told
        {true, false, true, false, RunningWindow::Unreachable},
        {true, false, false, true, RunningWindow::Unreachable},
        {true, false, false, false, RunningWindow::None},  // the window went away between search and post
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RunningWindowAfterPost(c.Found, c.Posted, c.AccessDenied, c.ElevatedAbove), c.Want)
            << c.Found << c.Posted << c.AccessDenied << c.ElevatedAbove;
    }
}

// A start runs only where no other copy holds the mutex or answers at its window; a copy that cannot be told (run as
// administrator) is announced rather than passed over in silence or joined by a second copy.
TEST(InstanceDecision, OnlyAStartWithNoOtherCopyRunsAndAnUnreachableCopyIsAnnounced) {
    using M = InstanceMutex;
    using W = RunningWindow;
    using D = StartDecision;
    const struct {
        M Mutex;
        W Window;
        bool WaitOver;
        D Want;
    } cases[] = {
        {M::Owned, W::None, false, D::Run},
        {M::Owned, W::Told, false, D::End},  // an older copy without the mutex
        {M::Owned, W::Unreachable, false, D::EndAsUnreachable},
        {M::Unavailable, W::None, false, D::Run},
        {M::Unavailable, W::Told, false, D::End},
        {M::HeldElsewhere, W::None, false, D::Wait},
        {M::HeldElsewhere, W::None, true, D::End},
        {M::HeldElsewhere, W::Told, false, D::End},
        {M::HeldElsewhere, W::Unreachable, false, D::EndAsUnreachable},
        {M::Denied, W::None, false, D::Wait},
        {M::Denied, W::None, true, D::EndAsUnreachable},
        {M::Denied, W::Told, false, D::End},
        {M::Denied, W::Unreachable, false, D::EndAsUnreachable},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecideStart(c.Mutex, c.Window, c.WaitOver), c.Want)
            << static_cast<int>(c.Mutex) << " " << static_cast<int>(c.Window) << " " << c.WaitOver;
    }
}
