#pragma once

#include <windows.h>

#include <string>

#include "settings/ini_file_reader_win.h"
#include "settings/profile.h"

// An INI file read once, at its first value, with the profile functions' reading rules (IniDocument); each write
// is one whole save of the file (every other line and the file's encoding kept), after which the next value reads
// the file again. IniFileWriter saves many keys at once.
class IniFileProfile : public IProfile {
  public:
    explicit IniFileProfile(std::wstring path, LONGLONG maxBytes = kMaxSettingsFileBytes, DWORD waitMs = 0)
        : path_(std::move(path)), maxBytes_(maxBytes), waitMs_(waitMs) {}
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) override;
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    const std::wstring& Path() const { return path_; }
    // The file as read for the values (read now if no value has been).
    const IniFileContents& Contents();
    // The bytes and the document are let go; the next value reads the file again.
    void Release() { contents_.reset(); }

  private:
    std::wstring path_;
    LONGLONG maxBytes_;
    DWORD waitMs_;
    std::optional<IniFileContents> contents_;
};
