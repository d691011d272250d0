#include "platform/error_report_win.h"

#include <windows.h>

#include <utility>

#include "platform/error_log.h"
#include "platform/file_io_win.h"
#include "platform/text_win.h"
#include "platform/unique_handle_win.h"

namespace {
std::function<void(const std::string&)>& Reporter() {
    static std::function<void(const std::string&)> reporter;
    return reporter;
}

std::wstring& LogPath() {
    static std::wstring path;
    return path;
}

// Set while an error box is up: the box runs a message loop, the tick or a save may fail again meanwhile, and
// a stack of identical boxes helps nobody. Those errors still reach the log.
bool gBoxOpen = false;

// Set from the first word of a log-off or shut-down (or the uninstaller's request) until the program ends, or until
// the log-off is called off. A box then would hold the session up until someone pressed Enter.
bool gSessionEnding = false;

}  // namespace

std::string SystemErrorText(unsigned long errorCode) {
    if (errorCode == 0)
        return {};
    wchar_t* buffer = nullptr;
    DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, errorCode, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return Narrow(text);
}

void LogError(const std::string& text) {
    const std::wstring& path = LogPath();
    if (path.empty())
        return;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    std::string line = ErrorLogLine({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond}, text);
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    // A log that cannot be read, or has grown far beyond its cap by other hands, starts afresh.
    std::string old;
    if (ReadAll(file.Get(), 16 * static_cast<LONGLONG>(kErrorLogCap), old) != 0)
        old.clear();
    std::string log = AppendToErrorLog(old, line);
    SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN);
    WriteAll(file.Get(), log);
    SetEndOfFile(file.Get());
}

void ReportError(const std::string& text) {
    LogError(text);
    if (gSessionEnding)
        return;
    if (Reporter())
        Reporter()(text);
    else
        ShowErrorBox(text);
}

void ShowErrorBox(const std::string& text) {
    if (gBoxOpen)
        return;
    gBoxOpen = true;
    MessageBoxW(nullptr, Widen(text).c_str(), L"Lumivex", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    gBoxOpen = false;
}

void ReportSystemError(const std::string& text, unsigned long errorCode) {
    std::string reason = SystemErrorText(errorCode);
    ReportError(reason.empty() ? text : text + "\r\n\r\n" + reason);
}

void SetErrorLogPath(const std::wstring& path) {
    LogPath() = path;
}

const std::wstring& ErrorLogPath() {
    return LogPath();
}

std::function<void(const std::string&)> SetErrorReporter(std::function<void(const std::string&)> reporter) {
    return std::exchange(Reporter(), std::move(reporter));
}

void SetSessionEnding(bool ending) {
    gSessionEnding = ending;
}

bool SessionEnding() {
    return gSessionEnding;
}
