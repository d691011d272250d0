#include "update/temp_file_win.h"

#include <windows.h>

#include <random>

#include "platform/paths_win.h"
#include "platform/text_win.h"
#include "update/temp_file_name.h"

namespace {
std::wstring FullPath(const std::wstring& path) {
    DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return path;
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    full.resize(n < full.size() ? n : 0);
    return full.empty() ? path : full;
}
}  // namespace

std::wstring TempFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetTempPathW(static_cast<DWORD>(path.size()), path.data());
        if (n == 0) {
            path.clear();
            break;
        }
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(n + 1);  // the path did not fit: n is the size it needs
    }
    if (path.empty()) {
        DWORD n = GetCurrentDirectoryW(0, nullptr);
        path.resize(n);
        n = GetCurrentDirectoryW(n, path.data());
        path.resize(n < path.size() ? n : 0);
    }
    return WithTrailingBackslash(FullPath(path));
}

std::wstring UniqueTempFileName(const std::wstring& folder, const std::string& extension) {
    // Names only need to differ between programs and starts (a taken name is skipped): the clock and the process
    // seed them well enough.
    static std::minstd_rand random{[] {
        LARGE_INTEGER counter{};
        QueryPerformanceCounter(&counter);
        return static_cast<uint32_t>(counter.QuadPart) ^ GetTickCount() ^ (GetCurrentProcessId() << 16);
    }()};
    std::wstring base = WithTrailingBackslash(folder);
    for (;;) {
        std::wstring path = base + Widen(TempFileNameFor(random(), extension));
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            return path;
    }
}
