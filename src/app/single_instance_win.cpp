#include "app/single_instance_win.h"

#include "platform/messages.h"
#include "platform/paths_win.h"
#include "platform/text_win.h"
#include "platform/texts.h"
#include "settings/profile_win.h"
#include "settings/settings_file.h"

namespace {
// True when the process runs elevated (as administrator); false also when that cannot be read.
bool Elevated(HANDLE process) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token))
        return false;
    UniqueKernelHandle owned(token);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) && elevation.TokenIsElevated;
}

bool ElevatedAboveThisProcess(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    return process && Elevated(process.Get()) && !Elevated(GetCurrentProcess());
}

// Posts the "second copy" message to the running copy's main window. Windows refuses a message to a window of a
// process that runs with higher rights (ERROR_ACCESS_DENIED): that copy is running, but cannot be told.
RunningWindow TellRunningCopy() {
    HWND running = FindWindowW(Widen(kMainWindowClass).c_str(), nullptr);
    if (!running)
        return RunningWindow::None;
    const bool posted = PostMessageW(running, kSecondInstanceMessage, 0, 0) != FALSE;
    const bool denied = !posted && GetLastError() == ERROR_ACCESS_DENIED;
    return RunningWindowAfterPost(true, posted, denied, !posted && ElevatedAboveThisProcess(running));
}
}  // namespace

// The mutex of a copy run as administrator has a default security that lets an ordinary start open it for waiting
// at most, and a create asks for every right: so the mutex is first opened for SYNCHRONIZE alone, which is all a
// wait needs, and only created when there is none. Refused even SYNCHRONIZE, the start knows that a copy runs which
// it cannot wait for.
InstanceMutex SingleInstance::TakeMutex(const std::wstring& mutexName) {
    mutex_.Reset(OpenMutexW(SYNCHRONIZE, FALSE, mutexName.c_str()));
    if (!mutex_) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) {
            mutex_.Reset(CreateMutexW(nullptr, FALSE, mutexName.c_str()));
            error = mutex_ ? ERROR_SUCCESS : GetLastError();
        }
        if (!mutex_)
            return error == ERROR_ACCESS_DENIED ? InstanceMutex::Denied : InstanceMutex::Unavailable;
    }
    const DWORD r = WaitForSingleObject(mutex_.Get(), 0);
    owned_ = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
    return owned_ ? InstanceMutex::Owned : InstanceMutex::HeldElsewhere;
}

// Two starts at the same moment both pass a window search, since neither has a window yet; only one can own the
// mutex. A start that finds the mutex owned waits for the owner's window to tell it, and also for the mutex itself:
// an owner that is just ending (or died before it had a window) leaves the mutex to this start, which then runs.
// The window search stays as well, for a running copy that has no mutex (an older version). A mutex this start may
// not even wait on is looked for again on each round: it goes with its owner.
SingleInstance::SingleInstance(const std::wstring& mutexName, DWORD windowWaitMs) {
    InstanceMutex mutex = TakeMutex(mutexName);
    const DWORD start = GetTickCount();
    for (;;) {
        decision_ = DecideStart(mutex, TellRunningCopy(), GetTickCount() - start >= windowWaitMs);
        if (decision_ != StartDecision::Wait)
            return;
        if (mutex == InstanceMutex::HeldElsewhere) {
            const DWORD r = WaitForSingleObject(mutex_.Get(), 50);
            owned_ = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
            if (owned_)
                mutex = InstanceMutex::Owned;
        } else {
            Sleep(50);
            mutex = TakeMutex(mutexName);
        }
    }
}

SingleInstance::~SingleInstance() {
    if (owned_)
        ReleaseMutex(mutex_.Get());
}

// The running copy would show its balloon; since it cannot be told, this start says it in a box of its own, in the
// language the settings choose, rather than end without a word.
void ShowRunningAsAdministratorNotice() {
    IniFileProfile profile(GetSettingsFileName(ProgramFolder()).Path);
    SetLanguage(LanguageFromSetting(LoadSettings(profile, FontSpec{}).Values.Language));
    MessageBoxW(nullptr, Widen(Text(TextId::BalloonRunningAsAdministrator)).c_str(), L"Lumivex",
                MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}
