#include "settings/profile_win.h"

#include <windows.h>

#include "platform/text_win.h"
#include "platform/unique_handle_win.h"

namespace {
constexpr DWORD kMaxValueChars = 2048;  // 2047 characters and the terminator

// A file the program creates starts as UTF-16 with a byte-order mark: the profile functions then keep it in
// Unicode, so the Chinese section names and font names survive on any code page. Existing files keep theirs.
bool EnsureUnicodeFile(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError() == ERROR_FILE_EXISTS;
    const unsigned char bom[2] = {0xFF, 0xFE};
    DWORD written = 0;
    return WriteFile(file.Get(), bom, sizeof bom, &written, nullptr) && written == sizeof bom;
}
}  // namespace

std::string IniFileProfile::ReadString(const std::string& section, const std::string& key, const std::string& def) {
    wchar_t buffer[kMaxValueChars];
    GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(def).c_str(), buffer, kMaxValueChars,
                             path_.c_str());
    return Narrow(buffer);
}

bool IniFileProfile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    if (EnsureUnicodeFile(path_) &&
        WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(), path_.c_str()))
        return true;
    lastError_ = GetLastError();
    return false;
}
