#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error_log.h"

// The newest dumps that a dump folder keeps.
constexpr size_t kCrashDumpsKept = 5;

// "Lumivex-20261210-130801-4242.dmp", the minidump of process 4242's crash at that moment, into out (size chars
// with the NUL); copy 2, 3, ... adds "-2", "-3", ... for a name that an earlier dump took. False when it does not fit.
bool CrashDumpName(const LogTime& when, uint32_t processId, unsigned copy, char* out, size_t size);

// The error log's line of a crash, stamped as every log line: the exception's code and address and the dump's name,
// or the system error that kept the dump from being written (dumpError, 0 when it was written). CR LF at its end.
// Code 0: no system exception (std::terminate).
bool CrashLogLine(const LogTime& when,
                  uint32_t code,
                  uint64_t address,
                  const char* dumpName,
                  unsigned long dumpError,
                  char* out,
                  size_t size);

// What the copy of the program that writes a crashed copy's dump is told: the crashed process, its crashing thread
// and the address of its EXCEPTION_POINTERS in that process (0: none, std::terminate).
struct CrashDumpRequest {
    uint32_t ProcessId = 0;
    uint32_t ThreadId = 0;
    uint64_t ExceptionPointers = 0;
};

// "/crashdump 4242 17 0x000000000022F9A0", the arguments that start the dump writer.
bool CrashDumpArguments(const CrashDumpRequest& request, char* out, size_t size);

enum class CrashDumpCommand { None, Request, Malformed };

// The program's arguments (without its own name): None when they do not start with "/crashdump", Request (and
// request filled) for a whole dump request, Malformed for a "/crashdump" with anything else.
CrashDumpCommand ParseCrashDumpCommand(std::wstring_view arguments, CrashDumpRequest& request);

// Of the file names in a dump folder, the dumps to delete so that the newest `keep` stay, oldest first; names that
// are no crash dump (of this version's or earlier versions' form) are never picked.
std::vector<std::wstring> CrashDumpsToDelete(std::vector<std::wstring> names, size_t keep = kCrashDumpsKept);
