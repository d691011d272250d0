#include "system/privilege_win.h"

#include <windows.h>

#include "platform/unique_handle_win.h"

void EnablePrivilege(const wchar_t* name, bool enable) {
    UniqueKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Put()))
        return;
    LUID luid;
    if (!LookupPrivilegeValueW(nullptr, name, &luid))
        return;
    TOKEN_PRIVILEGES state{};
    state.PrivilegeCount = 1;
    state.Privileges[0].Luid = luid;
    state.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    TOKEN_PRIVILEGES previous{};
    DWORD length = 0;
    AdjustTokenPrivileges(token.Get(), FALSE, &state, sizeof previous, &previous, &length);
}
