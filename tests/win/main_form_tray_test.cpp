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
