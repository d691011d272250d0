#include <windows.h>
#include <tlhelp32.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/crash_handler_win.h"
#include "win_test_util.h"

namespace {
using WinTest::TempDir;

std::vector<std::wstring> DumpsIn(const std::wstring& folder) {
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"Lumivex-*.dmp").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return found;
    do
        found.push_back(fd.cFileName);
    while (FindNextFileW(h, &fd));
    FindClose(h);
    return found;
}

// Sets environment variables of the programs this test starts while it lives.
class EnvironmentOfChildren {
  public:
    explicit EnvironmentOfChildren(std::vector<std::pair<std::wstring, std::wstring>> values) {
        for (const auto& [name, value] : values) {
            wchar_t old[MAX_PATH] = {};
            const bool had = GetEnvironmentVariableW(name.c_str(), old, MAX_PATH) > 0;
            old_.push_back({name, had, old});
            SetEnvironmentVariableW(name.c_str(), value.c_str());
        }
    }
    ~EnvironmentOfChildren() {
        for (const Old& old : old_)
            SetEnvironmentVariableW(old.Name.c_str(), old.Had ? old.Value.c_str() : nullptr);
    }

  private:
    struct Old {
        std::wstring Name;
        bool Had;
        std::wstring Value;
    };
    std::vector<Old> old_;
};

struct Crash {
    DWORD ProcessId = 0;
    DWORD ExitCode = 0;
    DWORD Milliseconds = 0;
    bool Ended = false;
};

// Runs the crashing helper to its end. beforeStart runs while it is created suspended, knowing its process id.
Crash RunCrasher(const std::wstring& exe,
                 const std::wstring& arguments,
                 const std::function<void(DWORD)>& beforeStart = nullptr) {
    std::wstring command = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    Crash crash;
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &started))
        return crash;
    crash.ProcessId = started.dwProcessId;
    if (beforeStart)
        beforeStart(started.dwProcessId);
    const DWORD start = GetTickCount();
    ResumeThread(started.hThread);
    crash.Ended = WaitForSingleObject(started.hProcess, 120000) == WAIT_OBJECT_0;
    crash.Milliseconds = GetTickCount() - start;
    GetExitCodeProcess(started.hProcess, &crash.ExitCode);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return crash;
}

std::wstring Crasher() {
    return WinTest::TestFolder() + L"lumivex_test_crasher.exe";
}

// "Lumivex-YYYYMMDD-HHMMSS-<pid>.dmp"
bool NamesTheProcess(const std::wstring& name, DWORD processId) {
    const std::wstring end = L"-" + std::to_wstring(processId) + L".dmp";
    return name.size() == std::wstring(L"Lumivex-20261210-130801").size() + end.size() &&
           name.compare(name.size() - end.size(), end.size(), end) == 0;
}

std::vector<DWORD> ChildrenOf(DWORD processId) {
    std::vector<DWORD> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID == processId)
            children.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return children;
}

struct CrashCase {
    const wchar_t* How;
    DWORD ExitCode;
    const char* Code;
    bool WithLog;  // without one (before the settings folder is known) there is no log line, the dump all the same
};

class CrashingProgram : public ::testing::TestWithParam<CrashCase> {};

TEST_P(CrashingProgram, LeavesAMinidumpAndOneLogLineThenEnds) {
    const CrashCase c = GetParam();
    // Wine ends a thread whose stack overflows without dispatching the exception when less than a page is left below
    // the guard page: it does not keep the reserve that SetThreadStackGuarantee asks for.
    if (std::wstring(c.How) == L"overflow" && WinTest::OnWine())
        GTEST_SKIP() << "Wine gives no stack overflow to the handler";
    TempDir dir;
    const std::wstring log = dir.File(L"Lumivex.log");
    const std::wstring dumpFolder = dir.File(L"Lumivex\\CrashDumps\\");
    ASSERT_TRUE(WinTest::WriteBytes(log, "2026-01-01 00:00:00  an earlier error\r\n"));
    Crash crash;
    {
        EnvironmentOfChildren environment({{L"TMP", dir.Path()}, {L"LOCALAPPDATA", dir.Path()}});
        crash = RunCrasher(Crasher(), L"\"" + (c.WithLog ? log : std::wstring()) + L"\" " + c.How);
    }
    ASSERT_TRUE(crash.Ended);
    EXPECT_EQ(crash.ExitCode, c.ExitCode);

    // Written by the second copy of the program, named for the crashed one.
    const std::vector<std::wstring> dumps = DumpsIn(dumpFolder);
    ASSERT_EQ(dumps.size(), 1u);
    EXPECT_TRUE(NamesTheProcess(dumps[0], crash.ProcessId)) << Narrow(dumps[0]);
    EXPECT_TRUE(DumpsIn(dir.Path()).empty());
    const std::string dump = WinTest::ReadBytes(dumpFolder + dumps[0]);
    ASSERT_GE(dump.size(), 32u);
    EXPECT_EQ(dump.substr(0, 4), "MDMP");

    const std::string text = WinTest::ReadBytes(log);
    if (!c.WithLog) {
        EXPECT_EQ(text, "2026-01-01 00:00:00  an earlier error\r\n");
        return;
    }
    EXPECT_EQ(text.find("2026-01-01 00:00:00  an earlier error\r\n"), 0u) << text;
    const std::string crashLine = text.substr(text.find('\n') + 1);
    EXPECT_NE(crashLine.find(c.Code), std::string::npos) << crashLine;
    EXPECT_NE(crashLine.find("minidump " + Narrow(dumps[0]) + "\r\n"), std::string::npos) << crashLine;
    EXPECT_EQ(crashLine.find('\n'), crashLine.size() - 1) << "one line";
}

