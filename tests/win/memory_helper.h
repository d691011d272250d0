#pragma once

#include <windows.h>

#include <string>

#include "win_test_util.h"

namespace WinTest {

// A running helper program (tests/helpers) that holds a known number of touched megabytes; ended with the test.
class MemoryHelper {
  public:
    // variant: "full" (icon, version resource), "plain" (no resources) or "no_translation"; exe: where to copy the
    // program first (empty: run it from the test folder).
    explicit MemoryHelper(unsigned megabytes, const std::string& variant = "full", const std::wstring& exe = L"") {
        std::wstring source = TestFolder() + L"lumivex_test_helper_" + Widen(variant) + L".exe";
        path_ = exe.empty() ? source : exe;
        if (!exe.empty())
            CopyFileW(source.c_str(), exe.c_str(), FALSE);
        static int counter = 0;
        std::wstring eventName =
            L"lumivex-helper-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
        process_ = Launch(
            path_, std::to_wstring(megabytes) + L" " + eventName + L" " + std::to_wstring(GetCurrentProcessId()));
        if (process_) {
            HANDLE waits[] = {ready, process_};
            ready_ = WaitForMultipleObjects(2, waits, FALSE, 20000) == WAIT_OBJECT_0;
        }
        CloseHandle(ready);
    }
    ~MemoryHelper() {
        if (!process_)
            return;
        TerminateProcess(process_, 0);
        WaitForSingleObject(process_, 10000);
        CloseHandle(process_);
    }
    MemoryHelper(const MemoryHelper&) = delete;
    MemoryHelper& operator=(const MemoryHelper&) = delete;

    bool Ready() const { return ready_; }
    DWORD Id() const { return process_ ? GetProcessId(process_) : 0; }
    HANDLE Handle() const { return process_; }
    const std::wstring& Path() const { return path_; }
    bool Ended() const { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }

  private:
    std::wstring path_;
    HANDLE process_ = nullptr;
    bool ready_ = false;
};

}  // namespace WinTest
