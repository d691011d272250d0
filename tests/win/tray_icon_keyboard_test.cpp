// The tray icon's callbacks in version 4 of the notification area: the keyboard's select and menu at the icon's
// anchor point, and one action for each click although the shell reports a click twice.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/messages.h"
#include "test_shell.h"
#include "tray/tray_icon_win.h"
#include "win_test_util.h"

using namespace WinTest;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {
constexpr short kAnchorX = 1234, kAnchorY = -56;  // a second monitor left of the first gives negative points

void Attach(TrayIcon& tray, std::vector<std::string>& events, bool withDoubleClick) {
    tray.OnClick = [&events](TrayIcon&) { events.push_back("click"); };
    if (withDoubleClick)
        tray.OnDblClick = [&events](TrayIcon&) { events.push_back("dbl"); };
    tray.OnMouseDown = [&events](TrayIcon&, MouseButton b, ShiftState, int, int) {
        events.push_back(b == MouseButton::Left ? "downL" : b == MouseButton::Right ? "downR" : "downM");
    };
    tray.OnMouseUp = [&events](TrayIcon&, MouseButton b, ShiftState, int, int) {
        events.push_back(b == MouseButton::Left ? "upL" : b == MouseButton::Right ? "upR" : "upM");
    };
    tray.OnContextMenu = [&events](TrayIcon&, int x, int y) {
        events.push_back("menu " + std::to_string(x) + "," + std::to_string(y));
    };
}

// Posts callbacks in version 4's layout (message and id in lParam, the anchor in wParam) and lets them run.
void Deliver4(const TrayIcon& tray, const std::vector<UINT>& codes) {
    for (UINT code : codes)
        PostMessageW(TrayIcon::HandlerWindow(), kTrayCallbackMessage,
                     MAKEWPARAM(static_cast<WORD>(kAnchorX), static_cast<WORD>(kAnchorY)),
                     MAKELPARAM(static_cast<WORD>(code), static_cast<WORD>(tray.Id())));
    PumpFor(0);
}
}  // namespace

TEST(TrayIconKeyboard, Version4ActsOnceForEachClickAndAnswersTheKeyboardAtTheAnchor) {
    const std::string menu = "menu " + std::to_string(kAnchorX) + "," + std::to_string(kAnchorY);
    struct Case {
        const char* Name;
        bool DoubleClick;
        std::vector<UINT> Codes;
        std::vector<std::string> Expected;
    } cases[] = {
        // The mouse, as the shell reports it in version 4: the button's messages, then NIN_SELECT or WM_CONTEXTMENU.
        {"click", false, {WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT}, {"downL", "click", "upL"}},
        {"right click", false, {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU}, {"downR", "upR"}},
        {"middle click", false, {WM_MBUTTONDOWN, WM_MBUTTONUP}, {"downM", "upM"}},
        {"double-click",
         true,
         {WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT, WM_LBUTTONDBLCLK, WM_LBUTTONUP, NIN_SELECT},
         {"downL", "upL", "dbl", "upL"}},
        // The keyboard: Enter or Space selects (one Enter may be reported twice), Shift+F10 asks for the menu.
        {"Enter", false, {NIN_KEYSELECT}, {"click"}},
        {"Enter reported twice", false, {NIN_KEYSELECT, NIN_KEYSELECT}, {"click"}},
        {"Shift+F10", false, {WM_CONTEXTMENU}, {menu}},
        {"menu after a click",
         false,
         {WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT, WM_CONTEXTMENU},
         {"downL", "click", "upL", menu}},
        {"select after a right click",
         false,
         {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU, NIN_KEYSELECT},
         {"downR", "upR", "click"}},
    };
    for (const Case& c : cases) {
        ScopedTestShell shell;
        TrayIcon tray(nullptr, TestShell::Function());
        std::vector<std::string> events;
        Attach(tray, events, c.DoubleClick);
        tray.SetIconVisible(true);
        tray.SetCallbackVersion(TrayIcon::kCallbackVersion4);
        ASSERT_EQ(tray.CallbackVersion(), TrayIcon::kCallbackVersion4) << c.Name;
        Deliver4(tray, c.Codes);
        // A click held back for a double-click comes once its time has run out, and only then.
        PumpFor(c.DoubleClick ? GetDoubleClickTime() + 200 : 0);
        EXPECT_THAT(events, ElementsAreArray(c.Expected)) << c.Name;
    }
}

TEST(TrayIconKeyboard, AShellThatRefusesVersion4GivesTheClassicCallbacksUntilOneTakesIt) {
    ScopedTestShell shell;
    shell->HighestVersion = NOTIFYICON_VERSION;
    TrayIcon tray(nullptr, TestShell::Function());
    std::vector<std::string> events;
    Attach(tray, events, false);
    tray.SetIconVisible(true);
    tray.SetCallbackVersion(TrayIcon::kCallbackVersion4);
    EXPECT_EQ(tray.CallbackVersion(), 0);
    EXPECT_EQ(tray.RequestedCallbackVersion(), TrayIcon::kCallbackVersion4);
    std::vector<UINT> versions;
    for (const TestShell::Call& c : shell->Calls)
        if (c.Message == NIM_SETVERSION)
            versions.push_back(c.Data.uVersion);
    EXPECT_THAT(versions, ElementsAre(NOTIFYICON_VERSION_4, 0u));
    // Classic: the id in wParam, the message alone in lParam; version 3's codes mean nothing there.
    for (UINT code : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU, NIN_KEYSELECT})
        PostMessageW(TrayIcon::HandlerWindow(), kTrayCallbackMessage, tray.Id(), code);
    PumpFor(0);
    EXPECT_THAT(events, ElementsAre("downR", "upR"));

    // A restarted shell that knows version 4 gets it, and the hint stays shown on hover (NIF_SHOWTIP).
    shell->HighestVersion = NOTIFYICON_VERSION_4;
    shell->Restart();
    SendMessageW(TrayIcon::HandlerWindow(), TrayIcon::TaskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(tray.CallbackVersion(), TrayIcon::kCallbackVersion4);
    tray.SetHint("45% memory in use");
    ASSERT_EQ(shell->Calls.back().Message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(shell->Calls.back().Data.uFlags & (NIF_TIP | NIF_SHOWTIP), static_cast<UINT>(NIF_TIP | NIF_SHOWTIP));
}

TEST(TrayIconKeyboard, WinesShellTakesVersion4) {
    ScopedTestShell shell(true);
    TrayIcon tray(nullptr, TestShell::Function());
    tray.SetCallbackVersion(TrayIcon::kCallbackVersion4);
    tray.SetIconVisible(true);
    EXPECT_EQ(tray.CallbackVersion(), TrayIcon::kCallbackVersion4);
}
