#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/error_log.h"

// "Lumivex-20261210-130801.dmp", the minidump of a crash at that moment, into out (size chars with the NUL);
// false when it does not fit.
bool CrashDumpName(const LogTime& when, char* out, size_t size);

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
