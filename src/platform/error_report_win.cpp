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

namespace {
// Every writer of the log holds this byte locked while it measures, appends or trims the log. It lies far beyond any
// log, so the lock never keeps anyone from reading or writing the text itself.
constexpr DWORD kLogLockOffsetHigh = 0x7FFFFFFF;

class LogLock {
  public:
    explicit LogLock(HANDLE file) : file_(file) {
        at_.OffsetHigh = kLogLockOffsetHigh;
        locked_ = LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at_) != FALSE;
    }
    ~LogLock() {
        if (locked_)
            UnlockFileEx(file_, 0, 1, 0, &at_);
    }
    LogLock(const LogLock&) = delete;
    LogLock& operator=(const LogLock&) = delete;

  private:
    HANDLE file_;
    OVERLAPPED at_{};
    bool locked_ = false;
};

// The log with line appended and trimmed to its cap, written over the old one from its start. A log that cannot be
// read, or has grown far beyond its cap by other hands, starts afresh.
bool RewriteErrorLog(const std::wstring& path, HANDLE reader, const std::string& line) {
    std::string old;
    if (ReadAll(reader, 16 * static_cast<LONGLONG>(kErrorLogCap), old) != 0)
        old.clear();
    UniqueFile writer(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return writer && WriteAll(writer.Get(), AppendToErrorLog(old, line)) == 0 && SetEndOfFile(writer.Get());
}

// Another copy of the program, or the crash report, may have the log open at the same moment: every open shares
// reading, writing and deleting, so none of them is turned away. The handle appends only (FILE_APPEND_DATA without
// FILE_WRITE_DATA), and one WriteFile puts the whole line at the end, however the writers' lines interleave. Only
// a line that would take the log past its cap rewrites it, under the lock that every writer takes.
bool AppendErrorLogLine(const std::wstring& path, const std::string& line) {
    UniqueFile file(CreateFileW(path.c_str(), FILE_READ_DATA | FILE_READ_ATTRIBUTES | FILE_APPEND_DATA | SYNCHRONIZE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    LogLock lock(file.Get());
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || static_cast<ULONGLONG>(size.QuadPart) + line.size() > kErrorLogCap)
        return RewriteErrorLog(path, file.Get(), line);
    DWORD written = 0;
    return WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
           written == line.size();
}
}  // namespace

void LogError(const std::string& text) {
    const std::wstring& path = LogPath();
    if (path.empty())
        return;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    AppendErrorLogLine(path,
                       ErrorLogLine({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond}, text));
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
