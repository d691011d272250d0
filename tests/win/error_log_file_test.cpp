// The error log on disk: writers that have it open at the same time, and its cap.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/error_log.h"
#include "platform/error_report_win.h"
#include "platform/unique_handle_win.h"
#include "win_test_util.h"

using namespace WinTest;

namespace {
// Points the log at a file of its own for one test.
struct LogAt {
    explicit LogAt(const std::wstring& path) { SetErrorLogPath(path); }
    ~LogAt() { SetErrorLogPath(L""); }
};

// Two threads log at once, each its own numbered lines, as two copies of the program would.
void LogFromTwoWriters(int linesEach) {
    std::vector<std::thread> writers;
    for (int writer = 0; writer < 2; ++writer) {
        writers.emplace_back([writer, linesEach] {
            for (int i = 0; i < linesEach; ++i)
                LogError("writer " + std::to_string(writer) + " line " + std::to_string(i));
        });
    }
    for (std::thread& t : writers)
        t.join();
}

// The log's lines by writer: the line numbers in the order they stand. Text that is no whole line of a writer
// counts as writer -1.
std::map<int, std::vector<int>> LinesByWriter(const std::string& log) {
    std::map<int, std::vector<int>> found;
    size_t at = 0;
    while (at < log.size()) {
        size_t end = log.find("\r\n", at);
        const std::string line = log.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? log.size() : end + 2;
        int writer = -1, number = -1;
        const size_t mark = line.find("  writer ");
        if (end != std::string::npos && mark == 19 &&
            sscanf(line.c_str() + mark, "  writer %d line %d", &writer, &number) == 2) {
            found[writer].push_back(number);
        } else {
            found[-1].push_back(0);
        }
    }
    return found;
}
}  // namespace

// Another copy's lines, and the crash report's, land in the same log: an open that shares no writing would turn the
// others away, and their lines would be lost.
TEST(ErrorLogFile, WritersAtTheSameTimeLoseNoLine) {
    TempDir dir;
    const std::wstring path = dir.File(L"Lumivex.log");
    LogAt log(path);
    // Held open for appending throughout, as the crash report opens it.
    UniqueFile other(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(other);
    const int kLines = 300;  // both writers' lines stay well within the cap
    LogFromTwoWriters(kLines);
    const std::string foreign = "crash line\r\n";
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(other.Get(), foreign.data(), static_cast<DWORD>(foreign.size()), &written, nullptr));
    LogError("after");

    const std::string text = ReadBytes(path);
    ASSERT_LE(text.size(), kErrorLogCap);
    std::map<int, std::vector<int>> lines = LinesByWriter(text.substr(0, text.find(foreign)));
    for (int writer = 0; writer < 2; ++writer) {
        ASSERT_EQ(lines[writer].size(), static_cast<size_t>(kLines)) << writer;
        for (int i = 0; i < kLines; ++i)
            EXPECT_EQ(lines[writer][static_cast<size_t>(i)], i) << writer;
    }
    EXPECT_EQ(lines.count(-1), 0u);
    // The other handle's line went to the end, and the next line after it.
    EXPECT_EQ(text.size() - text.find(foreign), foreign.size() + ErrorLogLine({}, "after").size());
}

// However the log grew, by this program or by another hand, a line never leaves it beyond its cap, and the newest
// lines of every writer are there.
TEST(ErrorLogFile, CapHoldsForEveryLine) {
    TempDir dir;
    const std::wstring path = dir.File(L"Lumivex.log");
    LogAt log(path);
    const int kLines = 2000;  // together about two and a half times the cap
    LogFromTwoWriters(kLines);
    std::string text = ReadBytes(path);
    EXPECT_LE(text.size(), kErrorLogCap);
    EXPECT_GT(text.size(), kErrorLogCap / 3);
    std::map<int, std::vector<int>> lines = LinesByWriter(text);
    EXPECT_EQ(lines.count(-1), 0u) << "the log starts and ends at whole lines";
    for (int writer = 0; writer < 2; ++writer) {
        ASSERT_FALSE(lines[writer].empty()) << writer;
        EXPECT_EQ(lines[writer].back(), kLines - 1) << writer;
        for (size_t i = 1; i < lines[writer].size(); ++i)
            ASSERT_EQ(lines[writer][i], lines[writer][i - 1] + 1) << writer;
    }

    // A log that another hand took past the cap (a crash line appended as it stands) is back within it at the next
    // line, which is the last.
    {
        UniqueFile other(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(other);
        const std::string crash(kErrorLogCap, 'c');
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(other.Get(), crash.data(), static_cast<DWORD>(crash.size()), &written, nullptr));
    }
    ASSERT_GT(ReadBytes(path).size(), kErrorLogCap);
    LogError("writer 0 line 5000");
    text = ReadBytes(path);
    EXPECT_LE(text.size(), kErrorLogCap);
    EXPECT_EQ(LinesByWriter(text)[0], std::vector<int>{5000});
}
