// The notification-area icon: callbacks posted to the real handler window, the shell calls it makes (recorded by the
// test shell; once through Wine's own), balloons, the re-add after a shell restart.
#include "tray/tray_icon_win.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/window_win.h"
#include "test_shell.h"
#include "tray/tray_picture_win.h"
#include "win_test_util.h"

using namespace WinTest;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {
constexpr UINT kCallback = 0x0800;

// Whether the shell holds the icon right now.
bool InShell(const TrayIcon& tray) {
    if (!TestShell::Get().RealShell)
        return TestShell::Get().Holds(tray.NotifyData().hWnd, tray.Id());
    // Only an icon that is there can be modified.
    NOTIFYICONDATAW probe = tray.NotifyData();
    probe.uFlags = 0;
    return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

// Records the events of one icon as short words.
struct EventLog {
    std::vector<std::string> Events;
    std::vector<ShiftState> Shifts;
    std::vector<POINT> Points;

    void Attach(TrayIcon& tray, bool withDoubleClick) {
        const char* names[] = {"L", "R", "M"};
        tray.OnClick = [this](TrayIcon&) { Events.push_back("click"); };
        if (withDoubleClick)
            tray.OnDblClick = [this](TrayIcon&) { Events.push_back("dbl"); };
        tray.OnMouseDown = [this, names](TrayIcon&, MouseButton b, ShiftState s, int x, int y) {
            Events.push_back(std::string("down") + names[static_cast<int>(b)]);
            Shifts.push_back(s);
            Points.push_back({x, y});
        };
        tray.OnMouseUp = [this, names](TrayIcon&, MouseButton b, ShiftState s, int, int) {
            Events.push_back(std::string("up") + names[static_cast<int>(b)]);
            Shifts.push_back(s);
        };
        tray.OnMouseMove = [this](TrayIcon&, ShiftState, int, int) { Events.push_back("move"); };
        tray.OnMouseEnter = [this](TrayIcon&) { Events.push_back("enter"); };
        tray.OnMouseExit = [this](TrayIcon&) { Events.push_back("exit"); };
        tray.OnBalloonHintShow = [this](TrayIcon&) { Events.push_back("bshow"); };
        tray.OnBalloonHintHide = [this](TrayIcon&) { Events.push_back("bhide"); };
        tray.OnBalloonHintTimeout = [this](TrayIcon&) { Events.push_back("btimeout"); };
        tray.OnBalloonHintClick = [this](TrayIcon&) { Events.push_back("bclick"); };
    }
};

// Posts callbacks as the shell does and lets them all run.
void Deliver(const TrayIcon& tray, const std::vector<UINT>& codes) {
    for (UINT code : codes)
        PostMessageW(TrayIcon::HandlerWindow(), kCallback, tray.Id(), code);
    PumpFor(0);
}
}  // namespace

TEST(TrayIcon, DecodesEveryCallback) {
    struct Case {
        const char* Name;
        bool DoubleClick;
        int Version;
        std::vector<UINT> Codes;
        std::vector<std::string> Expected;
    } cases[] = {
        {"click without double-click handler", false, 0, {WM_LBUTTONDOWN, WM_LBUTTONUP}, {"downL", "click", "upL"}},
        {"right button, classic", false, 0, {WM_RBUTTONDOWN, WM_RBUTTONUP}, {"downR", "upR"}},
        {"right button, version 3",
         false,
         1,
         {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU, NIN_SELECT, NIN_KEYSELECT},
         {"downR", "upR", "upR", "upR"}},
        {"classic ignores version-3 codes", false, 0, {WM_CONTEXTMENU, NIN_SELECT, NIN_KEYSELECT}, {}},
        {"middle button", false, 0, {WM_MBUTTONDOWN, WM_MBUTTONUP}, {"downM", "upM"}},
        {"right and middle double-clicks", false, 0, {WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK}, {}},
        {"balloons",
         false,
         0,
         {NIN_BALLOONSHOW, NIN_BALLOONHIDE, NIN_BALLOONTIMEOUT, NIN_BALLOONUSERCLICK},
         {"bshow", "bhide", "btimeout", "bclick"}},
        {"move without enter/exit", false, 0, {WM_MOUSEMOVE}, {"move"}},
    };
    for (const Case& c : cases) {
        TrayIcon tray(nullptr, TestShell::Function());
        EventLog log;
        log.Attach(tray, c.DoubleClick);
        tray.SetCallbackVersion(c.Version);
        Deliver(tray, c.Codes);
        EXPECT_THAT(log.Events, ElementsAreArray(c.Expected)) << c.Name;
    }
}

TEST(TrayIcon, ButtonsCarryTheirShiftBitAndTheCursorPosition) {
    TrayIcon tray(nullptr, TestShell::Function());
    EventLog log;
    log.Attach(tray, false);
    SetCursorPos(123, 45);
    Deliver(tray, {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN});
    EXPECT_THAT(log.Shifts, ElementsAre(LeftButtonDown, RightButtonDown, MiddleButtonDown));
    ASSERT_EQ(log.Points.size(), 3u);
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(log.Points[0].x, cursor.x);
    EXPECT_EQ(log.Points[0].y, cursor.y);
}

TEST(TrayIcon, DoubleClickGivesNoClickAndASingleClickWaitsForTheDoubleClickTime) {
    TrayIcon tray(nullptr, TestShell::Function());
    EventLog log;
    log.Attach(tray, true);
    Deliver(tray, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP});
    EXPECT_THAT(log.Events, ElementsAre("downL", "upL", "dbl", "upL"));
    // The held-back click timer runs out without a click.
    PumpFor(GetDoubleClickTime() + 300);
    EXPECT_THAT(log.Events, ElementsAre("downL", "upL", "dbl", "upL"));

    log.Events.clear();
    DWORD start = GetTickCount();
    Deliver(tray, {WM_LBUTTONDOWN, WM_LBUTTONUP});
    EXPECT_THAT(log.Events, ElementsAre("downL", "upL"));
    ASSERT_TRUE(PumpUntil([&] { return log.Events.size() == 3; }, 5000));
    EXPECT_EQ(log.Events.back(), "click");
    EXPECT_GE(GetTickCount() - start + 50, GetDoubleClickTime());
}

