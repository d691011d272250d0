#include "settings/profile_win.h"

#include <windows.h>

#include "platform/text_win.h"
#include "settings/ini_file_writer_win.h"

namespace {
constexpr DWORD kMaxValueChars = 2048;  // 2047 characters and the terminator
}  // namespace

std::string IniFileProfile::ReadString(const std::string& section, const std::string& key, const std::string& def) {
    wchar_t buffer[kMaxValueChars];
    GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(def).c_str(), buffer, kMaxValueChars,
                             path_.c_str());
    return Narrow(buffer);
}

bool IniFileProfile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    // One key is one whole save: the file is never seen half written.
    IniFileWriter writer(path_);
    return writer.WriteString(section, key, value) && writer.Commit();
}
