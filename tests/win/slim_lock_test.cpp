// The lock the download's two threads share: what one thread does under it, the other never sees half done.
#include "platform/slim_lock_win.h"

#include <gtest/gtest.h>

#include <thread>

TEST(SlimLock, ThreadsNeverInterleaveInsideTheLock) {
    SlimLock lock;
    long long inside = 0;
    long long total = 0;
    bool overlapped = false;
    auto work = [&] {
        for (int i = 0; i < 20000; ++i) {
            SlimLock::Hold hold(lock);
            // A read, a yield and a write: another thread inside at the same time would lose or see an update.
            long long seen = ++inside;
            std::this_thread::yield();
            overlapped = overlapped || seen != 1 || inside != 1;
            --inside;
            ++total;
        }
    };
    std::thread other(work);
    work();
    other.join();
    EXPECT_FALSE(overlapped);
    EXPECT_EQ(total, 40000);
}
