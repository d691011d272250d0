#pragma once

#include <windows.h>

// From here on an exception that nothing handles (and std::terminate) has a second copy of the program write a
// minidump of this one ("Lumivex.exe /crashdump ...", see RunCrashDumpWriter) and one line in the error log; then
// the process ends. The calling thread keeps stack in reserve so that its stack overflow reports too.
void InstallCrashHandler();

// What the handler does, for exception (nullptr: the calling thread as it stands): waits at most
// kCrashDumpWriterWait ms for the writer. True when the dump was written.
bool WriteCrashReport(EXCEPTION_POINTERS* exception);

constexpr DWORD kCrashDumpWriterWait = 10000;
