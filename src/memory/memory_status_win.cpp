#include "memory/memory_status_win.h"

#include <windows.h>

#include "platform/text_win.h"

MemorySample ReadMemoryStatus() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    MemorySample sample;
    if (!GlobalMemoryStatusEx(&status))
        return sample;
    sample.MemoryLoad = status.dwMemoryLoad;
    sample.TotalPhys = status.ullTotalPhys;
    sample.AvailPhys = status.ullAvailPhys;
    sample.TotalPageFile = status.ullTotalPageFile;
    sample.AvailPageFile = status.ullAvailPageFile;
    return sample;
}

namespace {
std::string LocaleText(LCTYPE type, const char* fallback) {
    wchar_t buffer[8] = {};
    int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 8);
    return n > 1 ? Narrow(std::wstring(buffer, static_cast<size_t>(n - 1))) : fallback;
}
}  // namespace

NumberSeparators UserNumberSeparators() {
    NumberSeparators separators;
    separators.Thousands = LocaleText(LOCALE_STHOUSAND, ",");
    separators.Decimal = LocaleText(LOCALE_SDECIMAL, ".");
    return separators;
}
