#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/main_form_win.h"
#include "local_http_server.h"
#include "main_form_test_util.h"
#include "platform/place_near_taskbar_win.h"
#include "resource.h"
#include "update/version_text.h"
#include "win_test_util.h"

using namespace WinTest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {
// A main form with its settings in a folder of its own, its update file on the local server and its browser
// replaced by a list of the pages it would open.
struct AboutFixture {
    explicit AboutFixture(const std::string& settings = "") {
        if (!settings.empty())
            WriteBytes(Dir.File(L"Lumivex.Settings"), settings);
        Form = MakeForm(Dir);
        About().Addresses().UpdateFile = Server.Url("/lumivex.upd");
        MainFormProbe(*Form).Hooks().Launchers.WebPage = [this](HWND, const std::string& address) {
            Pages.push_back(address);
            return true;
        };
    }
    ~AboutFixture() { Form.reset(); }

    AboutController& About() { return MainFormProbe(*Form).About(); }
    LinkLabel& Label() { return About().Box().LabelDownload; }
    std::string OwnFileVersion() {
        VersionInfoReader own;
        own.SetFilename("");
        return own.FileVersion().Text();
    }
    // Shows the box from the tray menu and waits until its update check (if one starts) is over.
    void ShowAndSettle() {
        SendMessageW(Form->Hwnd(), WM_COMMAND, IDM_ABOUT, 0);
        PumpUntil([] { return true; }, 0);  // runs what showing the box posted
        ASSERT_TRUE(PumpUntil([&] { return !About().UpdateCheckRunning(); }, 30000));
    }
    // Clicks "Check for updates" and waits for the outcome.
    void CheckNow() {
        LabelDownloadClick();
        ASSERT_TRUE(PumpUntil([&] { return !About().UpdateCheckRunning(); }, 30000));
    }
    void LabelDownloadClick() { ClickLink(Label()); }
    // (Under Wine without a window manager every hide waits two seconds for the X server: tests hide sparingly.)
    void Hide() { SendMessageW(Form->Hwnd(), WM_CLOSE, 0, 0); }
    void ClickLink(LinkLabel& label, int link = 0) {
        RECT r = label.LinkRect(link);
        LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(label.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(label.Hwnd(), WM_LBUTTONUP, 0, at);
    }

    TempDir Dir;
    LocalHttpServer Server;
    std::unique_ptr<MainForm> Form;
    std::vector<std::string> Pages;
};

std::string VersionFile(const std::string& version) {
    return "[CurrentVersions]\r\nlumivex_win_tests=" + version + "\r\n";
}

std::string Text(HWND h) {
    wchar_t buffer[512] = {};
    GetWindowTextW(h, buffer, 512);
    return Narrow(buffer);
}
}  // namespace

TEST(AboutBox, ShowsTheProgramAndHidesOnClose) {
    AboutFixture f;
    // The box's controls are made when it is first shown or looked at, the form sized for them.
    EXPECT_EQ(FindWindowExW(f.Form->Hwnd(), nullptr, nullptr, nullptr), nullptr);
    f.About().Box();
    RECT client;
    GetClientRect(f.Form->Hwnd(), &client);
    EXPECT_EQ(client.right, 373);
    EXPECT_EQ(client.bottom, 259);
    EXPECT_EQ(Text(f.About().Box().VersionLabel()), "Version " + FormatFileVersion(f.OwnFileVersion(), false));
    EXPECT_EQ(Text(f.About().Box().OkButton()), "确定");
    EXPECT_EQ(f.Label().Caption(), "<link>Check for updates</link>");
    EXPECT_FALSE(IsWindowVisible(f.Form->Hwnd()));
    f.ShowAndSettle();
    EXPECT_TRUE(IsWindowVisible(f.Form->Hwnd()));
    // "确定", Esc (as the message loop hands dialog keys over) and the close box hide the box; the program keeps
    // running.
    SendMessageW(f.About().Box().OkButton(), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowVisible(f.Form->Hwnd()));
    f.ShowAndSettle();
    SetFocus(f.Label().Hwnd());
    MSG escape{f.Label().Hwnd(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(f.Form->Hwnd(), &escape));
    EXPECT_FALSE(IsWindowVisible(f.Form->Hwnd()));
    f.ShowAndSettle();
    f.Hide();
    EXPECT_FALSE(IsWindowVisible(f.Form->Hwnd()));
    EXPECT_TRUE(IsWindow(f.Form->Hwnd()));
}

TEST(AboutBox, UpdateLabelStates) {
    AboutFixture probe;
    const std::string own = probe.OwnFileVersion();
    ASSERT_FALSE(own.empty());  // the tests carry the program's version resource
    struct Case {
        std::string Body;
        int Status;
        std::string Caption;
        int Tag;
    } cases[] = {
        {VersionFile("99.7.0.0"), 200, "<link>Lumivex 99.7 is available for download</link>", 1},
        {VersionFile("99.0.0.10"), 200, "<link>Lumivex 99.0 SR10 is available for download</link>", 1},
        {VersionFile(own), 200, "Lumivex is up to date", 1},
        {VersionFile("0.0.0.0"), 200, "Lumivex is up to date", 1},
        {VersionFile("2.x"), 200, "Lumivex is up to date", 1},
        {"[CurrentVersions]\r\nSomethingElse=9.0.0.0\r\n", 200, "<link>Error checking for new version</link>", 0},
        {"<html>captive portal</html>", 200, "<link>Error checking for new version</link>", 0},
        {VersionFile("9.0.0.0") + std::string(100000, ';'), 200, "<link>Error checking for new version</link>", 0},
        {VersionFile("9.0.0.0"), 404, "<link>Error checking for new version</link>", 0},
    };
    for (const Case& c : cases) {
        AboutFixture f;
        f.Server.Set("/lumivex.upd", c.Body, c.Status);
        f.CheckNow();
        EXPECT_EQ(f.Label().Caption(), c.Caption) << c.Body.substr(0, 60);
        EXPECT_EQ(f.Label().Tag, c.Tag);
        EXPECT_EQ(f.Label().FontColor(), GetSysColor(COLOR_BTNSHADOW));
    }
}

TEST(AboutBox, ChecksAgainOnlyAfterAFailure) {
    AboutFixture f;
    f.About().Addresses().UpdateFile = ClosedPortUrl("/lumivex.upd");  // server down
    f.ShowAndSettle();
    EXPECT_EQ(f.Label().Caption(), "<link>Error checking for new version</link>");
    f.Hide();
    f.About().Addresses().UpdateFile = f.Server.Url("/lumivex.upd");
    f.Server.Set("/lumivex.upd", VersionFile("99.7.0.0"));
    f.ShowAndSettle();
    EXPECT_EQ(f.Server.Requests(), 1);
    EXPECT_EQ(f.Label().Caption(), "<link>Lumivex 99.7 is available for download</link>");
    f.Hide();
    f.ShowAndSettle();
    EXPECT_EQ(f.Server.Requests(), 1);  // a successful check is not repeated
    // The "is available" link opens the downloads page.
    f.ClickLink(f.Label());
    EXPECT_THAT(f.Pages, ElementsAre(f.About().Addresses().Downloads));
}

TEST(AboutBox, AFailedCheckIsALinkThatChecksAgain) {
    AboutFixture f;
    f.About().Addresses().UpdateFile = ClosedPortUrl("/lumivex.upd");  // server down
    f.ShowAndSettle();
    ASSERT_EQ(f.Label().Caption(), "<link>Error checking for new version</link>");
    f.About().Addresses().UpdateFile = f.Server.Url("/lumivex.upd");
    f.Server.Set("/lumivex.upd", VersionFile("99.7.0.0"));
    f.CheckNow();
    EXPECT_EQ(f.Server.Requests(), 1);
    EXPECT_EQ(f.Label().Caption(), "<link>Lumivex 99.7 is available for download</link>");
    EXPECT_TRUE(f.Pages.empty());  // a check, not the downloads page
}

TEST(AboutBox, TitleAndCopyrightFollowTheLanguage) {
    AboutFixture f;
    EXPECT_EQ(Text(f.Form->Hwnd()), "Lumivex");
    SetLanguage(Language::English);
    f.About().Box().SetTexts();
    EXPECT_EQ(Text(f.Form->Hwnd()), "About Lumivex");  // as the menu item that opens it
    EXPECT_EQ(Text(f.About().Box().RightsLabel()), "Copyright © Brindell. All rights reserved.");
    SetLanguage(Language::Chinese);
    f.About().Box().SetTexts();
    EXPECT_EQ(Text(f.Form->Hwnd()), "Lumivex");
    EXPECT_EQ(Text(f.About().Box().RightsLabel()), "保留所有权利");
}

TEST(AboutBox, LinksOpenTheMakersPagesAndTheLicence) {
    AboutFixture f;
    AboutBox& box = f.About().Box();
    f.ClickLink(box.HomePageLink);
    f.ClickLink(box.SupportLink);
    EXPECT_FALSE(f.Form->CurrentSettings().ClickedDonation);
    f.ClickLink(box.DonationLink);
    EXPECT_THAT(f.Pages,
                ElementsAre(f.About().Addresses().Home, f.About().Addresses().Support, f.About().Addresses().Donation));
    for (const std::string& page : f.Pages)
        EXPECT_EQ(page.rfind("https://", 0), 0u) << page;
    EXPECT_TRUE(f.Form->CurrentSettings().ClickedDonation);
    EXPECT_TRUE(box.DonationVisible());  // gone only from the next start

    f.ClickLink(box.LicenceLink);
    HWND viewer = box.Licence.Hwnd();
    ASSERT_TRUE(viewer);
    EXPECT_TRUE(IsWindowVisible(viewer));
    EXPECT_EQ(Text(viewer), "Lumivex");
    std::string shown = Text(box.Licence.TextBox());
    EXPECT_THAT(shown, HasSubstr("Copyright (c) 2026 Brindell"));
    EXPECT_THAT(shown, HasSubstr("\r\n"));
    SendMessageW(viewer, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindow(viewer));
}

TEST(AboutBox, DonationRowGoneAfterItWasUsed) {
    AboutFixture f("[General]\r\nClickedDonation=1\r\n");
    EXPECT_FALSE(f.About().Box().DonationVisible());
    EXPECT_FALSE(IsWindowVisible(f.About().Box().DonationLink.Hwnd()));
    RECT client;
    GetClientRect(f.Form->Hwnd(), &client);
    EXPECT_EQ(client.bottom, 259 - AboutBox::kDonationRowHeight);
}

TEST(AboutBox, PlacedNearTheTaskbar) {
    // A window of the taskbar's class stands in for the taskbar, at each edge of the screen.
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    AboutFixture f;
    HWND form = f.Form->Hwnd();
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Shell_TrayWnd";
    RegisterClassW(&wc);
    struct Case {
        RECT Taskbar;
        TaskbarEdge Edge;
    } cases[] = {
        {{0, sh - 40, sw, sh}, TaskbarEdge::Bottom},
        {{0, 0, sw, 40}, TaskbarEdge::Top},
        {{0, 0, 60, sh}, TaskbarEdge::Left},
        {{sw - 60, 0, sw, sh}, TaskbarEdge::Right},
        {{100, sh / 2 + 100, 300, sh / 2 + 200}, TaskbarEdge::Unknown},
    };
    for (const Case& c : cases) {
        const RECT& t = c.Taskbar;
        HWND taskbar = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"Shell_TrayWnd", L"", WS_POPUP, t.left, t.top,
                                       t.right - t.left, t.bottom - t.top, nullptr, nullptr, nullptr, nullptr);
        ASSERT_EQ(FindWindowW(L"Shell_TrayWnd", nullptr), taskbar);
        EXPECT_EQ(CurrentTaskbarEdge(), c.Edge);
        SetWindowPos(form, nullptr, 33, 44, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        f.About().Shown();  // what showing the box runs first
        RECT work, r;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        GetWindowRect(form, &r);
        std::optional<ScreenPoint> expected = PositionNearTaskbar(
            c.Edge, {work.left, work.top, work.right, work.bottom}, r.right - r.left, r.bottom - r.top);
        ScreenPoint at{r.left, r.top};
        EXPECT_EQ(at, expected.value_or(ScreenPoint{33, 44})) << static_cast<int>(c.Edge);
        DestroyWindow(taskbar);
    }
}
