#pragma once

#include <string>

#include "settings/profile.h"

// An INI file read through the Windows profile functions; each write is one whole save of the file (every other
// line and the file's encoding kept). IniFileWriter saves many keys at once.
class IniFileProfile : public IProfile {
  public:
    explicit IniFileProfile(std::wstring path) : path_(std::move(path)) {}
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) override;
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    const std::wstring& Path() const { return path_; }

  private:
    std::wstring path_;
};
