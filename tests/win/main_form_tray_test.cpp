// The main form's tray icon and the notices shown on it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/main_form_win.h"
#include "main_form_test_util.h"
#include "platform/messages.h"
#include "test_shell.h"
#include "win_test_util.h"

using namespace WinTest;

namespace {
// The balloons the shell was asked to show, as "title|text|flags|timeout".
std::vector<std::string> Balloons(const TestShell& shell) {
    std::vector<std::string> out;
    for (const TestShell::Call& c : shell.Calls) {
        if ((c.Data.uFlags & NIF_INFO) && c.Data.szInfo[0])
            out.push_back(Narrow(c.Data.szInfoTitle) + "|" + Narrow(c.Data.szInfo) + "|" +
                          std::to_string(c.Data.dwInfoFlags) + "|" + std::to_string(c.Data.uTimeout));
    }
    return out;
}

const char kWelcome[] =
    "Lumivex|Welcome to Lumivex. Your computer current memory is displayed in the tray. This balloon will not be "
    "shown again.|0|10000";
}  // namespace

TEST(MainFormTray, IconIsShownWithTheProgramIconAndRemovedAtTheEnd) {
    ScopedTestShell shell;
    TempDir dir;
    auto form = MakeForm(dir);
    TrayIcon& tray = form->Tray();
    EXPECT_TRUE(tray.IconVisible());
    EXPECT_NE(tray.Icon(), nullptr);
    EXPECT_EQ(tray.TrayPopupMenu(), form->Menu().Handle());
    ASSERT_TRUE(shell->Holds(tray.NotifyData().hWnd, tray.Id()));
    ASSERT_GE(shell->Count(NIM_ADD), 1);
    EXPECT_NE(shell->Calls.front().Data.hIcon, nullptr);

    // The start-up notice (posted by the settings loader) balloons only on a first run and leaves the form hidden.
    PumpFor(50);
    std::vector<std::string> balloons = Balloons(TestShell::Get());
    if (MainFormProbe(*form).FirstRun()) {
        EXPECT_THAT(balloons, ::testing::ElementsAre(kWelcome));
    } else {
        EXPECT_TRUE(balloons.empty());
    }
    EXPECT_FALSE(IsWindowVisible(form->Hwnd()));

    HWND handler = tray.NotifyData().hWnd;
    UINT id = tray.Id();
    form.reset();
    EXPECT_FALSE(shell->Holds(handler, id));
}

TEST(MainFormTray, SecondInstanceAndStartupNoticesShowTheirBalloons) {
    ScopedTestShell shell;
    TempDir dir;
    auto form = MakeForm(dir);
    PumpFor(50);
    shell->Calls.clear();

    PostMessageW(form->Hwnd(), kSecondInstanceMessage, 0, 0);
    PumpFor(50);
    EXPECT_THAT(Balloons(TestShell::Get()), ::testing::ElementsAre("Lumivex|Lumivex 正在运行中|1|10000"));

    shell->Calls.clear();
    PostMessageW(form->Hwnd(), kStartupNoticeMessage, 0, 0);
    PumpFor(50);
    EXPECT_TRUE(Balloons(TestShell::Get()).empty());
    PostMessageW(form->Hwnd(), kStartupNoticeMessage, 1, 0);
    PumpFor(50);
    EXPECT_THAT(Balloons(TestShell::Get()), ::testing::ElementsAre(kWelcome));
    EXPECT_FALSE(IsWindowVisible(form->Hwnd()));
}

namespace {
std::vector<RECT> menusSeen;
// Notes where each tray menu opened and closes it.
void CALLBACK NoteAndCloseMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu))
        return;
    RECT r{};
    GetWindowRect(menu, &r);
    menusSeen.push_back(r);
    EndMenu();
}
}  // namespace

TEST(MainFormTray, KeyboardMenuOpensAtTheIconAndARightClickOpensOneMenu) {
    ScopedTestShell shell;
    TempDir dir;
    auto form = MakeForm(dir);
    TrayIcon& tray = form->Tray();
    ASSERT_EQ(tray.CallbackVersion(), TrayIcon::kCallbackVersion4);
    const HWND handler = tray.NotifyData().hWnd;
    const auto send = [&](UINT code, int x, int y) {
        PostMessageW(handler, kTrayCallbackMessage, MAKEWPARAM(static_cast<WORD>(x), static_cast<WORD>(y)),
                     MAKELPARAM(static_cast<WORD>(code), static_cast<WORD>(tray.Id())));
    };
    menusSeen.clear();
    UINT_PTR timer = SetTimer(nullptr, 0, 50, NoteAndCloseMenu);
    // Shift+F10 on the icon: the menu opens at the point the shell gives, wherever the cursor is.
    SetCursorPos(5, 5);
    send(WM_CONTEXTMENU, 300, 200);
    PumpUntil([] { return !menusSeen.empty(); }, 10000);
    ASSERT_EQ(menusSeen.size(), 1u);
    EXPECT_EQ(menusSeen[0].left, 300);
    EXPECT_EQ(menusSeen[0].top, 200);

    // A right click, as version 4 reports it: one menu, at the cursor. The press opens it; the release and the
    // shell's WM_CONTEXTMENU for the same click may arrive once it has closed.
    menusSeen.clear();
    SetCursorPos(120, 90);
    send(WM_RBUTTONDOWN, 120, 90);
    PumpUntil([] { return !menusSeen.empty(); }, 10000);
    send(WM_RBUTTONUP, 120, 90);
    send(WM_CONTEXTMENU, 120, 90);
    PumpFor(1000);
    KillTimer(nullptr, timer);
    ASSERT_EQ(menusSeen.size(), 1u);
    EXPECT_EQ(menusSeen[0].left, 120);
    EXPECT_EQ(menusSeen[0].top, 90);
}
