#pragma once

#include <cstddef>
#include <string>

constexpr size_t kErrorLogCap = 64 * 1024;

class FixedText;

// A moment of the local clock.
struct LogTime {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

// The moment with the given separators between the date's fields, between date and time and between the time's:
// "-", " ", ":" write "2026-12-10 13:08:01", the stamp that starts every line of the log.
void AddLogTime(FixedText& text, const LogTime& time, const char* inDate, const char* between, const char* inTime);

// "2026-12-10 13:08:01  text" with CR LF; line breaks inside text become " / " so one error is one line.
std::string ErrorLogLine(const LogTime& time, const std::string& text);

// The log after appending line: while it stays within cap the old contents are kept whole; beyond it the oldest
// half is dropped at a line boundary, so the newest errors are always there.
std::string AppendToErrorLog(const std::string& log, const std::string& line, size_t cap = kErrorLogCap);
