#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// An INI store by section and key, as the Windows profile functions offer it. Settings and themes read and write
// through it, so their logic is the same on a real file and in tests.
class IProfile {
  public:
    virtual ~IProfile() = default;
    virtual std::string ReadString(const std::string& section, const std::string& key, const std::string& def) = 0;
    // False when the value could not be written.
    virtual bool WriteString(const std::string& section, const std::string& key, const std::string& value) = 0;
    // Stores what was written so far in one step, for profiles that collect writes; false when that failed.
    virtual bool Commit() { return true; }
};

// A whole 32-bit number in decimal, or hexadecimal after "0x", "0X" or "$" (up to eight digits, which may wrap
// to a negative value); nothing for any other text.
std::optional<int32_t> ParseInteger(std::string_view text);

int32_t ReadInteger(IProfile& profile, const std::string& section, const std::string& key, int32_t def);
bool ReadBool(IProfile& profile, const std::string& section, const std::string& key, bool def);
bool WriteInteger(IProfile& profile, const std::string& section, const std::string& key, int32_t value);
bool WriteBool(IProfile& profile, const std::string& section, const std::string& key, bool value);
