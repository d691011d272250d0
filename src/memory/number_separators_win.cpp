#include "memory/number_separators_win.h"

#include <windows.h>

#include "platform/text_win.h"

namespace {
std::string LocaleText(LCTYPE type, const char* fallback) {
    wchar_t buffer[8] = {};
    int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 8);
    return n > 1 ? Narrow(std::wstring_view(buffer, static_cast<size_t>(n - 1))) : std::string(fallback);
}
}  // namespace

NumberSeparators UserNumberSeparators() {
    NumberSeparators separators;
    separators.Thousands = LocaleText(LOCALE_STHOUSAND, ",");
    separators.Decimal = LocaleText(LOCALE_SDECIMAL, ".");
    return separators;
}
