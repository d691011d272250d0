#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/text_win.h"
#include "platform/unique_handle_win.h"

namespace WinTest {

// The top-level windows of class cls that belong to the process, in the order the system lists them.
inline std::vector<HWND> WindowsOfProcess(DWORD processId, const wchar_t* cls) {
    std::vector<HWND> windows;
    for (HWND h = FindWindowExW(nullptr, nullptr, cls, nullptr); h; h = FindWindowExW(nullptr, h, cls, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner == processId)
            windows.push_back(h);
    }
    return windows;
}

// A fresh folder under %TEMP%, removed with everything in it at the end of the test.
class TempDir {
  public:
    TempDir() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        static int counter = 0;
        path_ = std::wstring(base) + L"lumivex-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter) + L"\\";
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempDir() { RemoveTree(path_); }
    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + name; }

    static void RemoveTree(const std::wstring& dir) {
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = fd.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                std::wstring full = dir + name;
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(full + L"\\");
                else
                    DeleteFileW(full.c_str());
            } while (FindNextFileW(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryW(dir.c_str());
    }

  private:
    std::wstring path_;
};

inline std::string ReadBytes(const std::wstring& path) {
    HANDLE h =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return {};
    std::string data;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n)
        data.append(buf, n);
    CloseHandle(h);
    return data;
}

// A text file as UTF-8, whether it was written as UTF-16 with a byte-order mark or in ANSI/UTF-8.
inline std::string ReadText(const std::wstring& path) {
    std::string raw = ReadBytes(path);
    if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF && static_cast<unsigned char>(raw[1]) == 0xFE) {
        std::wstring w(reinterpret_cast<const wchar_t*>(raw.data() + 2), (raw.size() - 2) / 2);
        return Narrow(w);
    }
    return raw;
}

inline bool WriteBytes(const std::wstring& path, const std::string& data) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD n = 0;
    bool ok = WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &n, nullptr) && n == data.size();
    CloseHandle(h);
    return ok;
}

// Runs the message loop of this thread for a while, or until `done` answers true.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done && done())
            return true;
        if (static_cast<int>(GetTickCount() - start) >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

inline void PumpFor(int ms) {
    PumpUntil(nullptr, ms);
}

// How many more objects of a kind this process may still create: made until the system refuses, then freed.
// Wine answers 0 to GetGuiResources, so the room left is what tells a leak.
template <typename Make, typename Free>
size_t RoomLeft(Make make, Free free) {
    std::vector<decltype(make())> made;
    while (made.size() < 200000) {
        auto h = make();
        if (!h)
            break;
        made.push_back(h);
    }
    for (auto h : made)
        free(h);
    return made.size();
}

inline size_t GdiRoomLeft() {
    return RoomLeft([] { return CreateBitmap(1, 1, 1, 1, nullptr); }, [](HBITMAP b) { DeleteObject(b); });
}

inline size_t UserRoomLeft() {
    // A menu is a pure USER object: no GDI object comes with it.
    return RoomLeft([] { return CreatePopupMenu(); }, [](HMENU m) { DestroyMenu(m); });
}

// Under Wine rather than Windows.
inline bool OnWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

inline std::wstring TestFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s = path;
    return s.substr(0, s.find_last_of(L'\\') + 1);
}

// Starts a program; returns its process handle (or null).
inline HANDLE Launch(const std::wstring& exe, const std::wstring& args = L"") {
    std::wstring cmd = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        return nullptr;
    }
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

// Waits for a process while keeping this thread's windows answering.
inline bool WaitProcess(HANDLE process, int timeoutMs) {
    return PumpUntil([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, timeoutMs);
}

// The text of a window, its class name, and what a SysLink shows: its mark-up without the tags.
inline std::wstring WindowText(HWND h) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(h, text.data(), static_cast<int>(text.size()))));
    return text;
}

inline std::wstring ClassOf(HWND h) {
    wchar_t name[64] = {};
    GetClassNameW(h, name, 64);
    return name;
}

inline std::wstring WithoutTags(const std::wstring& text) {
    std::wstring plain;
    bool inTag = false;
    for (wchar_t c : text) {
        if (c == L'<')
            inTag = true;
        else if (c == L'>')
            inTag = false;
        else if (!inTag)
            plain += c;
    }
    return plain;
}

// A DWORD under the user's Personalize key ("SystemUsesLightTheme", "AppsUseLightTheme") set, or removed, for a
// scope; the value it had comes back at the end.
class ScopedPersonalizeValue {
  public:
    ScopedPersonalizeValue(const wchar_t* name, std::optional<DWORD> value) : name_(name) {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                        nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key_.Put(), nullptr);
        DWORD old = 0, size = sizeof old, type = 0;
        if (RegQueryValueExW(key_.Get(), name_, nullptr, &type, reinterpret_cast<BYTE*>(&old), &size) ==
                ERROR_SUCCESS &&
            type == REG_DWORD)
            old_ = old;
        Set(value);
    }
    ~ScopedPersonalizeValue() { Set(old_); }
    ScopedPersonalizeValue(const ScopedPersonalizeValue&) = delete;
    ScopedPersonalizeValue& operator=(const ScopedPersonalizeValue&) = delete;
    void Set(std::optional<DWORD> value) {
        if (value)
            RegSetValueExW(key_.Get(), name_, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*value), sizeof(DWORD));
        else
            RegDeleteValueW(key_.Get(), name_);
    }

  private:
    const wchar_t* name_;
    UniqueRegistryKey key_;
    std::optional<DWORD> old_;
};

}  // namespace WinTest
