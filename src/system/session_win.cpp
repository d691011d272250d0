#include "system/session_win.h"

#include "platform/system_library_win.h"

bool RegisterSessionEvents(HWND window, DWORD flags) {
    SystemLibrary wts(L"wtsapi32.dll");
    auto reg = wts.Proc<BOOL(WINAPI*)(HWND, DWORD)>("WTSRegisterSessionNotification");
    return reg && reg(window, flags);
}

bool UnregisterSessionEvents(HWND window) {
    SystemLibrary wts(L"wtsapi32.dll");
    auto unreg = wts.Proc<BOOL(WINAPI*)(HWND)>("WTSUnRegisterSessionNotification");
    return unreg && unreg(window);
}