TEST(TrayIcon, DisabledIgnoresTheMouseButNotTheBalloon) {
    TrayIcon tray(nullptr, TestShell::Function());
    EventLog log;
    log.Attach(tray, true);
    tray.SetWantEnterExitEvents(true);
    tray.SetEnabled(false);
    Deliver(tray, {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP,
                   WM_MBUTTONDOWN, NIN_BALLOONSHOW, NIN_BALLOONUSERCLICK});
    PumpFor(GetDoubleClickTime() + 200);
    EXPECT_THAT(log.Events, ElementsAre("bshow", "bclick"));
}

TEST(TrayIcon, EnterAndExitFollowTheCursor) {
    TrayIcon tray(nullptr, TestShell::Function());
    EventLog log;
    log.Attach(tray, false);
    tray.SetWantEnterExitEvents(true);
    SetCursorPos(200, 200);
    Deliver(tray, {WM_MOUSEMOVE, WM_MOUSEMOVE});
    EXPECT_THAT(log.Events, ElementsAre("enter", "move", "move"));
    SetCursorPos(260, 230);
    ASSERT_TRUE(PumpUntil([&] { return log.Events.size() == 4; }, 3000));
    EXPECT_EQ(log.Events.back(), "exit");
    Deliver(tray, {WM_MOUSEMOVE});
    EXPECT_THAT(log.Events, ElementsAre("enter", "move", "move", "exit", "enter", "move"));
}

