#include "platform/crash_report.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "platform/fixed_text.h"

// The names, lines and arguments are written while the program is crashing: into the caller's buffer, nothing from
// the heap. The parsing and the choice of dumps to delete run in the dump writer, a healthy process.

namespace {
bool Finish(const FixedText& text, char* out) {
    if (!text.Fits())
        out[0] = '\0';
    return text.Fits();
}

constexpr std::wstring_view kSwitch = L"/crashdump";
constexpr std::wstring_view kPrefix = L"Lumivex-";
constexpr std::wstring_view kExtension = L".dmp";

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// The next blank-separated word of text, which moves past it.
std::wstring_view NextWord(std::wstring_view& text) {
    size_t start = 0;
    while (start < text.size() && IsBlank(text[start]))
        ++start;
    size_t end = start;
    while (end < text.size() && !IsBlank(text[end]))
        ++end;
    std::wstring_view word = text.substr(start, end - start);
    text.remove_prefix(end);
    return word;
}

int DigitValue(wchar_t c, unsigned base) {
    int value = -1;
    if (c >= L'0' && c <= L'9')
        value = c - L'0';
    else if (c >= L'a' && c <= L'f')
        value = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F')
        value = c - L'A' + 10;
    return value >= 0 && static_cast<unsigned>(value) < base ? value : -1;
}

// Digits only, at most max; false for an empty word, another character or a larger number.
bool ParseNumber(std::wstring_view word, unsigned base, uint64_t max, uint64_t& value) {
    if (word.empty())
        return false;
    value = 0;
    for (wchar_t c : word) {
        const int digit = DigitValue(c, base);
        if (digit < 0 || value > (max - static_cast<uint64_t>(digit)) / base)
            return false;
        value = value * base + static_cast<uint64_t>(digit);
    }
    return true;
}

bool ParseId(std::wstring_view word, uint32_t& id) {
    uint64_t value = 0;
    if (!ParseNumber(word, 10, UINT32_MAX, value) || value == 0)
        return false;
    id = static_cast<uint32_t>(value);
    return true;
}

bool SameSwitch(std::wstring_view word) {
    if (word.size() != kSwitch.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i) {
        const wchar_t c = word[i] >= L'A' && word[i] <= L'Z' ? static_cast<wchar_t>(word[i] - L'A' + L'a') : word[i];
        if (c != kSwitch[i])
            return false;
    }
    return true;
}

bool AllDigits(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// "Lumivex-YYYYMMDD-HHMMSS" followed by ".dmp" (the earlier form) or by "-<digits>" groups and ".dmp".
bool IsCrashDumpName(std::wstring_view name) {
    constexpr size_t kStampEnd = kPrefix.size() + 15;
    if (name.size() < kStampEnd + kExtension.size() || name.substr(0, kPrefix.size()) != kPrefix ||
        name.substr(name.size() - kExtension.size()) != kExtension)
        return false;
    std::wstring_view stamp = name.substr(kPrefix.size(), 15);
    if (!AllDigits(stamp.substr(0, 8)) || stamp[8] != L'-' || !AllDigits(stamp.substr(9)))
        return false;
    std::wstring_view rest = name.substr(kStampEnd, name.size() - kStampEnd - kExtension.size());
    while (!rest.empty()) {
        size_t end = rest.find(L'-', 1);
        end = end == std::wstring_view::npos ? rest.size() : end;
        if (rest[0] != L'-' || end < 2 || !AllDigits(rest.substr(1, end - 1)))
            return false;
        rest.remove_prefix(end);
    }
    return true;
}
}  // namespace

bool CrashDumpName(const LogTime& when, uint32_t processId, unsigned copy, char* out, size_t size) {
    if (!out || size == 0)
        return false;
    FixedText text(out, size);
    text.Add("Lumivex-");
    AddLogTime(text, when, "", "-", "");
    text.Add("-").Decimal(processId);
    if (copy > 1)
        text.Add("-").Decimal(copy);
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

bool CrashDumpArguments(const CrashDumpRequest& request, char* out, size_t size) {
    if (!out || size == 0)
        return false;
    FixedText text(out, size);
    text.Add("/crashdump ").Decimal(request.ProcessId).Add(" ").Decimal(request.ThreadId);
    text.Add(" 0x").Hex(request.ExceptionPointers, 16);
    return Finish(text, out);
}

CrashDumpCommand ParseCrashDumpCommand(std::wstring_view arguments, CrashDumpRequest& request) {
    if (!SameSwitch(NextWord(arguments)))
        return CrashDumpCommand::None;
    const std::wstring_view process = NextWord(arguments);
    const std::wstring_view thread = NextWord(arguments);
    const std::wstring_view pointers = NextWord(arguments);
    CrashDumpRequest parsed;
    const bool hex = pointers.size() > 2 && pointers[0] == L'0' && (pointers[1] == L'x' || pointers[1] == L'X');
    if (!ParseId(process, parsed.ProcessId) || !ParseId(thread, parsed.ThreadId) || !hex ||
        !ParseNumber(pointers.substr(2), 16, UINT64_MAX, parsed.ExceptionPointers) || !NextWord(arguments).empty())
        return CrashDumpCommand::Malformed;
    request = parsed;
    return CrashDumpCommand::Request;
}

// The moment in the name orders the dumps; dumps of one second are ordered by the rest of their names. A folder
// holds a handful of dumps: sorted by insertion, which is a fraction of std::sort's code in the executable.
std::vector<std::wstring> CrashDumpsToDelete(std::vector<std::wstring> names, size_t keep) {
    std::vector<std::wstring> dumps;
    for (std::wstring& name : names) {
        if (!IsCrashDumpName(name))
            continue;
        dumps.push_back(std::move(name));
        for (size_t i = dumps.size() - 1; i > 0 && dumps[i] < dumps[i - 1]; --i)
            dumps[i].swap(dumps[i - 1]);
    }
    dumps.erase(dumps.size() > keep ? dumps.end() - static_cast<std::ptrdiff_t>(keep) : dumps.begin(), dumps.end());
    return dumps;
}
