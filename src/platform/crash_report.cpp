#include "platform/crash_report.h"

#include <cstdio>

// Both are written while the program is crashing: into the caller's buffer, nothing from the heap.

bool CrashDumpName(const CrashStamp& when, char* out, size_t size) {
    if (!out || size == 0)
        return false;
    int n = std::snprintf(out, size, "Lumivex-%04d%02d%02d-%02d%02d%02d.dmp", when.Year, when.Month, when.Day,
                          when.Hour, when.Minute, when.Second);
    if (n < 0 || static_cast<size_t>(n) >= size) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool CrashLogLine(const CrashStamp& when,
                  uint32_t code,
                  uint64_t address,
                  const char* dumpName,
                  unsigned long dumpError,
                  char* out,
                  size_t size) {
    if (!out || size == 0)
        return false;
    const char* name = dumpName ? dumpName : "";
    // Code 0 is no system exception: std::terminate, after a C++ exception that nothing caught.
    char what[64];
    if (code == 0)
        std::snprintf(what, sizeof what, "an exception that nothing caught");
    else
        std::snprintf(what, sizeof what, "exception %08X at %016llX", static_cast<unsigned>(code),
                      static_cast<unsigned long long>(address));
    char dump[128];
    if (dumpError == 0)
        std::snprintf(dump, sizeof dump, "minidump %s", name);
    else
        std::snprintf(dump, sizeof dump, "the minidump %s could not be written (error %lu)", name, dumpError);
    int n = std::snprintf(out, size, "%04d-%02d-%02d %02d:%02d:%02d  Lumivex ended on an unexpected error: %s; %s\r\n",
                          when.Year, when.Month, when.Day, when.Hour, when.Minute, when.Second, what, dump);
    if (n < 0 || static_cast<size_t>(n) >= size) {
        out[0] = '\0';
        return false;
    }
    return true;
}
