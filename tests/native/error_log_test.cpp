#include "platform/error_log.h"

#include <gtest/gtest.h>

TEST(ErrorLog, OneErrorIsOneStampedLine) {
    EXPECT_EQ(ErrorLogLine({2026, 12, 1, 9, 5, 7}, "Unable to write to C:\\x\r\n\r\nAccess is denied."),
              "2026-12-01 09:05:07  Unable to write to C:\\x / Access is denied.\r\n");
    EXPECT_EQ(ErrorLogLine({2026, 1, 2, 3, 4, 5}, "trailing\r\n"), "2026-01-02 03:04:05  trailing\r\n");
}

TEST(ErrorLog, BeyondTheCapTheOldestHalfGoesAtALineBoundary) {
    std::string log;
    for (int i = 0; i < 100; ++i)
        log = AppendToErrorLog(log, "line " + std::to_string(i) + "\r\n", 100);
    EXPECT_LE(log.size(), 100u);
    EXPECT_EQ(log.compare(0, 5, "line "), 0) << log;  // starts with a whole line
    EXPECT_EQ(log.substr(log.size() - 9), "line 99\r\n");
    // Below the cap nothing is dropped.
    EXPECT_EQ(AppendToErrorLog("a\r\n", "b\r\n", 100), "a\r\nb\r\n");
    // A single line longer than the cap keeps its end.
    EXPECT_EQ(AppendToErrorLog("old\r\n", std::string(20, 'x') + "\r\n", 10), std::string(8, 'x') + "\r\n");
}
