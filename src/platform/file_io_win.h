#pragma once

#include <windows.h>

#include <string>

// The whole of an open file from its start; a file that shrinks meanwhile gives what is there. Returns 0, the
// system's error, or ERROR_FILE_TOO_LARGE beyond maxBytes (bytes then stay empty).
DWORD ReadAll(HANDLE file, LONGLONG maxBytes, std::string& bytes);
// All of bytes at the file's current position. Returns 0 or the system's error.
DWORD WriteAll(HANDLE file, const std::string& bytes);
