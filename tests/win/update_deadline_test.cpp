// The update check against servers that misbehave: it ends by its deadline, reads no more than it may, follows
// few redirects, and goes at once with its owner.
#include <gtest/gtest.h>

#include <memory>

#include "app/main_form_win.h"
#include "local_http_server.h"
#include "main_form_test_util.h"
#include "platform/unique_handle_win.h"
#include "update/temp_file_win.h"
#include "update/update_checker_win.h"
#include "win_test_util.h"

using namespace WinTest;
using Mode = LocalHttpServer::Mode;

namespace {
// Short enough for a table of cases; the real default is shown once, by the About box.
constexpr DWORD kShortDeadlineMs = 2000;
// What a slow machine may add to a deadline before the outcome is on the user-interface thread.
constexpr DWORD kLateMs = 1000;

// A checker that counts its outcomes in a record that outlives it.
struct Outcomes {
    int Failed = 0, Got = 0, Messages = 0;
    std::string Current;
    int Total() const { return Failed + Got + Messages; }
};

std::unique_ptr<UpdateChecker> MakeChecker(const TempDir& dir, const std::shared_ptr<Outcomes>& outcomes) {
    auto checker = std::make_unique<UpdateChecker>();
    checker->ProgramName = "Lumivex";
    checker->FailureDlg = false;
    checker->DownloadDlg = false;
    checker->DeadlineMs = kShortDeadlineMs;
    checker->TempFile = UniqueTempFileName(dir.Path(), "");
    checker->OwnVersionStrings = [] { return std::vector<std::string>{"2.6.3.1"}; };
    checker->ShowMessage = [outcomes](const std::string&, MessageKind, unsigned) {
        ++outcomes->Messages;
        return 7;
    };
    checker->OnGetURL = [outcomes](UpdateChecker&, const std::string& current, const std::string&, const std::string&,
                                   const std::string&) {
        outcomes->Current = current;
        ++outcomes->Got;
    };
    checker->OnDownloadFailed = [outcomes](UpdateChecker&) { ++outcomes->Failed; };
    return checker;
}

// Runs one check to its outcome; the time it took from the start, or -1 when none came in a minute.
int TimedCheck(UpdateChecker& checker, const Outcomes& outcomes, const std::string& url) {
    checker.URLCurrVerFile = url;
    int before = outcomes.Total();
    DWORD start = GetTickCount();
    checker.CheckNow();
    if (!PumpUntil([&] { return outcomes.Total() > before; }, 60000))
        return -1;
    return static_cast<int>(GetTickCount() - start);
}

std::string VersionFile(const std::string& version) {
    return "[CurrentVersions]\r\nLumivex=" + version + "\r\n";
}
}  // namespace

TEST(UpdateDeadline, MisbehavingServersFailByTheDeadlineAndTheirConnectionsClose) {
    TempDir dir;
    LocalHttpServer server;
    server.SetMode("/silent", Mode::Silent);
    server.SetMode("/trickle", Mode::Trickle);
    server.SetMode("/endless", Mode::Endless);
    server.SetRedirect("/loop", "/loop");
    server.SetRedirect("/loop-absolute", server.Url("/loop-absolute"), 301);
    server.SetRedirect("/loop-307", "loop-307", 307);
    server.SetRedirect("/to-file", "file:///C:/windows/win.ini");
    server.SetRedirect("/to-ftp", "ftp://127.0.0.1/lumivex.upd");
    server.SetRedirect("/nowhere", "");
    struct Case {
        const char* Path;
        int Requests;  // how many the check makes
    } cases[] = {
        {"/silent", 1},   {"/trickle", 1}, {"/endless", 1}, {"/loop", 6},    {"/loop-absolute", 6},
        {"/loop-307", 6}, {"/to-file", 1}, {"/to-ftp", 1},  {"/nowhere", 1},
    };
    for (const Case& c : cases) {
        auto outcomes = std::make_shared<Outcomes>();
        auto checker = MakeChecker(dir, outcomes);
        int before = server.Requests();
        int ms = TimedCheck(*checker, *outcomes, server.Url(c.Path));
        ASSERT_GE(ms, 0) << c.Path;
        EXPECT_LE(ms, static_cast<int>(kShortDeadlineMs + kLateMs)) << c.Path;
        EXPECT_EQ(outcomes->Failed, 1) << c.Path;
        EXPECT_EQ(outcomes->Got, 0) << c.Path;
        EXPECT_EQ(server.Requests() - before, c.Requests) << c.Path;
        // Given up means closed: the server sees the client go, and no later check waits for a free connection.
        EXPECT_TRUE(PumpUntil([&] { return server.OpenConnections() == 0; }, 3000)) << c.Path;
        EXPECT_EQ(GetFileAttributesW(checker->TempFile.c_str()), INVALID_FILE_ATTRIBUTES) << c.Path;
    }
    // Reading stopped at the limit: far less than the answer's 100 MB left the server (the rest is socket buffers).
    EXPECT_LT(server.BodyBytesSent(), LocalHttpServer::kEndlessBytes / 4);

    // A body declared beyond the limit is refused after the headers. (Wine's WinINet reads the rest of a declared
    // body when the request is closed, so that connection stays until the server ends; the outcome does not wait.)
    LocalHttpServer declaring;
    declaring.SetMode("/lumivex.upd", Mode::Endless, true);
    auto outcomes = std::make_shared<Outcomes>();
    auto checker = MakeChecker(dir, outcomes);
    int ms = TimedCheck(*checker, *outcomes, declaring.Url("/lumivex.upd"));
    ASSERT_GE(ms, 0);
    EXPECT_LT(ms, static_cast<int>(kShortDeadlineMs));
    EXPECT_EQ(outcomes->Failed, 1);
}

