#include "platform/crash_report.h"

#include "platform/fixed_text.h"

// Both are written while the program is crashing: into the caller's buffer, nothing from the heap.

namespace {
bool Finish(const FixedText& text, char* out) {
    if (!text.Fits())
        out[0] = '\0';
    return text.Fits();
}
}  // namespace

bool CrashDumpName(const LogTime& when, char* out, size_t size) {
    if (!out || size == 0)
        return false;
    FixedText text(out, size);
    text.Add("Lumivex-");
    AddLogTime(text, when, "", "-", "");
    text.Add(".dmp");
    return Finish(text, out);
}

bool CrashLogLine(const LogTime& when,
                  uint32_t code,
                  uint64_t address,
                  const char* dumpName,
                  unsigned long dumpError,
                  char* out,
                  size_t size) {
    if (!out || size == 0)
        return false;
    FixedText text(out, size);
    AddLogTime(text, when, "-", " ", ":");
    text.Add("  Lumivex ended on an unexpected error: ");
    // Code 0 is no system exception: std::terminate, after a C++ exception that nothing caught.
    if (code == 0)
        text.Add("an exception that nothing caught");
    else
        text.Add("exception ").Hex(code, 8).Add(" at ").Hex(address, 16);
    const char* name = dumpName ? dumpName : "";
    if (dumpError == 0)
        text.Add("; minidump ").Add(name);
    else
        text.Add("; the minidump ").Add(name).Add(" could not be written (error ").Decimal(dumpError).Add(")");
    text.Add("\r\n");
    return Finish(text, out);
}
