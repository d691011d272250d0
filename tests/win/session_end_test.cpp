// The end of the session inside the program: errors only logged, a saving that failed tried once more, the form
// closed; and the one-copy decision of a start.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>

#include <thread>

#include "app/single_instance_win.h"
#include "main_form_test_util.h"
#include "platform/error_report_win.h"
#include "platform/modal_loops_win.h"
#include "resource.h"
#include "win_test_util.h"

using namespace WinTest;
using ::testing::HasSubstr;

namespace {
// The switch is process-wide: a test that ends a session gives it back, or later tests would see no errors.
struct SessionEndingReset {
    ~SessionEndingReset() { SetSessionEnding(false); }
};

size_t CountOf(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}
}  // namespace

TEST(SessionEnd, UnwritableSettingsAreLoggedWithoutABoxAndTheFormCloses) {
    SessionEndingReset reset;
    TempDir dir;
    const std::wstring path = dir.File(L"Lumivex.Settings");
    const std::string original = "[Mine]\r\nNote=kept\r\n[General]\r\nRefreshRate=250\r\n";
    ASSERT_TRUE(WriteBytes(path, original));
    std::string boxes;
    SystemHooks hooks;
    hooks.ReportError = [&](const std::string& t) { boxes += t; };
    auto form = MakeForm(dir, hooks);
    // Nothing can write the file while this handle lives (Wine running as root ignores the read-only attribute).
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SendMessageW(form->Hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageW(form->Hwnd(), WM_ENDSESSION, TRUE, 0);
    CloseHandle(lock);

    EXPECT_EQ(boxes, "");
    EXPECT_EQ(form->Hwnd(), nullptr);
    EXPECT_FALSE(form->Tray().IconVisible());
    EXPECT_FALSE(form->RefreshTimer().Active());
    // Both tries are in the log: the question's and the end's.
    EXPECT_EQ(CountOf(ReadText(dir.File(L"Lumivex.log")), "Unable to write to " + Narrow(path)), 2u);
    EXPECT_EQ(ReadBytes(path), original);
}

TEST(SessionEnd, ACancelledLogOffSavesOnceAndBringsTheBoxesBack) {
    SessionEndingReset reset;
    TempDir dir;
    std::string boxes;
    SystemHooks hooks;
    hooks.ReportError = [&](const std::string& t) { boxes += t; };
    auto form = MakePortableForm(dir, hooks);
    form->CurrentSettings().RefreshRate = 777;
    EXPECT_EQ(SendMessageW(form->Hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_THAT(ReadText(dir.File(L"Lumivex.Settings")), HasSubstr("RefreshRate=777"));
    EXPECT_TRUE(SessionEnding());
    SendMessageW(form->Hwnd(), WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(SessionEnding());
    // The program goes on as before.
    EXPECT_NE(form->Hwnd(), nullptr);
    EXPECT_TRUE(form->Tray().IconVisible());
    ReportError("after");
    EXPECT_EQ(boxes, "after");
}

// A modal dialog of the form's own (here the options dialog, opened as the tray menu opens it) ends with the
// session; the code after it runs into a closed form and starts nothing again. The session is ended from a timer,
// which the dialog's own loop runs.
static MainForm* gEndingForm = nullptr;
static bool gSessionEnded = false;

static void CALLBACK EndSessionOnceTheDialogIsUp(HWND, UINT, UINT_PTR timer, DWORD) {
    MainForm* form = gEndingForm;
    OptionsDialog* dialog = form ? MainFormProbe(*form).ShownOptionsDialog() : nullptr;
    if (gSessionEnded || !dialog || !IsWindowVisible(dialog->Hwnd()))
        return;
    KillTimer(nullptr, timer);
    gSessionEnded = true;
    HWND hwnd = form->Hwnd();
    SendMessageW(hwnd, WM_QUERYENDSESSION, 0, 0);
    SendMessageW(hwnd, WM_ENDSESSION, TRUE, 0);
}

TEST(SessionEnd, EndsTheOptionsDialogAndSavesWhatIsInEffect) {
    SessionEndingReset reset;
    TempDir dir;
    auto form = MakePortableForm(dir);
    form->CurrentSettings().RefreshRate = 321;
    gEndingForm = form.get();
    gSessionEnded = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, EndSessionOnceTheDialogIsUp);
    PostMessageW(form->Hwnd(), WM_COMMAND, IDM_SETTINGS, 0);
    PumpUntil([&] { return gSessionEnded && !MainFormProbe(*form).ShownOptionsDialog(); }, 15000);
    KillTimer(nullptr, timer);
    gEndingForm = nullptr;
    EXPECT_TRUE(gSessionEnded);
    EXPECT_EQ(MainFormProbe(*form).ShownOptionsDialog(), nullptr);
    EXPECT_FALSE(ModalDialogOpen());
    EXPECT_EQ(form->Hwnd(), nullptr);
    EXPECT_FALSE(form->RefreshTimer().Active());
    EXPECT_THAT(ReadText(dir.File(L"Lumivex.Settings")), HasSubstr("RefreshRate=321"));
}

TEST(SessionEnd, ReportErrorOnlyLogsWhileTheSessionEnds) {
    SessionEndingReset reset;
    TempDir dir;
    SetErrorLogPath(dir.File(L"Lumivex.log"));
    std::string boxes;
    SetErrorReporter([&](const std::string& t) { boxes += t; });
    SetSessionEnding(true);
    ReportError("while ending");
    SetSessionEnding(false);
    SetErrorReporter(nullptr);
    SetErrorLogPath(L"");
    EXPECT_EQ(boxes, "");
    EXPECT_THAT(ReadText(dir.File(L"Lumivex.log")), HasSubstr("while ending"));
}

// Owners on another thread, since a mutex is recursive for the thread that owns it.
TEST(SingleInstance, OnlyTheOwnerRunsAndAnEndingOwnerLeavesTheMutexToTheWaitingStart) {
    const std::wstring name = L"Local\\LumivexTest-" + std::to_wstring(GetCurrentProcessId());
    HANDLE ownerReady = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread owner([&] {
        SingleInstance first(name, 0);
        EXPECT_TRUE(first.First());
        SetEvent(ownerReady);
        WaitForSingleObject(release, 10000);
    });
    WaitForSingleObject(ownerReady, 10000);
    {
        // The owner has no window to tell: this start waits its time and ends.
        SingleInstance second(name, 200);
        EXPECT_FALSE(second.First());
    }
    std::thread ending([&] {
        Sleep(200);
        SetEvent(release);
    });
    SingleInstance third(name, 5000);
    EXPECT_TRUE(third.First());
    owner.join();
    ending.join();
    CloseHandle(ownerReady);
    CloseHandle(release);
}

// The mutex of a copy run as administrator, as an ordinary start meets it: its security lets the start wait on it
// and nothing more, so a create, which asks for every right, is refused. The start still waits for it rather than
// run beside its owner, and runs once the owner has released it. (A mutex that may not even be waited on is for
// Windows alone: Wine grants SYNCHRONIZE whatever the security says. The decision for it is tested natively.)
TEST(SingleInstance, AMutexThatOnlyLetsAStartWaitStillKeepsTheStartOut) {
    const std::wstring name = L"Local\\LumivexTest-Rights-" + std::to_wstring(GetCurrentProcessId());
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;0x00100000;;;WD)", SDDL_REVISION_1,
                                                                     &descriptor, nullptr));  // SYNCHRONIZE alone
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    HANDLE ownerReady = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool takenBack = false;
    std::thread owner([&] {
        HANDLE mutex = CreateMutexW(&attributes, TRUE, name.c_str());
        SetEvent(ownerReady);
        WaitForSingleObject(release, 10000);
        ReleaseMutex(mutex);
        // The next start owns the mutex through its wait-only handle, and gives it back when it ends.
        WaitForSingleObject(done, 10000);
        takenBack = WaitForSingleObject(mutex, 0) == WAIT_OBJECT_0;
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    });
    WaitForSingleObject(ownerReady, 10000);
    UniqueKernelHandle created(CreateMutexW(nullptr, FALSE, name.c_str()));
    const DWORD createError = GetLastError();
    EXPECT_FALSE(created);
    EXPECT_EQ(createError, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    {
        SingleInstance second(name, 200);
        EXPECT_FALSE(second.First());
        EXPECT_FALSE(second.RunningCopyUnreachable());  // it could be waited for: only its window was missing
    }
    std::thread ending([&] {
        Sleep(200);
        SetEvent(release);
    });
    {
        SingleInstance third(name, 5000);
        EXPECT_TRUE(third.First());
    }
    SetEvent(done);
    owner.join();
    ending.join();
    EXPECT_TRUE(takenBack);
    CloseHandle(ownerReady);
    CloseHandle(release);
    CloseHandle(done);
    LocalFree(descriptor);
}
