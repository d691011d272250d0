#include "platform/system_library_win.h"

#include <string>

void HardenDllSearch() {
    // SetDefaultDllDirectories exists from Windows 8 and on Windows 7 with KB2533623; without it the full System32
    // paths below still keep planted DLLs out.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto setDirs = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDirs)
        setDirs(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");  // takes the current folder out of the search
}

std::wstring SystemFolderPath(const wchar_t* fileName) {
    wchar_t dir[MAX_PATH];
    UINT n = GetSystemDirectoryW(dir, MAX_PATH);
    std::wstring path(dir, n < MAX_PATH ? n : 0);
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return path + fileName;
}

SystemLibrary::SystemLibrary(const wchar_t* name) {
    module_.Reset(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!module_)
        module_.Reset(LoadLibraryW(SystemFolderPath(name).c_str()));
}
