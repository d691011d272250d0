#include "platform/paths_win.h"

#include <windows.h>
#include <shlobj.h>

std::wstring WithTrailingBackslash(std::wstring path) {
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return path;
}

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ProgramFolder() {
    std::wstring path = ExecutablePath();
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

namespace {
// A drive letter whose size can be read: a removed USB stick or an empty card reader must not show the
// "no disk" box, so critical-error boxes are off for the query.
bool DriveIsReadable(wchar_t letter) {
    wchar_t root[] = {letter, L':', L'\\', 0};
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    ULARGE_INTEGER total{};
    BOOL ok = GetDiskFreeSpaceExW(root, nullptr, &total, nullptr);
    SetErrorMode(oldMode);
    return ok && total.QuadPart > 0;
}
}  // namespace

std::wstring PortableSettingsFile(const std::wstring& programFolder) {
    std::wstring candidate = WithTrailingBackslash(programFolder) + L"Lumivex.Settings";
    bool usable = false;
    if (!candidate.empty()) {
        wchar_t first = candidate[0];
        if (first == L'\\')
            usable = true;
        else if (first >= L'a' && first <= L'z')
            usable = DriveIsReadable(static_cast<wchar_t>(first - 32));
        else if (first >= L'A' && first <= L'Z')
            usable = DriveIsReadable(first);
    }
    DWORD attributes = GetFileAttributesW(candidate.c_str());
    if (usable && attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return candidate;
    return std::wstring();
}

SettingsLocation GetSettingsFileName(const std::wstring& programFolder, const std::wstring& userDataFolder) {
    std::wstring portable = PortableSettingsFile(programFolder);
    if (!portable.empty())
        return {portable, true};
    return {GetDataFolder(false, programFolder, false, false, userDataFolder) + L"Lumivex.Settings", false};
}

bool ForceDirectories(const std::wstring& folder) {
    std::wstring path = folder;
    while (!path.empty() && path.back() == L'\\')
        path.pop_back();
    if (path.empty())
        return false;
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    size_t slash = path.find_last_of(L'\\');
    if (slash != std::wstring::npos && slash > 2)
        ForceDirectories(path.substr(0, slash));
    return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::wstring GetDataFolder(bool portableMode,
                           const std::wstring& programFolder,
                           bool commonData,
                           bool themes,
                           const std::wstring& userDataFolder) {
    std::wstring folder;
    if (portableMode) {
        folder = WithTrailingBackslash(programFolder);
    } else {
        std::wstring base = userDataFolder;
        if (base.empty()) {
            wchar_t shellFolder[MAX_PATH] = {};
            SHGetSpecialFolderPathW(nullptr, shellFolder, commonData ? CSIDL_COMMON_APPDATA : CSIDL_APPDATA, TRUE);
            base = shellFolder;
        }
        folder = WithTrailingBackslash(base) + L"Brindell\\Lumivex\\";
    }
    if (themes)
        folder = WithTrailingBackslash(folder) + L"Themes\\";
    ForceDirectories(folder);  // a folder that cannot be made is used all the same; writing then reports
    return folder;
}

std::wstring LogPathBeside(const std::wstring& settingsPath) {
    size_t slash = settingsPath.find_last_of(L"\\/");
    return (slash == std::wstring::npos ? std::wstring() : settingsPath.substr(0, slash + 1)) + L"Lumivex.log";
}
