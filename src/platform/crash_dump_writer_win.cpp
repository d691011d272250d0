#include "platform/crash_dump_writer_win.h"

#include <windows.h>
// after windows.h
#include <dbghelp.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <vector>

#include "platform/paths_win.h"
#include "platform/system_library_win.h"
#include "platform/unique_handle_win.h"

namespace {
using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE,
                                          DWORD,
                                          HANDLE,
                                          MINIDUMP_TYPE,
                                          PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION,
                                          PMINIDUMP_CALLBACK_INFORMATION);

// Copies beyond this many of one name give up: something else is wrong with the folder.
constexpr unsigned kMostCopies = 100;

unsigned long LastErrorOr(unsigned long otherwise) {
    const DWORD error = GetLastError();
    return error ? error : otherwise;
}

std::wstring LocalAppData() {
    wchar_t folder[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH);
    if (n > 0 && n < MAX_PATH)
        return folder;
    if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder) == S_OK)
        return folder;
    return std::wstring();
}

std::wstring TemporaryDumpFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, folder);
    return n > 0 && n <= MAX_PATH ? WithTrailingBackslash(folder) + L"Lumivex\\" : std::wstring();
}

struct DumpFile {
    UniqueFile File;
    std::wstring Folder;
    std::wstring Path;
    std::string Name;
};

using SymSetOptionsFn = DWORD(WINAPI*)(DWORD);
using SymInitializeWFn = BOOL(WINAPI*)(HANDLE, PCWSTR, BOOL);
using SymCleanupFn = BOOL(WINAPI*)(HANDLE);

// The crashed process made known to dbghelp without loading any module's symbols, which a dump does not hold. A
// dbghelp that meets a process it does not know may load the symbols of every module first (Wine's does, taking
// seconds of the crashed process's bounded wait).
class SymbolSession {
  public:
    SymbolSession(const SystemLibrary& dbghelp, HANDLE process) : process_(process) {
        auto setOptions = dbghelp.Proc<SymSetOptionsFn>("SymSetOptions");
        auto initialize = dbghelp.Proc<SymInitializeWFn>("SymInitializeW");
        cleanup_ = dbghelp.Proc<SymCleanupFn>("SymCleanup");
        if (!setOptions || !initialize || !cleanup_)
            return;
        setOptions(SYMOPT_DEFERRED_LOADS | SYMOPT_NO_PROMPTS | SYMOPT_FAIL_CRITICAL_ERRORS);
        active_ = initialize(process, nullptr, FALSE) != FALSE;
    }
    ~SymbolSession() {
        if (active_)
            cleanup_(process_);
    }
    SymbolSession(const SymbolSession&) = delete;
    SymbolSession& operator=(const SymbolSession&) = delete;

  private:
    HANDLE process_;
    SymCleanupFn cleanup_ = nullptr;
    bool active_ = false;
};

// A dump is deleted when its file closes until it is whole: a writer that fails, or that the crashed process ends
// because it took too long, leaves no torn dump behind.
bool KeepOnClose(HANDLE file, bool keep) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = keep ? FALSE : TRUE;
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

