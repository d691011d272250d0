#pragma once

#include <string>

#include "platform/crash_report.h"

// The work of a copy started as "Lumivex.exe /crashdump <pid> <thread id> <exception-pointers address>": writes the
// crashed process's minidump into CrashDumpFolder() (the temporary folder's "Lumivex" folder when that cannot be
// written), keeps the newest kCrashDumpsKept there, and writes the dump's name to its standard output. Returns the
// exit code: 0 when the dump was written, otherwise the system error.
unsigned long RunCrashDumpWriter(const CrashDumpRequest& request);

// Beside the settings file of a portable copy, otherwise "%LOCALAPPDATA%\Lumivex\CrashDumps\".
std::wstring CrashDumpFolder();
