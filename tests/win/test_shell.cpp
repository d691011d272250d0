#include "test_shell.h"

TestShell& TestShell::Get() {
    static TestShell shell;
    return shell;
}

BOOL TestShell::Notify(DWORD message, NOTIFYICONDATAW& data) {
    Calls.push_back({message, data});
    if (!TaskbarUp)
        return FALSE;
    if (RealShell)
        return Shell_NotifyIconW(message, &data);
    std::pair<HWND, UINT> key{data.hWnd, data.uID};
    switch (message) {
        case NIM_ADD:
            return Icons.insert(key).second;
        case NIM_DELETE:
            return Icons.erase(key) != 0;
        case NIM_SETVERSION:
            return data.uVersion <= HighestVersion && Holds(data.hWnd, data.uID);
        default:
            return Holds(data.hWnd, data.uID);
    }
}

ShellNotifyFunction TestShell::Function() {
    return [](DWORD message, NOTIFYICONDATAW& data) { return Get().Notify(message, data); };
}

int TestShell::Count(DWORD message) const {
    int n = 0;
    for (const Call& c : Calls)
        n += c.Message == message;
    return n;
}
