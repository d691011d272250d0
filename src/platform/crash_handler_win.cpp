#include "platform/crash_handler_win.h"

#include <cstdlib>
#include <exception>

#include "platform/crash_report.h"
#include "platform/error_report_win.h"
#include "platform/unique_handle_win.h"

// A crashed process is no place to write its own minidump: MiniDumpWriteDump there can deadlock on the loader lock
// or on a heap lock that the crash left taken, and a hung process keeps its window and the single-instance mutex, so
// the program could not be started again. A second copy of the program writes it from outside; this one only starts
// that copy, waits for it a bounded time and ends.

namespace {
// Everything the handler needs is made when it is installed, in fixed buffers: by the time it runs, the heap may be
// what broke.
constexpr size_t kPathChars = 1024;
constexpr size_t kArgumentChars = 64;
constexpr size_t kCommandChars = kPathChars + kArgumentChars + 4;
// Stack kept for the handler on the installing thread: enough to start the writer after a stack overflow.
constexpr ULONG kStackReserve = 64 * 1024;

// The paths are taken from pages of their own, not the heap (which may be what broke) nor zero-filled arrays of the
// executable (the compiler gives each of those a data section of its own, 4 KB of file here).
struct ReportBuffers {
    wchar_t ProgramPath[kPathChars];
    wchar_t CommandLine[kCommandChars];
};
ReportBuffers* gBuffers = nullptr;

ReportBuffers* Buffers() {
    if (!gBuffers) {
        gBuffers = static_cast<ReportBuffers*>(
            VirtualAlloc(nullptr, sizeof(ReportBuffers), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
    return gBuffers;
}
// The pipe on which the writer tells the dump's name: read here, written by the writer (its standard output).
UniqueKernelHandle gNameReader;
UniqueKernelHandle gNameWriter;
// The thread that starts the writer, made at installation: it has a whole stack of its own after a stack overflow,
// and the crashing thread waits for it a bounded time, even should starting a process hang in the crashed process.
UniqueKernelHandle gReporter;
UniqueKernelHandle gReportAsked;
UniqueKernelHandle gReportDone;
// What the crashing thread hands the reporter, and what it answers.
EXCEPTION_POINTERS* volatile gAskedException = nullptr;
volatile DWORD gAskedThread = 0;
volatile unsigned long gReportError = 0;
char gReportName[64] = {};
// The thread writing the report (0: none). Another thread that crashes meanwhile waits for the process to end; the
// writing thread itself, crashing again inside the report, gives up on it.
volatile LONG gReportingThread = 0;

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

// At installation, or at a crash before it (an exception thrown before the handler is installed reports too).
void PrepareReport() {
    ReportBuffers* b = Buffers();
    if (!b || b->ProgramPath[0])
        return;
    const DWORD n = GetModuleFileNameW(nullptr, b->ProgramPath, kPathChars);
    if (n == 0 || n >= kPathChars)
        b->ProgramPath[0] = L'\0';
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE reader = nullptr;
    HANDLE writer = nullptr;
    if (CreatePipe(&reader, &writer, &inherited, 0)) {
        SetHandleInformation(reader, HANDLE_FLAG_INHERIT, 0);
        gNameReader.Reset(reader);
        gNameWriter.Reset(writer);
    }
}

// Starts the writer for exception and waits for it; the dump's name into name. 0 when the dump was written,
// otherwise the system error (WAIT_TIMEOUT: the writer did not end in time and was ended).
unsigned long DumpByWriter(EXCEPTION_POINTERS* exception, DWORD thread, char* name, size_t nameSize) {
    name[0] = '\0';
    PrepareReport();
    char arguments[kArgumentChars];
    const CrashDumpRequest request{GetCurrentProcessId(), thread, reinterpret_cast<uintptr_t>(exception)};
    size_t at = 0;
    ReportBuffers* b = Buffers();
    if (!b)
        return ERROR_NOT_ENOUGH_MEMORY;
    if (!b->ProgramPath[0] || !CrashDumpArguments(request, arguments, sizeof arguments) ||
        !Append(b->CommandLine, kCommandChars, at, L"\"") ||
        !Append(b->CommandLine, kCommandChars, at, b->ProgramPath) ||
        !Append(b->CommandLine, kCommandChars, at, L"\" ") ||
        !AppendAscii(b->CommandLine, kCommandChars, at, arguments))
        return ERROR_BUFFER_OVERFLOW;

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (gNameWriter) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = gNameWriter.Get();
    }
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(b->ProgramPath, b->CommandLine, nullptr, nullptr, gNameWriter ? TRUE : FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &started)) {
        const DWORD error = GetLastError();
        return error ? error : ERROR_FILE_NOT_FOUND;
    }
    UniqueKernelHandle writer(started.hProcess);
    CloseHandle(started.hThread);
    // A writer that hangs is ended: the crashed process must not outlive the bound, and its dump is lost either way.
    if (WaitForSingleObject(writer.Get(), kCrashDumpWriterWait) != WAIT_OBJECT_0) {
        TerminateProcess(writer.Get(), WAIT_TIMEOUT);
        return WAIT_TIMEOUT;
    }
    DWORD result = ERROR_WRITE_FAULT;
    GetExitCodeProcess(writer.Get(), &result);
    DWORD available = 0;
    DWORD read = 0;
    if (result == 0 && gNameReader && PeekNamedPipe(gNameReader.Get(), nullptr, 0, nullptr, &available, nullptr) &&
        available > 0 &&
        ReadFile(gNameReader.Get(), name, available < nameSize ? available : static_cast<DWORD>(nameSize - 1), &read,
                 nullptr))
        name[read] = '\0';
    return result;
}

DWORD WINAPI RunReporter(void*) {
    for (;;) {
        WaitForSingleObject(gReportAsked.Get(), INFINITE);
        gReportError = DumpByWriter(gAskedException, gAskedThread, gReportName, sizeof gReportName);
        SetEvent(gReportDone.Get());
    }
}

// The dump of the calling thread's crash, by the reporter where there is one (the writer's wait and a second more);
// before installation, by the calling thread itself.
unsigned long DumpCrash(EXCEPTION_POINTERS* exception, char* name, size_t nameSize) {
    name[0] = '\0';
    if (!gReporter)
        return DumpByWriter(exception, GetCurrentThreadId(), name, nameSize);
    gAskedException = exception;
    gAskedThread = GetCurrentThreadId();
    SetEvent(gReportAsked.Get());
    if (WaitForSingleObject(gReportDone.Get(), kCrashDumpWriterWait + 1000) != WAIT_OBJECT_0)
        return WAIT_TIMEOUT;
    for (size_t i = 0; i + 1 < nameSize && i + 1 < sizeof gReportName && gReportName[i]; ++i) {
        name[i] = gReportName[i];
        name[i + 1] = '\0';
    }
    return gReportError;
}

// Appended as it stands: the log's own trimming runs at its next ordinary line.
void AppendLogLine(const char* line) {
    const std::wstring& log = ErrorLogPath();
    if (log.empty())
        return;
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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
    const unsigned long error = DumpCrash(exception, name, sizeof name);

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
    PrepareReport();
    if (!gReporter) {
        gReportAsked.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        gReportDone.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        if (gReportAsked && gReportDone)
            gReporter.Reset(CreateThread(nullptr, 0, RunReporter, nullptr, 0, nullptr));
    }
    ULONG reserve = kStackReserve;
    SetThreadStackGuarantee(&reserve);
    // The report replaces the system's crash box: the tray program ends without asking anybody.
    SetErrorMode(SetErrorMode(0) | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(OnUnhandledException);
    std::set_terminate(OnTerminate);
}