TEST(UpdateDeadline, FollowsFiveRedirectsButNotASixth) {
    TempDir dir;
    LocalHttpServer server;
    server.Set("/lumivex.upd", VersionFile("2.7.0.0"));
    // /hop1 -> /hop2 -> ... -> /hop5 -> /lumivex.upd: five redirects, relative and absolute ones mixed.
    for (int i = 1; i <= 5; ++i) {
        std::string next = i == 5 ? "/lumivex.upd" : "/hop" + std::to_string(i + 1);
        server.SetRedirect("/hop" + std::to_string(i), i % 2 ? server.Url(next) : next.substr(1), 301 + i % 2);
    }
    server.SetRedirect("/hop0", "/hop1", 303);
    auto outcomes = std::make_shared<Outcomes>();
    auto checker = MakeChecker(dir, outcomes);
    ASSERT_GE(TimedCheck(*checker, *outcomes, server.Url("/hop1")), 0);
    EXPECT_EQ(outcomes->Got, 1);
    EXPECT_EQ(outcomes->Current, "2.7.0.0");
    ASSERT_GE(TimedCheck(*checker, *outcomes, server.Url("/hop0")), 0);
    EXPECT_EQ(outcomes->Got, 1);
    EXPECT_EQ(outcomes->Failed, 1);
}

TEST(UpdateDeadline, DestroyingTheCheckerCancelsItsChecksAtOnce) {
    TempDir dir;
    LocalHttpServer server;
    server.SetMode("/silent", Mode::Silent);
    server.SetMode("/trickle", Mode::Trickle);
    auto outcomes = std::make_shared<Outcomes>();
    auto checker = MakeChecker(dir, outcomes);
    checker->DeadlineMs = 4000;
    checker->FailureDlg = true;  // a message would show if anything were still reported
    for (const char* path : {"/silent", "/trickle"}) {
        checker->URLCurrVerFile = server.Url(path);
        checker->CheckNow();
    }
    ASSERT_TRUE(PumpUntil([&] { return server.OpenConnections() == 2; }, 10000));
    DWORD start = GetTickCount();
    checker.reset();
    // It waits for nothing: far less than the 4 s a wait for either check would take, with room for a busy machine.
    EXPECT_LT(GetTickCount() - start, 1000u);
    // Both connections close by the check's deadline: the trickle's with a byte that arrives after the cancel, the
    // silent one when the wait for an answer runs out (WinINet under Wine ends no call that is under way).
    EXPECT_TRUE(PumpUntil([&] { return server.OpenConnections() == 0; }, 4000 + kLateMs));
    EXPECT_EQ(outcomes->Total(), 0);
}