TEST(TrayIcon, TipIsCutToItsFieldAndShowHintFalseSendsNone) {
    ScopedTestShell shell;
    TrayIcon tray(nullptr, TestShell::Function());
    tray.SetIconVisible(true);
    std::string hint(200, 'x');
    for (size_t i = 0; i < hint.size(); ++i)
        hint[i] = static_cast<char>('a' + i % 26);
    tray.SetHint(hint);
    const NOTIFYICONDATAW& sent = shell->Calls.back().Data;
    EXPECT_EQ(shell->Calls.back().Message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(Narrow(sent.szTip), hint.substr(0, 127));
    EXPECT_TRUE(shell->Calls.back().Data.uFlags & NIF_TIP);

    // Chinese text counts in UTF-16 units, never split.
    std::string chinese;
    for (int i = 0; i < 130; ++i)
        chinese += "内";
    tray.SetHint(chinese);
    EXPECT_EQ(std::wstring(shell->Calls.back().Data.szTip).size(), 127u);

    tray.SetShowHint(false);
    EXPECT_EQ(shell->Calls.back().Data.szTip[0], L'\0');
    EXPECT_EQ(tray.Hint(), chinese);
}

TEST(TrayIcon, BalloonFillsTheRecordOnceAndCutsItsTexts) {
    ScopedTestShell shell;
    TrayIcon tray(nullptr, TestShell::Function());
    tray.SetIconVisible(true);
    shell->Calls.clear();
    std::string title(80, 'T'), text(300, 'b');
    EXPECT_TRUE(tray.ShowBalloon(title, text, BalloonIconKind::Warning, 40));
    ASSERT_EQ(shell->Calls.size(), 2u);  // the old balloon is cleared first
    EXPECT_TRUE(shell->Calls[0].Data.uFlags & NIF_INFO);
    EXPECT_EQ(shell->Calls[0].Data.szInfo[0], L'\0');
    const NOTIFYICONDATAW& shown = shell->Calls[1].Data;
    EXPECT_EQ(shown.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO));
    EXPECT_EQ(Narrow(shown.szInfo), text.substr(0, 255));
    EXPECT_EQ(Narrow(shown.szInfoTitle), title.substr(0, 63));
    EXPECT_EQ(shown.uTimeout, 40000u);
    EXPECT_EQ(shown.dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));
    // Later updates do not bring the balloon back.
    EXPECT_EQ(tray.NotifyData().uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    tray.SetHint("after");
    EXPECT_FALSE(shell->Calls.back().Data.uFlags & NIF_INFO);

    struct Kind {
        BalloonIconKind Kind;
        DWORD Flags;
    } kinds[] = {{BalloonIconKind::None, NIIF_NONE},
                 {BalloonIconKind::Info, NIIF_INFO},
                 {BalloonIconKind::Error, NIIF_ERROR},
                 {BalloonIconKind::User, NIIF_USER}};
    for (const Kind& k : kinds) {
        tray.ShowBalloon("t", "x", k.Kind, 10);
        EXPECT_EQ(shell->Calls.back().Data.dwInfoFlags, k.Flags);
        EXPECT_EQ(shell->Calls.back().Data.uTimeout, 10000u);
    }
}

TEST(TrayIcon, ShellRestartBringsBackOnlyAVisibleIcon) {
    ScopedTestShell shell;
    TrayIcon visible(nullptr, TestShell::Function()), hidden(nullptr, TestShell::Function());
    UniqueIcon icon(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
    visible.SetIcon(icon.Get());
    visible.SetHint("still here");
    visible.SetIconVisible(true);
    hidden.SetIconVisible(true);
    hidden.SetIconVisible(false);
    ASSERT_TRUE(InShell(visible));
    ASSERT_FALSE(InShell(hidden));

    // Explorer restarts: its icons are gone until the programs add them again.
    shell->Restart();
    shell->Calls.clear();
    // A broadcast reaches the handler only because it is a top-level window.
    PostMessageW(HWND_BROADCAST, TrayIcon::TaskbarCreatedMessage(), 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return InShell(visible); }, 5000));
    ASSERT_EQ(shell->Count(NIM_ADD), 1);
    EXPECT_EQ(shell->Calls[0].Data.uID, visible.Id());
    EXPECT_STREQ(shell->Calls[0].Data.szTip, L"still here");
    EXPECT_NE(shell->Calls[0].Data.hIcon, nullptr);
    EXPECT_FALSE(InShell(hidden));
}

TEST(TrayIcon, AddIsRetriedUntilTheTaskbarTakesIt) {
    ScopedTestShell shell;
    shell->TaskbarUp = false;  // log-on: no taskbar yet
    TrayIcon tray(nullptr, TestShell::Function());
    EXPECT_FALSE(tray.AddTrayIcon());
    EXPECT_TRUE(tray.IconVisible());
    EXPECT_TRUE(tray.AddPending());
    ASSERT_TRUE(PumpUntil([&] { return shell->Count(NIM_ADD) >= 2; }, 5000));
    shell->TaskbarUp = true;
    ASSERT_TRUE(PumpUntil([&] { return !tray.AddPending(); }, 5000));
    EXPECT_TRUE(InShell(tray));
    // Hiding the icon while the taskbar is still missing ends the retries.
    shell->TaskbarUp = false;
    TrayIcon late(nullptr, TestShell::Function());
    late.SetIconVisible(true);
    EXPECT_TRUE(late.AddPending());
    late.SetIconVisible(false);
    EXPECT_FALSE(late.AddPending());
}

TEST(TrayIcon, DestroyingTheComponentDeletesItsIcon) {
    ScopedTestShell shell(true);
    TrayIcon keeper(
        nullptr,
        TestShell::Function());  // keeps the shared handler window alive, so only the delete can remove the icon
    NOTIFYICONDATAW data{};
    {
        TrayIcon tray(nullptr, TestShell::Function());
        tray.SetIconVisible(true);
        ASSERT_TRUE(InShell(tray));
        data = tray.NotifyData();
    }
    data.uFlags = 0;
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &data));
    EXPECT_NE(TrayIcon::HandlerWindow(), nullptr);
}

