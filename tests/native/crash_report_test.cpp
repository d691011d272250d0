#include "platform/crash_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(CrashReport, DumpNameAndLogLineCarryTheMomentTheCodeAndTheDump) {
    const LogTime when{2026, 12, 10, 13, 8, 1};
    char name[64];
    ASSERT_TRUE(CrashDumpName(when, 4242, 1, name, sizeof name));
    EXPECT_STREQ(name, "Lumivex-20261210-130801-4242.dmp");
    char taken[64];
    ASSERT_TRUE(CrashDumpName(when, 4242, 2, taken, sizeof taken));
    EXPECT_STREQ(taken, "Lumivex-20261210-130801-4242-2.dmp");

    char line[256];
    // The line names whatever dump it is given, of an earlier version's form too.
    const char* dump = "Lumivex-20261210-130801.dmp";
    ASSERT_TRUE(CrashLogLine(when, 0xC0000005u, 0x401A2Bu, dump, 0, line, sizeof line));
    EXPECT_STREQ(line,
                 "2026-12-10 13:08:01  Lumivex ended on an unexpected error: exception C0000005 at 0000000000401A2B; "
                 "minidump Lumivex-20261210-130801.dmp\r\n");
    ASSERT_TRUE(CrashLogLine(when, 0xC0000005u, 0x401A2Bu, dump, 5, line, sizeof line));
    EXPECT_NE(std::string(line).find("the minidump Lumivex-20261210-130801.dmp could not be written (error 5)\r\n"),
              std::string::npos)
        << line;
    ASSERT_TRUE(CrashLogLine(when, 0, 0, dump, 0, line, sizeof line));
    EXPECT_STREQ(line,
                 "2026-12-10 13:08:01  Lumivex ended on an unexpected error: an exception that nothing caught; "
                 "minidump Lumivex-20261210-130801.dmp\r\n");
}

TEST(CrashReport, ATooSmallBufferGivesFalseAndAnEmptyText) {
    const LogTime when{2026, 12, 10, 13, 8, 1};
    char small[8] = "x";
    EXPECT_FALSE(CrashDumpName(when, 4242, 1, small, sizeof small));
    EXPECT_STREQ(small, "");
    small[0] = 'x';
    EXPECT_FALSE(CrashLogLine(when, 0, 0, "Lumivex-20261210-130801.dmp", 0, small, sizeof small));
    EXPECT_STREQ(small, "");
    EXPECT_FALSE(CrashDumpName(when, 4242, 1, nullptr, 0));
    EXPECT_FALSE(CrashDumpArguments({4242, 17, 0x22F9A0}, small, sizeof small));
    EXPECT_STREQ(small, "");
}

TEST(CrashReport, TheWritersArgumentsReadBackAsTheRequest) {
    char arguments[64];
    ASSERT_TRUE(CrashDumpArguments({4242, 17, 0x22F9A0}, arguments, sizeof arguments));
    EXPECT_STREQ(arguments, "/crashdump 4242 17 0x000000000022F9A0");

    for (const CrashDumpRequest sent : {CrashDumpRequest{4242, 17, 0x22F9A0}, CrashDumpRequest{UINT32_MAX, 1, 0},
                                        CrashDumpRequest{8, UINT32_MAX, UINT64_MAX}}) {
        ASSERT_TRUE(CrashDumpArguments(sent, arguments, sizeof arguments));
        const std::string text = arguments;
        CrashDumpRequest read;
        ASSERT_EQ(ParseCrashDumpCommand(std::wstring(text.begin(), text.end()), read), CrashDumpCommand::Request)
            << text;
        EXPECT_EQ(read.ProcessId, sent.ProcessId);
        EXPECT_EQ(read.ThreadId, sent.ThreadId);
        EXPECT_EQ(read.ExceptionPointers, sent.ExceptionPointers);
    }
    CrashDumpRequest read;
    ASSERT_EQ(ParseCrashDumpCommand(L"  /CrashDump\t12 34   0xabcDEF  ", read), CrashDumpCommand::Request);
    EXPECT_EQ(read.ProcessId, 12u);
    EXPECT_EQ(read.ThreadId, 34u);
    EXPECT_EQ(read.ExceptionPointers, 0xABCDEFu);
}

TEST(CrashReport, OtherArgumentsAreNoRequestAndABadRequestIsMalformed) {
    struct Case {
        const wchar_t* Arguments;
        CrashDumpCommand Expected;
    };
    const Case cases[] = {
        {L"", CrashDumpCommand::None},
        {L"/settings x", CrashDumpCommand::None},
        {L"/crashdumps 1 2 0x3", CrashDumpCommand::None},
        {L"crashdump 1 2 0x3", CrashDumpCommand::None},
        {L"/crashdump", CrashDumpCommand::Malformed},
        {L"/crashdump 1 2", CrashDumpCommand::Malformed},
        {L"/crashdump 1 2 3", CrashDumpCommand::Malformed},
        {L"/crashdump 1 2 0x", CrashDumpCommand::Malformed},
        {L"/crashdump 1 2 0x3g", CrashDumpCommand::Malformed},
        {L"/crashdump 1 2 0x10000000000000000", CrashDumpCommand::Malformed},
        {L"/crashdump 0 2 0x3", CrashDumpCommand::Malformed},
        {L"/crashdump 1 0 0x3", CrashDumpCommand::Malformed},
        {L"/crashdump -1 2 0x3", CrashDumpCommand::Malformed},
        {L"/crashdump 4294967296 2 0x3", CrashDumpCommand::Malformed},
        {L"/crashdump 1 2x 0x3", CrashDumpCommand::Malformed},
        {L"/crashdump 1 2 0x3 4", CrashDumpCommand::Malformed},
    };
    for (const Case& c : cases) {
        CrashDumpRequest request{7, 8, 9};
        EXPECT_EQ(ParseCrashDumpCommand(c.Arguments, request), c.Expected) << std::wstring(c.Arguments);
        EXPECT_EQ(request.ProcessId, 7u) << "a request that is not read leaves the caller's as it was";
    }
}

TEST(CrashReport, OnlyTheOldestDumpsBeyondTheKeptNumberAreDeleted) {
    const std::vector<std::wstring> folder = {
        L"Lumivex-20261210-130801-4242.dmp",  L"Lumivex.log",
        L"Lumivex-20250101-000000.dmp",       L"Lumivex-20261210-130801-4242-2.dmp",
        L"Lumivex-20261101-120000-17.dmp",    L"Lumivex-2026-notes.dmp",
        L"Lumivex-20261209-235959-99999.dmp", L"Lumivex-20260101-000000-1.txt",
        L"Lumivex-20240615-080000-5.dmp",     L"Lumivex-20261210-130801--4242.dmp",
        L"Lumivex-20270101-000000-3.dmp",     L"lumivex.Settings",
    };
    EXPECT_EQ(CrashDumpsToDelete(folder),
              (std::vector<std::wstring>{L"Lumivex-20240615-080000-5.dmp", L"Lumivex-20250101-000000.dmp"}));
    EXPECT_EQ(CrashDumpsToDelete(folder, 2),
              (std::vector<std::wstring>{L"Lumivex-20240615-080000-5.dmp", L"Lumivex-20250101-000000.dmp",
                                         L"Lumivex-20261101-120000-17.dmp", L"Lumivex-20261209-235959-99999.dmp",
                                         L"Lumivex-20261210-130801-4242-2.dmp"}));
    EXPECT_TRUE(CrashDumpsToDelete({L"Lumivex-20261210-130801-4242.dmp", L"a.dmp"}).empty());
}
