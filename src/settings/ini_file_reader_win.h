#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "settings/ini_document.h"

// Largest settings file read: larger ones are no settings anyone wrote, and reading them whole could exhaust a
// 32-bit process.
inline constexpr LONGLONG kMaxSettingsFileBytes = 256ll << 20;

// An INI file as read in one go: every value the program takes from it comes from these bytes.
struct IniFileContents {
    enum class State {
        Missing,  // no such file: every value is its default
        Read,
        Damaged,  // read as far as it is text (IniDocument::Recover); the bytes are worth keeping
        NotText,  // no line of settings in it: every value is its default, the bytes are worth keeping
        Failed,   // not read (locked, too large, a path too long, ...): Error says why
    };
    State Result = State::Missing;
    DWORD Error = 0;
    std::optional<IniDocument> Document;  // with Read and Damaged
    std::string Bytes;                    // the file as it was, but for Missing and Failed
};

// The system's ANSI code page, for files without a byte-order mark that are not UTF-8.
const AnsiCodePage& SystemCodePage();

// Reads the file whole, trying again for up to waitMs while another program holds it without sharing.
IniFileContents ReadIniFile(const std::wstring& path, LONGLONG maxBytes, DWORD waitMs);

// Keeps bytes beside path, never over another file: as "<path>.bad-YYYYMMDD-HHMMSS" (local time; "-2", "-3"...
// when taken), or first as "<path>.bad" when plainNameFirst and that name is free. A copy already there with the same
// bytes is used again. Returns the name, or nothing when no copy could be made (GetLastError says why).
std::optional<std::wstring> KeepBadCopy(const std::wstring& path, const std::string& bytes, bool plainNameFirst);
