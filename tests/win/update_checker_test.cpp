#include "update/update_checker_win.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "local_http_server.h"
#include "platform/texts.h"
#include "update/temp_file_win.h"
#include "update/version_file.h"
#include "win_test_util.h"

using namespace WinTest;
using ::testing::ElementsAre;

namespace {
// A checker that reports into plain fields, with an own version of 2.6.3.1 and recorded dialogs.
struct Harness {
    explicit Harness(const TempDir& dir) {
        Checker.ProgramName = "Lumivex";
        Checker.FailureDlg = false;
        Checker.DownloadDlg = false;
        Checker.TempFile = UniqueTempFileName(dir.Path(), "");
        Checker.OwnVersionStrings = [this] { return OwnStrings; };
        Checker.ShowMessage = [this](const std::string& text, MessageKind, unsigned) {
            Messages.push_back(text);
            return Answer;
        };
        Checker.OpenDownload = [this](const std::string& address) { Opened.push_back(address); };
        Checker.OnGetURL = [this](UpdateChecker&, const std::string& current, const std::string& url,
                                  const std::string& date, const std::string& beta) {
            Got = {current, url, date, beta};
            Thread = GetCurrentThreadId();
            ++Outcomes;
        };
        Checker.OnDownloadFailed = [this](UpdateChecker&) {
            Failed = true;
            Thread = GetCurrentThreadId();
            ++Outcomes;
        };
    }
    bool Check(const std::string& url) {
        Checker.URLCurrVerFile = url;
        int before = Outcomes;
        Checker.CheckNow();
        return PumpUntil([&] { return Outcomes > before; }, 30000);
    }

    UpdateChecker Checker;
    std::optional<std::vector<std::string>> OwnStrings = std::vector<std::string>{"2.6.3.1", "(C) Brindell"};
    int Answer = 7;  // No
    std::vector<std::string> Messages, Opened, Got;
    bool Failed = false;
    DWORD Thread = 0;
    int Outcomes = 0;
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
    EXPECT_FALSE(h.Failed);
    EXPECT_THAT(h.Got, ElementsAre("2.7.0.0", "https://www.lumivex.example/get", "1 Dec 2026", "2.8.0.1"));
    EXPECT_EQ(h.Thread, GetCurrentThreadId());
    EXPECT_THAT(h.Checker.Changes(), ElementsAre("first", ""));
    EXPECT_TRUE(h.Messages.empty());  // no dialogs of its own in this program
    EXPECT_EQ(GetFileAttributesW(h.Checker.TempFile.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(UpdateChecker, FailuresEndInTheFailureEvent) {
    TempDir dir;
    LocalHttpServer server;
    server.Set("/huge.upd", VersionFile("9.0.0.0") + std::string(2 * kMaxVersionFileBytes, ';'));
    server.Set("/error.upd", VersionFile("9.0.0.0"), 500);
    struct Case {
        std::string Url;
        bool OwnVersionKnown;
    } cases[] = {
        {ClosedPortUrl("/lumivex.upd"), true},  // server down
        {server.Url("/missing.upd"), true},     // 404
        {server.Url("/error.upd"), true},      {server.Url("/huge.upd"), true}, {"nonsense://x", true},
    };
    for (const Case& c : cases) {
        Harness h(dir);
        ASSERT_TRUE(h.Check(c.Url)) << c.Url;
        EXPECT_TRUE(h.Failed) << c.Url;
        EXPECT_TRUE(h.Got.empty()) << c.Url;
        EXPECT_EQ(h.Thread, GetCurrentThreadId());
    }
    // A program without version information cannot compare: that is a failed check too, not silence.
    server.Set("/lumivex.upd", VersionFile("9.0.0.0"));
    Harness h(dir);
    h.OwnStrings.reset();
    ASSERT_TRUE(h.Check(server.Url("/lumivex.upd")));
    EXPECT_TRUE(h.Failed);
    // With its own failure dialog the checker shows the message instead of raising the event.
    Harness withDialog(dir);
    withDialog.Checker.FailureDlg = true;
    withDialog.Checker.URLCurrVerFile = ClosedPortUrl("/x");
    withDialog.Checker.CheckNow();
    ASSERT_TRUE(PumpUntil([&] { return !withDialog.Messages.empty(); }, 30000));
    EXPECT_EQ(withDialog.Messages[0], Text(TextId::UpdateDownloadFailed));
    EXPECT_FALSE(withDialog.Failed);
}

TEST(UpdateChecker, DownloadPromptOpensOnlyWebAddresses) {
    TempDir dir;
    LocalHttpServer server;
    struct Case {
        std::string Version, Url;
        int Answer;
        bool Prompted, Opened;
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
        server.Set("/lumivex.upd", VersionFile(c.Version, c.Url));
        Harness h(dir);
        h.Checker.DownloadDlg = true;
        h.Answer = c.Answer;
        ASSERT_TRUE(h.Check(server.Url("/lumivex.upd")));
        bool prompted = !h.Messages.empty();
        EXPECT_EQ(prompted, c.Prompted) << c.Version << " " << c.Url;
        if (prompted) {
            EXPECT_EQ(h.Messages[0], NewVersionPromptText(c.Version, "Brindell Software"));
        }
        EXPECT_EQ(h.Opened.size(), c.Opened ? 1u : 0u) << c.Url;
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
