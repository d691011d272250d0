#include "memory/working_set_win.h"

#include "platform/unique_handle_win.h"

bool TrimWorkingSet(HANDLE process) {
    return SetProcessWorkingSetSize(process, static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1)) != FALSE;
}

bool TrimProcessWorkingSet(DWORD processId) {
    // Trimming needs the quota right only; asking for every right would fail for processes that grant less.
    UniqueKernelHandle process(OpenProcess(PROCESS_SET_QUOTA, FALSE, processId));
    return process && TrimWorkingSet(process.Get());
}

namespace {
BOOL CALLBACK TrimWindowProcess(HWND window, LPARAM param) {
    const auto& trim = *reinterpret_cast<const std::function<void(DWORD)>*>(param);
    DWORD processId = 0;
    // No exception may cross the system's callback; the enumeration goes on whatever one window does.
    try {
        if (GetWindowThreadProcessId(window, &processId) && processId)
            trim(processId);
    } catch (...) {
    }
    return TRUE;
}
}  // namespace

void TrimAllWindowProcesses(const std::function<void(DWORD processId)>& trim) {
    EnumWindows(TrimWindowProcess, reinterpret_cast<LPARAM>(&trim));
}
