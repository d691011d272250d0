#include "platform/crash_report.h"

#include <gtest/gtest.h>

#include <string>

TEST(CrashReport, DumpNameAndLogLineCarryTheMomentTheCodeAndTheDump) {
    const LogTime when{2026, 12, 10, 13, 8, 1};
    char name[64];
    ASSERT_TRUE(CrashDumpName(when, name, sizeof name));
    EXPECT_STREQ(name, "Lumivex-20261210-130801.dmp");

    char line[256];
    ASSERT_TRUE(CrashLogLine(when, 0xC0000005u, 0x401A2Bu, name, 0, line, sizeof line));
    EXPECT_STREQ(line,
                 "2026-12-10 13:08:01  Lumivex ended on an unexpected error: exception C0000005 at 0000000000401A2B; "
                 "minidump Lumivex-20261210-130801.dmp\r\n");
    ASSERT_TRUE(CrashLogLine(when, 0xC0000005u, 0x401A2Bu, name, 5, line, sizeof line));
    EXPECT_NE(std::string(line).find("the minidump Lumivex-20261210-130801.dmp could not be written (error 5)\r\n"),
              std::string::npos)
        << line;
    ASSERT_TRUE(CrashLogLine(when, 0, 0, name, 0, line, sizeof line));
    EXPECT_STREQ(line,
                 "2026-12-10 13:08:01  Lumivex ended on an unexpected error: an exception that nothing caught; "
                 "minidump Lumivex-20261210-130801.dmp\r\n");
}

TEST(CrashReport, ATooSmallBufferGivesFalseAndAnEmptyText) {
    const LogTime when{2026, 12, 10, 13, 8, 1};
    char small[8] = "x";
    EXPECT_FALSE(CrashDumpName(when, small, sizeof small));
    EXPECT_STREQ(small, "");
    small[0] = 'x';
    EXPECT_FALSE(CrashLogLine(when, 0, 0, "Lumivex-20261210-130801.dmp", 0, small, sizeof small));
    EXPECT_STREQ(small, "");
    EXPECT_FALSE(CrashDumpName(when, nullptr, 0));
}