namespace {
BITMAPINFO Dib16() {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, 16, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return info;
}

// The colour pixels of an icon, 0xAARRGGBB.
std::vector<uint32_t> IconPixels(HICON icon) {
    std::vector<uint32_t> out(256, 0);
    ICONINFO ii{};
    if (!GetIconInfo(icon, &ii))
        return {};
    UniqueBitmap color(ii.hbmColor), mask(ii.hbmMask);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info = Dib16();
    GetDIBits(dc.Get(), color.Get(), 0, 16, out.data(), &info, DIB_RGB_COLORS);
    return out;
}
}  // namespace

TEST(TrayIcon, PicturesBecomeIconsWithTheMaskColourTransparent) {
    // A 16 x 16 picture in the mask colour 0x030303 with one red square in the middle.
    BITMAPINFO info = Dib16();
    void* bits = nullptr;
    UniqueBitmap picture(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* px = static_cast<uint32_t*>(bits);
    for (int i = 0; i < 256; ++i)
        px[i] = 0x030303;
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            px[y * 16 + x] = 0xFF0000;

    for (COLORREF mask : {COLORREF(0x030303), COLORREF(0x1FFFFFFF)}) {
        UniqueIcon icon = TrayIcon::IconFromBitmap(picture.Get(), mask);
        ASSERT_TRUE(icon);
        std::vector<uint32_t> out = IconPixels(icon.Get());
        ASSERT_EQ(out.size(), 256u);
        EXPECT_EQ((out[0] >> 24) == 0, mask == 0x030303) << std::hex << mask;
        EXPECT_EQ(out[8 * 16 + 8], 0xFFFF0000u) << std::hex << mask;
    }
    EXPECT_FALSE(TrayIcon::IconFromBitmap(nullptr, 0x030303));

    // The renderer's picture (colour values, red in the low byte) takes the same way.
    TrayPicture rendered;
    std::fill(rendered.Pixels.begin(), rendered.Pixels.end(), kTransparentKey);
    rendered.Set(8, 8, 0x0000FF);
    for (bool transparent : {true, false}) {
        std::vector<uint32_t> out = IconPixels(PictureToIcon(rendered, transparent).Get());
        ASSERT_EQ(out.size(), 256u);
        EXPECT_EQ(out[0], transparent ? 0u : 0xFF030303u);
        EXPECT_EQ(out[8 * 16 + 8], 0xFFFF0000u);
    }
}

TEST(TrayIcon, IconIndexIsClampedAndCyclingNeedsAnInterval) {
    UniqueIcon a(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION))), b(CopyIcon(LoadIconW(nullptr, IDI_WARNING))),
        c(CopyIcon(LoadIconW(nullptr, IDI_ERROR)));
    TrayIcon tray(nullptr, TestShell::Function());
    tray.SetIconIndex(5);
    EXPECT_EQ(tray.IconIndex(), 0);  // no list
    tray.SetIconList({a.Get(), b.Get(), c.Get()});
    tray.SetIconIndex(10);
    EXPECT_EQ(tray.IconIndex(), 2);
    EXPECT_NE(tray.Icon(), nullptr);

    std::vector<int> next;
    tray.OnCycle = [&](TrayIcon&, int n) { next.push_back(n); };
    tray.SetCycleIcons(true);
    EXPECT_EQ(tray.IconIndex(), 0);
    PumpFor(100);
    EXPECT_TRUE(next.empty());  // interval 0: no cycling
    tray.SetCycleInterval(20);
    ASSERT_TRUE(PumpUntil([&] { return next.size() >= 4; }, 5000));
    // The last image announces the count; the cycle goes on with 0.
    EXPECT_THAT(std::vector<int>(next.begin(), next.begin() + 4), ElementsAre(1, 2, 3, 1));
    tray.SetCycleIcons(false);
    size_t seen = next.size();
    PumpFor(100);
    EXPECT_EQ(next.size(), seen);
}

namespace {
// An owner window that counts what the tray icon sends it. A captionless popup: Wine waits two seconds for a
// window manager (Xvfb has none) each time a window with a caption is hidden.
class OwnerWindow : public Window {
  public:
    OwnerWindow() {
        CreateWindowOf(L"LumivexTrayOwnerTest", WS_EX_TOOLWINDOW, WS_POPUP | WS_SYSMENU, L"Owner", nullptr, 100, 100,
                       300, 200);
    }
    int Nulls = 0;
    std::vector<UINT> Commands;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_NULL)
            ++Nulls;
        if (msg == WM_COMMAND)
            Commands.push_back(LOWORD(wParam));
        return Window::HandleMessage(msg, wParam, lParam);
    }
};

