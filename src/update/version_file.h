#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What the published version file says about one program. A missing entry reads as the empty text.
struct VersionFileInfo {
    std::string CurrentVersion;        // "CurrentVersions", program name
    std::string DownloadURL;           // "DownloadURL", program name
    std::string ReleaseDate;           // "DateReleased", "Date"
    std::string BetaVer;               // "BetaVersions", program name
    std::vector<std::string> Changes;  // "CurrentHistory": the values of entries 1, 2, ... one line per entry
};

// The version file is a few hundred bytes; anything beyond this is not one, and is neither downloaded nor read.
constexpr std::size_t kMaxVersionFileBytes = 64 * 1024;

// Reads the INI-style text of a version file (ANSI/UTF-8, with or without a UTF-8 or UTF-16 byte-order mark) the
// way the Windows profile functions read it: names case-insensitive, blanks around names and values ignored,
// one pair of quotes around a value removed, the first of repeated sections and names counted.
VersionFileInfo ParseVersionFile(std::string_view text, std::string_view program);

// The running program's name as the version file knows it: the file name without folder and extension.
std::string ProgramNameOf(std::string_view executablePath);
