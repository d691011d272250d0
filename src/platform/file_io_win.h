#pragma once

#include <windows.h>

#include <string>

// The whole of an open file from its start; a file that shrinks meanwhile gives what is there. Returns 0, the
// system's error, or ERROR_FILE_TOO_LARGE beyond maxBytes (bytes then stay empty).
DWORD ReadAll(HANDLE file, LONGLONG maxBytes, std::string& bytes);
// All of bytes at the file's current position. Returns 0 or the system's error.
DWORD WriteAll(HANDLE file, const std::string& bytes);
// Moves the file's end to length, growing or cutting it; the position is left there. Returns 0 or the system's
// error.
DWORD SetFileLength(HANDLE file, LONGLONG length);

// Tests stand in for a volume that fills up: this many bytes are free to every file that WriteAll and SetFileLength
// grow, and growing past them fails with ERROR_DISK_FULL (a write after the part that fits). Negative: the volume's
// own space, as always outside tests.
void SetFreeSpaceForTesting(LONGLONG bytes);