HWND gForegroundDuringMenu = nullptr;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    gForegroundDuringMenu = GetForegroundWindow();
    EndMenu();
}
}  // namespace

TEST(TrayIcon, PopupTakesTheForegroundAndNudgesTheOwnerAfterwards) {
    OwnerWindow owner;
    TrayIcon tray(owner.Hwnd(), TestShell::Function());
    tray.PopupMenuAt(10, 10);  // no menu: nothing happens
    PumpFor(0);
    EXPECT_EQ(owner.Nulls, 0);

    UniqueMenu menu(CreatePopupMenu());
    AppendMenuW(menu.Get(), MF_STRING, 1, L"One");
    tray.SetPopupMenu(menu.Get());
    gForegroundDuringMenu = nullptr;
    SetTimer(nullptr, 0, 100, CloseMenu);
    tray.PopupMenuAt(50, 50);  // returns when the menu closes
    EXPECT_EQ(gForegroundDuringMenu, owner.Hwnd());
    ASSERT_TRUE(PumpUntil([&] { return owner.Nulls == 1; }, 2000));
}

TEST(TrayIcon, MinimisingTheOwnerHidesItInTheTray) {
    ScopedTestShell shell;
    OwnerWindow owner;
    TrayIcon tray(owner.Hwnd(), TestShell::Function());
    ShowWindow(owner.Hwnd(), SW_SHOW);
    int minimised = 0;
    tray.OnMinimizeToTray = [&](TrayIcon&) { ++minimised; };

    // Not wanted: the window minimises as usual.
    SendMessageW(owner.Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(minimised, 0);
    EXPECT_TRUE(IsIconic(owner.Hwnd()));
    ShowWindow(owner.Hwnd(), SW_RESTORE);

    tray.SetMinimizeToTray(true);
    EXPECT_EQ(SendMessageW(owner.Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0), 1);
    EXPECT_EQ(minimised, 1);
    EXPECT_FALSE(IsWindowVisible(owner.Hwnd()));
    EXPECT_FALSE(IsIconic(owner.Hwnd()));
    EXPECT_TRUE(tray.IconVisible());
    EXPECT_TRUE(InShell(tray));

    tray.RestoreMainWindow();
    EXPECT_TRUE(IsWindowVisible(owner.Hwnd()));
    // Hiding takes the window away for good; showing the "button" again brings back only what it hid itself.
    tray.HideMainWindow();
    tray.ShowAppButton();
    EXPECT_FALSE(IsWindowVisible(owner.Hwnd()));
    ShowWindow(owner.Hwnd(), SW_SHOW);
    tray.HideAppButton();
    EXPECT_FALSE(IsWindowVisible(owner.Hwnd()));
    tray.ShowAppButton();
    EXPECT_TRUE(IsWindowVisible(owner.Hwnd()));
}

TEST(TrayIcon, OnlyAnAutomaticMenuAnswersTheMouseByItself) {
    OwnerWindow owner;
    TrayIcon tray(owner.Hwnd(), TestShell::Function());
    UniqueMenu menu(CreatePopupMenu());
    AppendMenuW(menu.Get(), MF_STRING, 7, L"First");
    AppendMenuW(menu.Get(), MF_STRING, 8, L"Default");
    SetMenuDefaultItem(menu.Get(), 8, FALSE);
    int doubleClicks = 0;
    tray.OnDblClick = [&](TrayIcon&) { ++doubleClicks; };

    // As in the program: the menu's automatic popup is off, so the component never touches it.
    tray.SetPopupMenu(menu.Get(), false);
    Deliver(tray, {WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP});
    PumpFor(0);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_TRUE(owner.Commands.empty());
    EXPECT_EQ(owner.Nulls, 0);  // no menu was popped up

    // Automatic: a double-click chooses the default item; a right click pops the menu up.
    tray.SetPopupMenu(menu.Get(), true);
    Deliver(tray, {WM_LBUTTONDBLCLK});
    ASSERT_TRUE(PumpUntil([&] { return !owner.Commands.empty(); }, 2000));
    EXPECT_THAT(owner.Commands, ElementsAre(8u));
    SetTimer(nullptr, 0, 100, CloseMenu);
    Deliver(tray, {WM_RBUTTONDOWN});
    EXPECT_TRUE(PumpUntil([&] { return owner.Nulls == 1; }, 3000));
}