// The About box with the real deadline: a server that never answers ends in the failure text within 31 s, and the
// next showing checks again.
TEST(UpdateDeadline, AboutBoxShowsTheFailureWhenTheServerNeverAnswers) {
    TempDir dir;
    LocalHttpServer server;
    server.SetMode("/lumivex.upd", Mode::Silent);
    auto form = MakeForm(dir);
    ASSERT_EQ(MainFormProbe(*form).About().Checker().DeadlineMs, UpdateChecker::kDefaultDeadlineMs);
    MainFormProbe(*form).About().Addresses().UpdateFile = server.Url("/lumivex.upd");
    DWORD start = GetTickCount();
    MainFormProbe(*form).About().DownloadLinkClicked("Check for updates");
    EXPECT_EQ(MainFormProbe(*form).About().Box().LabelDownload.Caption(), "Checking for updates...");
    ASSERT_TRUE(PumpUntil([&] { return !MainFormProbe(*form).About().UpdateCheckRunning(); }, 60000));
    DWORD ms = GetTickCount() - start;
    EXPECT_GE(ms, UpdateChecker::kDefaultDeadlineMs - 100);
    EXPECT_LE(ms, 31000u);
    EXPECT_EQ(MainFormProbe(*form).About().Box().LabelDownload.Caption(),
              "<link>Error checking for new version</link>");
    EXPECT_EQ(MainFormProbe(*form).About().Box().LabelDownload.Tag, 0);
    EXPECT_TRUE(PumpUntil([&] { return server.OpenConnections() == 0; }, 3000));
}

// Ending the program while a check hangs: this test program runs itself as the program, with the form of
// UpdateDeadlineChild below, and ends it while its check waits on a server that never answers.
TEST(UpdateDeadline, TheProgramEndsAtOnceWhileACheckHangs) {
    LocalHttpServer server;
    server.SetMode("/lumivex.upd", Mode::Silent);
    std::wstring endEvent = L"LumivexTestEndNow-" + std::to_wstring(GetCurrentProcessId());
    UniqueKernelHandle end(CreateEventW(nullptr, TRUE, FALSE, endEvent.c_str()));
    SetEnvironmentVariableW(L"LUMIVEX_TEST_HANGING_URL", Widen(server.Url("/lumivex.upd")).c_str());
    SetEnvironmentVariableW(L"LUMIVEX_TEST_END_EVENT", endEvent.c_str());
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    UniqueKernelHandle child(Launch(self, L"--gtest_filter=UpdateDeadlineChild.*"));
    SetEnvironmentVariableW(L"LUMIVEX_TEST_HANGING_URL", nullptr);
    SetEnvironmentVariableW(L"LUMIVEX_TEST_END_EVENT", nullptr);
    ASSERT_NE(child.Get(), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return server.OpenConnections() == 1; }, 20000));
    PumpFor(300);
    DWORD start = GetTickCount();
    SetEvent(end.Get());
    EXPECT_EQ(WaitForSingleObject(child.Get(), 2000), WAIT_OBJECT_0);
    EXPECT_LT(GetTickCount() - start, 2000u);
    DWORD exitCode = 1;
    GetExitCodeProcess(child.Get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
    if (WaitForSingleObject(child.Get(), 0) != WAIT_OBJECT_0)
        TerminateProcess(child.Get(), 1);
    EXPECT_TRUE(PumpUntil([&] { return server.OpenConnections() == 0; }, 2000));  // the process took it along
}

// The program's part of the test above: a form checks against the hanging server until told to end, then goes the
// way the program's entry ends it. Only the test above runs it.
TEST(UpdateDeadlineChild, EndsWhileACheckHangs) {
    wchar_t url[512] = {}, event[128] = {};
    if (!GetEnvironmentVariableW(L"LUMIVEX_TEST_HANGING_URL", url, 512) ||
        !GetEnvironmentVariableW(L"LUMIVEX_TEST_END_EVENT", event, 128)) {
        GTEST_SKIP() << "run by UpdateDeadline.TheProgramEndsAtOnceWhileACheckHangs";
    }
    UniqueKernelHandle end(OpenEventW(SYNCHRONIZE, FALSE, event));
    ASSERT_TRUE(end);
    TempDir dir;
    auto form = MakeForm(dir);
    MainFormProbe(*form).About().Addresses().UpdateFile = Narrow(url);
    MainFormProbe(*form).About().DownloadLinkClicked("Check for updates");
    PumpUntil([&] { return WaitForSingleObject(end.Get(), 0) == WAIT_OBJECT_0; }, 60000);
    EXPECT_TRUE(MainFormProbe(*form).About().UpdateCheckRunning());
    form.reset();
}