INSTANTIATE_TEST_SUITE_P(CrashHandler,
                         CrashingProgram,
                         ::testing::Values(CrashCase{L"null", 0xC0000005, "exception C0000005 at ", true},
                                           CrashCase{L"throw", 3, "an exception that nothing caught", true},
                                           // The report is the program's default end, not only once installed.
                                           CrashCase{L"early-throw", 3, "an exception that nothing caught", true},
                                           CrashCase{L"null", 0xC0000005, "", false},
                                           // The stack kept in reserve lets the handler start the writer.
                                           CrashCase{L"overflow", 0xC00000FD, "exception C00000FD at ", true}));

// A portable copy keeps its dumps beside its settings file; when the folder for dumps cannot be written, they go
// to the temporary folder.
TEST(CrashHandler, DumpsGoBesideAPortableCopysSettingsOrElseToTheTemporaryFolder) {
    struct Case {
        bool Portable;
        bool DumpFolderBlocked;  // a file where the folder for dumps would be made
        const wchar_t* Expected;
    };
    for (const Case c : {Case{true, false, L"program\\"}, Case{false, false, L"local\\Lumivex\\CrashDumps\\"},
                         Case{false, true, L"temp\\Lumivex\\"}}) {
        TempDir dir;
        for (const wchar_t* folder : {L"program", L"local", L"temp"})
            ASSERT_TRUE(CreateDirectoryW(dir.File(folder).c_str(), nullptr));
        const std::wstring exe = dir.File(L"program\\Lumivex.exe");
        ASSERT_TRUE(CopyFileW(Crasher().c_str(), exe.c_str(), TRUE));
        if (c.Portable) {
            ASSERT_TRUE(WinTest::WriteBytes(dir.File(L"program\\Lumivex.Settings"), ""));
        }
        if (c.DumpFolderBlocked) {
            ASSERT_TRUE(WinTest::WriteBytes(dir.File(L"local\\Lumivex"), "not a folder"));
        }
        Crash crash;
        {
            EnvironmentOfChildren environment({{L"TMP", dir.File(L"temp")}, {L"LOCALAPPDATA", dir.File(L"local")}});
            crash = RunCrasher(exe, L"\"\" null");
        }
        ASSERT_TRUE(crash.Ended);
        const std::vector<std::wstring> dumps = DumpsIn(dir.File(c.Expected));
        ASSERT_EQ(dumps.size(), 1u) << Narrow(c.Expected);
        EXPECT_TRUE(NamesTheProcess(dumps[0], crash.ProcessId)) << Narrow(dumps[0]);
        size_t everywhere = 0;
        for (const wchar_t* folder : {L"program\\", L"local\\Lumivex\\CrashDumps\\", L"temp\\Lumivex\\"})
            everywhere += DumpsIn(dir.File(folder)).size();
        EXPECT_EQ(everywhere, 1u) << Narrow(c.Expected);
    }
}

