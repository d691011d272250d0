#pragma once

#include <optional>
#include <string>
#include <vector>

// The values that an executable's version information has of "FileVersion", "LegalCopyright", "ProductName" and
// "ProductVersion", in this order (missing ones left out), in its first translation; nothing when the file has
// no version information.
std::optional<std::vector<std::string>> ReadVersionStrings(const std::wstring& file);
