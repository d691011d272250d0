#include "platform/crash_handler_win.h"

// after windows.h
#include <dbghelp.h>

#include <cstdlib>
#include <exception>

#include "platform/crash_report.h"
#include "platform/error_report_win.h"

namespace {
// Paths are built in fixed buffers: by the time the handler runs, the heap may be what broke.
constexpr size_t kPathChars = 1024;

// dbghelp.dll is loaded only when a crash needs it, by its full System32 path (found at start-up).
wchar_t gDbgHelpPath[MAX_PATH] = {};
// The thread writing the report (0: none). Another thread that crashes meanwhile waits for the process to end; the
// writing thread itself, crashing again inside the report, gives up on it.
volatile LONG gReportingThread = 0;

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE,
                                          DWORD,
                                          HANDLE,
                                          MINIDUMP_TYPE,
                                          PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION,
                                          PMINIDUMP_CALLBACK_INFORMATION);

bool Append(wchar_t* out, size_t chars, size_t& at, const wchar_t* text) {
    for (; *text; ++text) {
        if (at + 1 >= chars)
            return false;
        out[at++] = *text;
    }
    out[at] = L'\0';
    return true;
}

bool AppendAscii(wchar_t* out, size_t chars, size_t& at, const char* text) {
    for (; *text; ++text) {
        if (at + 1 >= chars)
            return false;
        out[at++] = static_cast<unsigned char>(*text);
    }
    out[at] = L'\0';
    return true;
}

// The folder of the error log with its backslash; the temporary folder while no log is set.
size_t ReportFolder(wchar_t* out, size_t chars) {
    out[0] = L'\0';
    const std::wstring& log = ErrorLogPath();
    const size_t slash = log.find_last_of(L"\\/");
    if (slash != std::wstring::npos && slash + 1 < chars) {
        for (size_t i = 0; i <= slash; ++i)
            out[i] = log[i];
        out[slash + 1] = L'\0';
        return slash + 1;
    }
    const DWORD n = GetTempPathW(static_cast<DWORD>(chars), out);
    const size_t at = n < chars ? n : 0;
    out[at] = L'\0';
    return at;
}

// System32's dbghelp.dll, by its full path.
void FindDbgHelp() {
    const wchar_t kName[] = L"\\dbghelp.dll";
    const UINT n = GetSystemDirectoryW(gDbgHelpPath, MAX_PATH);
    if (n == 0 || n + sizeof kName / sizeof kName[0] > MAX_PATH) {
        gDbgHelpPath[0] = L'\0';
        return;
    }
    size_t at = n;
    Append(gDbgHelpPath, MAX_PATH, at, gDbgHelpPath[n - 1] == L'\\' ? kName + 1 : kName);
}

unsigned long WriteDump(const wchar_t* path, EXCEPTION_POINTERS* exception) {
    if (!gDbgHelpPath[0])
        FindDbgHelp();
    HMODULE dbghelp = gDbgHelpPath[0] ? LoadLibraryW(gDbgHelpPath) : nullptr;
    if (!dbghelp)
        return GetLastError() ? GetLastError() : ERROR_MOD_NOT_FOUND;
    auto write =
        reinterpret_cast<MiniDumpWriteDumpFn>(reinterpret_cast<void*>(GetProcAddress(dbghelp, "MiniDumpWriteDump")));
    if (!write)
        return ERROR_PROC_NOT_FOUND;
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    MINIDUMP_EXCEPTION_INFORMATION info{};
    info.ThreadId = GetCurrentThreadId();
    info.ExceptionPointers = exception;
    info.ClientPointers = FALSE;
    BOOL ok = write(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpNormal, exception ? &info : nullptr,
                    nullptr, nullptr);
    unsigned long error = ok ? 0 : (GetLastError() ? GetLastError() : ERROR_WRITE_FAULT);
    CloseHandle(file);
    if (!ok)
        DeleteFileW(path);
    return error;
}

// Appended as it stands: the log's own trimming runs at its next ordinary line.
void AppendLogLine(const char* line) {
    const std::wstring& log = ErrorLogPath();
    if (log.empty())
        return;
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD length = 0;
    while (line[length])
        ++length;
    DWORD written = 0;
    WriteFile(file, line, length, &written, nullptr);
    CloseHandle(file);
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* exception) {
    WriteCrashReport(exception);
    return EXCEPTION_EXECUTE_HANDLER;
}

// An exception that no catch takes ends here too; the process ends as abort() ends it, without its message box.
[[noreturn]] void OnTerminate() {
    WriteCrashReport(nullptr);
    TerminateProcess(GetCurrentProcess(), 3);
    std::_Exit(3);
}
}  // namespace

// libstdc++ ends by default in a handler that prints the uncaught exception's demangled type to the standard error,
// which this windowless program does not have. Defined here, the crash report is what happens by default, even
// before InstallCrashHandler, and the demangler (a sixteenth of the program's size) stays out of the executable.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    OnTerminate();
}
}  // namespace __gnu_cxx

bool WriteCrashReport(EXCEPTION_POINTERS* exception) {
    const LONG self = static_cast<LONG>(GetCurrentThreadId());
    const LONG writer = InterlockedCompareExchange(&gReportingThread, self, 0);
    if (writer == self)
        return false;
    if (writer != 0)
        Sleep(INFINITE);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const LogTime stamp{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    char name[64];
    CrashDumpName(stamp, name, sizeof name);

    wchar_t path[kPathChars];
    size_t at = ReportFolder(path, kPathChars);
    unsigned long error = ERROR_PATH_NOT_FOUND;
    if (at > 0 && AppendAscii(path, kPathChars, at, name))
        error = WriteDump(path, exception);

    const EXCEPTION_RECORD* record = exception ? exception->ExceptionRecord : nullptr;
    char line[512];
    if (CrashLogLine(stamp, record ? record->ExceptionCode : 0,
                     record ? reinterpret_cast<uintptr_t>(record->ExceptionAddress) : 0, name, error, line,
                     sizeof line))
        AppendLogLine(line);
    InterlockedExchange(&gReportingThread, 0);
    return error == 0;
}

void InstallCrashHandler() {
    FindDbgHelp();
    // The report replaces the system's crash box: the tray program ends without asking anybody.
    SetErrorMode(SetErrorMode(0) | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(OnUnhandledException);
    std::set_terminate(OnTerminate);
}