// Five dumps stay, the newest; a dump whose name is taken (the same process id in the same second) is written
// beside it under the next copy number.
TEST(CrashHandler, KeepsTheNewestFiveDumpsAndNeverOverwritesOne) {
    TempDir dir;
    const std::wstring dumpFolder = dir.File(L"Lumivex\\CrashDumps\\");
    ASSERT_TRUE(CreateDirectoryW(dir.File(L"Lumivex").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(dumpFolder.c_str(), nullptr));
    // Six older dumps, of this version's form and of the earlier one without a process id.
    const std::vector<std::wstring> older = {L"Lumivex-20200101-000000.dmp",   L"Lumivex-20210101-000000-7.dmp",
                                             L"Lumivex-20220101-000000-7.dmp", L"Lumivex-20230101-000000-7.dmp",
                                             L"Lumivex-20240101-000000-7.dmp", L"Lumivex-20250101-000000-7.dmp"};
    for (const std::wstring& name : older)
        ASSERT_TRUE(WinTest::WriteBytes(dumpFolder + name, "an old dump"));
    ASSERT_TRUE(WinTest::WriteBytes(dumpFolder + L"Lumivex-notes.dmp", "not a dump of the program"));

    // Names of this process for the next seconds, taken before it starts.
    std::vector<std::wstring> taken;
    Crash crash;
    {
        EnvironmentOfChildren environment({{L"TMP", dir.Path()}, {L"LOCALAPPDATA", dir.Path()}});
        crash = RunCrasher(Crasher(), L"\"\" null", [&](DWORD processId) {
            FILETIME now{};
            GetSystemTimeAsFileTime(&now);
            for (int second = 0; second < 3; ++second) {
                ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
                t.QuadPart += 10000000ull * static_cast<unsigned>(second);
                FILETIME utc{t.LowPart, t.HighPart};
                FILETIME local{};
                SYSTEMTIME s{};
                FileTimeToLocalFileTime(&utc, &local);
                FileTimeToSystemTime(&local, &s);
                wchar_t name[64];
                swprintf(name, 64, L"Lumivex-%04u%02u%02u-%02u%02u%02u-%lu.dmp", s.wYear, s.wMonth, s.wDay, s.wHour,
                         s.wMinute, s.wSecond, static_cast<unsigned long>(processId));
                taken.push_back(name);
                WinTest::WriteBytes(dumpFolder + name, "taken");
            }
        });
    }
    ASSERT_TRUE(crash.Ended);
    std::vector<std::wstring> dumps = DumpsIn(dumpFolder);
    std::sort(dumps.begin(), dumps.end());
    // Of the ten dumps, the five oldest went; the taken names stay untouched beside the new one.
    std::vector<std::wstring> written;
    for (const std::wstring& name : dumps) {
        if (WinTest::ReadBytes(dumpFolder + name).substr(0, 4) == "MDMP")
            written.push_back(name);
    }
    for (const std::wstring& name : taken)
        EXPECT_EQ(WinTest::ReadBytes(dumpFolder + name), "taken") << Narrow(name);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].substr(written[0].size() - 6), L"-2.dmp") << Narrow(written[0]);
    EXPECT_EQ(dumps.size(), 6u) << "five dumps and the file that is none";
    for (const std::wstring& name : older) {
        EXPECT_EQ(GetFileAttributesW((dumpFolder + name).c_str()) == INVALID_FILE_ATTRIBUTES, name != older.back())
            << Narrow(name);
    }
    EXPECT_NE(GetFileAttributesW((dumpFolder + L"Lumivex-notes.dmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

// A writer that never answers costs the crashed process at most the bound: it ends it and ends too, and the log
// tells that no dump was written.
TEST(CrashHandler, EndsWithinTheBoundWhenTheWriterHangs) {
    TempDir dir;
    const std::wstring log = dir.File(L"Lumivex.log");
    Crash crash;
    {
        EnvironmentOfChildren environment(
            {{L"TMP", dir.Path()}, {L"LOCALAPPDATA", dir.Path()}, {L"LUMIVEX_TEST_WRITER_HANGS", L"1"}});
        crash = RunCrasher(Crasher(), L"\"" + log + L"\" null");
    }
    ASSERT_TRUE(crash.Ended);
    EXPECT_EQ(crash.ExitCode, 0xC0000005u);
    EXPECT_GE(crash.Milliseconds + 500, kCrashDumpWriterWait);
    EXPECT_LT(crash.Milliseconds, kCrashDumpWriterWait + 10000);
    EXPECT_TRUE(ChildrenOf(crash.ProcessId).empty()) << "the writer was ended";
    EXPECT_TRUE(DumpsIn(dir.File(L"Lumivex\\CrashDumps\\")).empty());
    const std::string text = WinTest::ReadBytes(log);
    EXPECT_NE(text.find("exception C0000005 at "), std::string::npos) << text;
    EXPECT_NE(text.find("could not be written (error 258)\r\n"), std::string::npos) << text;
}
}  // namespace
