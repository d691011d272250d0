#pragma once

#include <windows.h>

#include <string>

#include "app/instance_decision.h"
#include "platform/unique_handle_win.h"

// One copy of the program per session. The first start owns a named mutex of the session ("Local\" names are per
// session) until it ends; a later start tells the running copy, which shows its balloon, and ends.
class SingleInstance {
  public:
    static constexpr wchar_t kMutexName[] = L"Local\\LumivexSingleInstance";
    static constexpr DWORD kWindowWaitMs = 2000;

    // Decides at once whether this start is the one that runs; waits at most `windowWaitMs` for the running copy's
    // window when it has none yet.
    explicit SingleInstance(const std::wstring& mutexName = kMutexName, DWORD windowWaitMs = kWindowWaitMs);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True for the one start that runs; false when another copy runs (it has been told, when its window was found).
    bool First() const { return decision_ == StartDecision::Run; }
    // True when the copy that runs does so as administrator and could not be told: this start shows the notice.
    bool RunningCopyUnreachable() const { return decision_ == StartDecision::EndAsUnreachable; }

  private:
    InstanceMutex TakeMutex(const std::wstring& mutexName);

    UniqueKernelHandle mutex_;
    bool owned_ = false;
    StartDecision decision_ = StartDecision::Run;
};

// The notice of a start that cannot reach the running copy, in the language of the settings.
void ShowRunningAsAdministratorNotice();
