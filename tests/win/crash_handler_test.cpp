#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win_test_util.h"

namespace {
using WinTest::TempDir;

std::vector<std::wstring> DumpsIn(const TempDir& dir) {
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(dir.File(L"Lumivex-*.dmp").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return found;
    do
        found.push_back(fd.cFileName);
    while (FindNextFileW(h, &fd));
    FindClose(h);
    return found;
}

struct CrashCase {
    const wchar_t* How;
    DWORD ExitCode;
    const char* Code;
    bool WithLog;  // without one (before the settings folder is known) the dump goes to the temporary folder
};

// Points the temporary folder of the programs this test starts somewhere else while it lives.
class TemporaryFolderOfChildren {
  public:
    explicit TemporaryFolderOfChildren(const std::wstring& folder) {
        wchar_t old[MAX_PATH] = {};
        had_ = GetEnvironmentVariableW(L"TMP", old, MAX_PATH) > 0;
        old_ = old;
        SetEnvironmentVariableW(L"TMP", folder.c_str());
    }
    ~TemporaryFolderOfChildren() { SetEnvironmentVariableW(L"TMP", had_ ? old_.c_str() : nullptr); }

  private:
    bool had_ = false;
    std::wstring old_;
};

class CrashingProgram : public ::testing::TestWithParam<CrashCase> {};

TEST_P(CrashingProgram, LeavesAMinidumpAndOneLogLineThenEnds) {
    const CrashCase c = GetParam();
    TempDir dir;
    const std::wstring log = dir.File(L"Lumivex.log");
    ASSERT_TRUE(WinTest::WriteBytes(log, "2026-01-01 00:00:00  an earlier error\r\n"));
    HANDLE process = nullptr;
    {
        TemporaryFolderOfChildren temp(dir.Path());
        process = WinTest::Launch(WinTest::TestFolder() + L"lumivex_test_crasher.exe",
                                  L"\"" + (c.WithLog ? log : std::wstring()) + L"\" " + c.How);
    }
    ASSERT_NE(process, nullptr);
    ASSERT_EQ(WaitForSingleObject(process, 120000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    GetExitCodeProcess(process, &exitCode);
    CloseHandle(process);
    EXPECT_EQ(exitCode, c.ExitCode);

    const std::vector<std::wstring> dumps = DumpsIn(dir);
    ASSERT_EQ(dumps.size(), 1u);
    EXPECT_EQ(dumps[0].size(), std::wstring(L"Lumivex-20261210-130801.dmp").size());
    const std::string dump = WinTest::ReadBytes(dir.File(dumps[0]));
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
                                           CrashCase{L"null", 0xC0000005, "", false}));
}  // namespace
