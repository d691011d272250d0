#include "update/update_checker_win.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "local_http_server.h"
#include "update/temp_file_win.h"
#include "update/version_file.h"
#include "win_test_util.h"

using namespace wintest;
using ::testing::ElementsAre;

namespace {
// A checker that reports into plain fields, with an own version of 2.6.3.1 and recorded dialogs.
struct Harness {
    explicit Harness(const TempDir& dir) {
        checker.ProgramName = "Lumivex";
        checker.FailureDlg = false;
        checker.DownloadDlg = false;
        checker.TempFile = UniqueTempFileName(dir.Path(), "");
        checker.OwnVersionStrings = [this] { return ownStrings; };
        checker.ShowMessage = [this](const std::string& text, MessageKind, unsigned) {
            messages.push_back(text);
            return answer;
        };
        checker.OpenDownload = [this](const std::string& address) { opened.push_back(address); };
        checker.OnGetURL = [this](UpdateChecker&, const std::string& current, const std::string& url,
                                  const std::string& date, const std::string& beta) {
            got = {current, url, date, beta};
            thread = GetCurrentThreadId();
            ++outcomes;
        };
        checker.OnDownloadFailed = [this](UpdateChecker&) {
            failed = true;
            thread = GetCurrentThreadId();
            ++outcomes;
        };
    }
    bool Check(const std::string& url) {
        checker.URLCurrVerFile = url;
        int before = outcomes;
        checker.CheckNow();
        return PumpUntil([&] { return outcomes > before; }, 30000);
    }

    UpdateChecker checker;
    std::optional<std::vector<std::string>> ownStrings = std::vector<std::string>{"2.6.3.1", "(C) Brindell"};
    int answer = 7;  // No
    std::vector<std::string> messages, opened, got;
    bool failed = false;
    DWORD thread = 0;
    int outcomes = 0;
};

std::string VersionFile(const std::string& version, const std::string& url = "https://www.lumivex.example/get") {
    return "[CurrentVersions]\r\nLumivex=" + version + "\r\n[DownloadURL]\r\nLumivex=" + url +
           "\r\n[DateReleased]\r\nDate=1 Dec 2026\r\n[BetaVersions]\r\nLumivex=2.8.0.1\r\n"
           "[CurrentHistory]\r\n1=first\r\n3=third\r\n";
}
}  // namespace

TEST(UpdateChecker, ReportsTheFileOnTheOwningThreadAndCleansUp) {
    TempDir dir;
    LocalHttpServer server;
    server.Set("/lumivex.upd", VersionFile("2.7.0.0"));
    Harness h(dir);
    ASSERT_TRUE(h.Check(server.Url("/lumivex.upd")));
    EXPECT_FALSE(h.failed);
    EXPECT_THAT(h.got, ElementsAre("2.7.0.0", "https://www.lumivex.example/get", "1 Dec 2026", "2.8.0.1"));
    EXPECT_EQ(h.thread, GetCurrentThreadId());
    EXPECT_THAT(h.checker.Changes(), ElementsAre("first", ""));
    EXPECT_TRUE(h.messages.empty());  // no dialogs of its own in this program
    EXPECT_EQ(GetFileAttributesW(h.checker.TempFile.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(UpdateChecker, FailuresEndInTheFailureEvent) {
    TempDir dir;
    LocalHttpServer server;
    server.Set("/huge.upd", VersionFile("9.0.0.0") + std::string(2 * kMaxVersionFileBytes, ';'));
    server.Set("/error.upd", VersionFile("9.0.0.0"), 500);
    struct Case {
        std::string url;
        bool ownVersionKnown;
    } cases[] = {
        {ClosedPortUrl("/lumivex.upd"), true},  // server down
        {server.Url("/missing.upd"), true},     // 404
        {server.Url("/error.upd"), true},      {server.Url("/huge.upd"), true}, {"nonsense://x", true},
    };
    for (const Case& c : cases) {
        Harness h(dir);
        ASSERT_TRUE(h.Check(c.url)) << c.url;
        EXPECT_TRUE(h.failed) << c.url;
        EXPECT_TRUE(h.got.empty()) << c.url;
        EXPECT_EQ(h.thread, GetCurrentThreadId());
    }
    // A program without version information cannot compare: that is a failed check too, not silence.
    server.Set("/lumivex.upd", VersionFile("9.0.0.0"));
    Harness h(dir);
    h.ownStrings.reset();
    ASSERT_TRUE(h.Check(server.Url("/lumivex.upd")));
    EXPECT_TRUE(h.failed);
    // With its own failure dialog the checker shows the message instead of raising the event.
    Harness withDialog(dir);
    withDialog.checker.FailureDlg = true;
    withDialog.checker.URLCurrVerFile = ClosedPortUrl("/x");
    withDialog.checker.CheckNow();
    ASSERT_TRUE(PumpUntil([&] { return !withDialog.messages.empty(); }, 30000));
    EXPECT_EQ(withDialog.messages[0], kVersionDownloadFailedText);
    EXPECT_FALSE(withDialog.failed);
}

TEST(UpdateChecker, DownloadPromptOpensOnlyWebAddresses) {
    TempDir dir;
    LocalHttpServer server;
    struct Case {
        std::string version, url;
        int answer;
        bool prompted, opened;
    } cases[] = {
        {"2.7.0.0", "https://www.lumivex.example/get", 6, true, true},
        {"2.7.0.0", "https://www.lumivex.example/get", 7, true, false},
        {"2.7.0.0", "C:\\Windows\\System32\\calc.exe", 6, true, false},
        {"2.7.0.0", "file:///C:/Windows/notepad.exe", 6, true, false},
        {"2.6.3.1", "https://www.lumivex.example/get", 6, false, false},
        {"2.5.99.99", "https://www.lumivex.example/get", 6, false, false},  // weighed, not digits joined
        {"", "https://www.lumivex.example/get", 6, false, false},
    };
    for (const Case& c : cases) {
        server.Set("/lumivex.upd", VersionFile(c.version, c.url));
        Harness h(dir);
        h.checker.DownloadDlg = true;
        h.answer = c.answer;
        ASSERT_TRUE(h.Check(server.Url("/lumivex.upd")));
        bool prompted = !h.messages.empty();
        EXPECT_EQ(prompted, c.prompted) << c.version << " " << c.url;
        if (prompted) {
            EXPECT_EQ(h.messages[0], NewVersionPromptText(c.version, "Brindell Software"));
        }
        EXPECT_EQ(h.opened.size(), c.opened ? 1u : 0u) << c.url;
    }
}

TEST(UpdateChecker, TempFileNamesAreNewFilesInTheTempFolder) {
    std::wstring folder = TempFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    EXPECT_NE(GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);
    TempDir dir;
    std::wstring name = UniqueTempFileName(dir.Path(), "upd");
    EXPECT_EQ(name.rfind(dir.Path() + L"TMP", 0), 0u);
    EXPECT_EQ(name.size(), dir.Path().size() + 12);
    EXPECT_EQ(name.substr(name.size() - 4), L".upd");
    EXPECT_EQ(GetFileAttributesW(name.c_str()), INVALID_FILE_ATTRIBUTES);
}
