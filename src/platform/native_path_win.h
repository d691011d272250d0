#pragma once

#include <string>

// The path under which this program reaches the file that `path` names for every other program: a 32-bit program
// on 64-bit Windows gets "<windows>\Sysnative\..." for "<windows>\System32\...", which the file-system redirector
// would otherwise send to SysWOW64. Other paths, and every path in a 64-bit program, come back unchanged.
std::string NativeFilePath(const std::string& path);

// True for the 32-bit program on 64-bit Windows.
bool RunningUnderWow64();