// A new file in folder named for this crash: never one that is there already (an earlier process of the same id
// in the same second takes the next copy number).
unsigned long CreateDumpFile(const std::wstring& folder, const LogTime& when, uint32_t processId, DumpFile& dump) {
    if (folder.empty() || !ForceDirectories(folder))
        return ERROR_PATH_NOT_FOUND;
    for (unsigned copy = 1; copy <= kMostCopies; ++copy) {
        char name[64];
        if (!CrashDumpName(when, processId, copy, name, sizeof name))
            return ERROR_BUFFER_OVERFLOW;
        const std::wstring path = folder + std::wstring(name, name + strlen(name));
        dump.File.Reset(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (dump.File) {
            KeepOnClose(dump.File.Get(), false);
            dump.Folder = folder;
            dump.Path = path;
            dump.Name = name;
            return 0;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return error ? error : ERROR_WRITE_FAULT;
    }
    return ERROR_FILE_EXISTS;
}

// Only the newest kCrashDumpsKept dumps stay in folder.
void DeleteOldDumps(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"Lumivex-*.dmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    for (const std::wstring& name : CrashDumpsToDelete(names))
        DeleteFileW((folder + name).c_str());
}

// The crashed process sees which dump was written (to name it in its error log) through the pipe it gave as this
// process's standard output. Started by hand, from a console, the writer tells nobody.
void TellTheCrashedProcess(const std::string& name) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (!out || out == INVALID_HANDLE_VALUE || GetFileType(out) != FILE_TYPE_PIPE)
        return;
    DWORD written = 0;
    WriteFile(out, name.data(), static_cast<DWORD>(name.size()), &written, nullptr);
}
}  // namespace

std::wstring CrashDumpFolder() {
    const std::wstring programFolder = ProgramFolder();
    if (!PortableSettingsFile(programFolder).empty())
        return WithTrailingBackslash(programFolder);
    const std::wstring base = LocalAppData();
    return base.empty() ? std::wstring() : WithTrailingBackslash(base) + L"Lumivex\\CrashDumps\\";
}

// This process is healthy: the loader, the heap and dbghelp are free to use here, unlike in the crashed one, which
// only waits. The exception pointers are the crashed process's addresses, so dbghelp reads them from there.
unsigned long RunCrashDumpWriter(const CrashDumpRequest& request) {
    HardenDllSearch();
    // The writer's own failure only ends it (as abort() would), without a box and without a writer for the writer.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    std::set_terminate([] {
        TerminateProcess(GetCurrentProcess(), 3);
        std::_Exit(3);
    });
    UniqueKernelHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_DUP_HANDLE, FALSE, request.ProcessId));
    if (!process)
        return LastErrorOr(ERROR_INVALID_PARAMETER);
    SystemLibrary dbghelp(L"dbghelp.dll");
    auto write = dbghelp.Proc<MiniDumpWriteDumpFn>("MiniDumpWriteDump");
    if (!write)
        return dbghelp ? ERROR_PROC_NOT_FOUND : LastErrorOr(ERROR_MOD_NOT_FOUND);
    SymbolSession symbols(dbghelp, process.Get());

    SYSTEMTIME now{};
    GetLocalTime(&now);
    const LogTime stamp{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    DumpFile dump;
    // A copy on a read-only medium (or a folder that cannot be made) writes into the temporary folder instead.
    unsigned long error = CreateDumpFile(CrashDumpFolder(), stamp, request.ProcessId, dump);
    if (error != 0)
        error = CreateDumpFile(TemporaryDumpFolder(), stamp, request.ProcessId, dump);
    if (error != 0)
        return error;

    MINIDUMP_EXCEPTION_INFORMATION exception{};
    exception.ThreadId = request.ThreadId;
    exception.ExceptionPointers =
        reinterpret_cast<PEXCEPTION_POINTERS>(static_cast<uintptr_t>(request.ExceptionPointers));
    exception.ClientPointers = TRUE;
    const BOOL written = write(process.Get(), request.ProcessId, dump.File.Get(), MiniDumpNormal,
                               request.ExceptionPointers ? &exception : nullptr, nullptr, nullptr);
    if (!written) {
        error = LastErrorOr(ERROR_WRITE_FAULT);
        dump.File.Reset();
        DeleteFileW(dump.Path.c_str());
        return error;
    }
    const bool kept = KeepOnClose(dump.File.Get(), true);
    error = kept ? 0 : LastErrorOr(ERROR_WRITE_FAULT);
    dump.File.Reset();
    if (!kept)
        return error;
    DeleteOldDumps(dump.Folder);
    TellTheCrashedProcess(dump.Name);
    return 0;
}
