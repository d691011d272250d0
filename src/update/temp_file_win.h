#pragma once

#include <string>

// The user's temporary folder as a full path with a trailing backslash; the current folder when Windows has none.
std::wstring TempFolder();
// A file name in folder ("TMP" + five digits + extension) that does not exist yet.
std::wstring UniqueTempFileName(const std::wstring& folder, const std::string& extension);
