#include "platform/native_path_win.h"

#include <windows.h>

#include "platform/text_win.h"
#include "platform/version_text.h"

bool RunningUnderWow64() {
#if defined(_WIN64)
    return false;
#else
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    static const bool wow64 = [] {
        auto isWow64 = reinterpret_cast<IsWow64ProcessFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
        BOOL result = FALSE;
        return isWow64 && isWow64(GetCurrentProcess(), &result) && result;
    }();
    return wow64;
#endif
}

std::string NativeFilePath(const std::string& path) {
    if (!RunningUnderWow64() || path.empty())
        return path;
    wchar_t buffer[MAX_PATH];
    UINT n = GetSystemWindowsDirectoryW(buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return path;
    std::string windows = Narrow(std::wstring_view(buffer, n));
    // Windows 7 and later know the Sysnative alias; Lumivex runs on nothing older that is 64-bit.
    return SysnativeAlias(path, Narrow(std::wstring_view(buffer, n)));
}
