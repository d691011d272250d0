#pragma once

#include <windows.h>

// From here on an exception that nothing handles (and std::terminate) writes a minidump and one line in the error
// log into the error log's folder (the temporary folder while there is no log yet); then the process ends.
void InstallCrashHandler();

// What the handler writes, for exception (nullptr: the calling thread as it stands). True when the dump was written.
bool WriteCrashReport(EXCEPTION_POINTERS* exception);
