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
    // stepMegabytes: the helper leaks that much more at each Grow().
    explicit MemoryHelper(unsigned megabytes,
                          const std::string& variant = "full",
                          const std::wstring& exe = L"",
                          unsigned stepMegabytes = 0) {
        std::wstring source = TestFolder() + L"lumivex_test_helper_" + Widen(variant) + L".exe";
        path_ = exe.empty() ? source : exe;
        if (!exe.empty())
            CopyFileW(source.c_str(), exe.c_str(), FALSE);
        static int counter = 0;
        std::wstring eventName =
            L"lumivex-helper-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        readyEvent_ = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
        growEventName_ = eventName + L"-grow";
        std::wstring arguments =
            std::to_wstring(megabytes) + L" " + eventName + L" " + std::to_wstring(GetCurrentProcessId());
        if (stepMegabytes)
            arguments += L" " + std::to_wstring(stepMegabytes);
        process_ = Launch(path_, arguments);
        ready_ = process_ && WaitReady();
    }
    // Leaks one more step; true once the helper holds it.
    bool Grow() {
        HANDLE grow = OpenEventW(EVENT_MODIFY_STATE, FALSE, growEventName_.c_str());
        if (!grow)
            return false;
        ResetEvent(readyEvent_);
        SetEvent(grow);
        CloseHandle(grow);
        return WaitReady();
    }
    ~MemoryHelper() {
        CloseHandle(readyEvent_);
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
    bool WaitReady() {
        HANDLE waits[] = {readyEvent_, process_};
        return WaitForMultipleObjects(2, waits, FALSE, 20000) == WAIT_OBJECT_0;
    }

    std::wstring path_;
    std::wstring growEventName_;
    HANDLE readyEvent_ = nullptr;
    HANDLE process_ = nullptr;
    bool ready_ = false;
};

}  // namespace WinTest
