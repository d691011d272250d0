#pragma once

#include <windows.h>

// A lock for short sections shared between threads, on the system's slim reader/writer lock. It takes the place of
// std::mutex, whose failure path alone brings std::system_error and its messages into the program.
class SlimLock {
  public:
    SlimLock() = default;
    SlimLock(const SlimLock&) = delete;
    SlimLock& operator=(const SlimLock&) = delete;

    // Holds the lock for its lifetime.
    class Hold {
      public:
        explicit Hold(SlimLock& lock) : lock_(lock.lock_) { AcquireSRWLockExclusive(&lock_); }
        ~Hold() { ReleaseSRWLockExclusive(&lock_); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

      private:
        SRWLOCK& lock_;
    };

  private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};
