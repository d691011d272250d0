#pragma once

#include <cstddef>
#include <string>

constexpr size_t kErrorLogCap = 64 * 1024;

struct LogTime {
    int Year, Month, Day, Hour, Minute, Second;
};

// "2026-12-10 13:08:01  text" with CR LF; line breaks inside text become " / " so one error is one line.
std::string ErrorLogLine(const LogTime& time, const std::string& text);

// The log after appending line: while it stays within cap the old contents are kept whole; beyond it the oldest
// half is dropped at a line boundary, so the newest errors are always there.
std::string AppendToErrorLog(const std::string& log, const std::string& line, size_t cap = kErrorLogCap);
