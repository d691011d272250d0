// The display's side of the program: the icon at the notification area's size, high contrast, the light and dark
// taskbar themes, the tray menu and the options dialog at other DPIs.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "app/main_form_win.h"
#include "main_form_test_util.h"
#include "memory/memory_status_win.h"
#include "options_dialog_test_util.h"
#include "platform/dib_win.h"
#include "platform/dpi_win.h"
#include "platform/unique_handle_win.h"
#include "settings/themes.h"
#include "test_shell.h"
#include "tray/high_contrast.h"
#include "tray/tray_renderer.h"
#include "win_test_util.h"

using namespace WinTest;

namespace {
// The icon's colour pixels as 0x00BBGGRR, and its width and height.
struct IconImage {
    int Width = 0, Height = 0;
    TrayPicture Picture{0};
};

IconImage ReadIcon(HICON icon) {
    IconImage image;
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return image;
    UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    GetObjectW(color.Get(), sizeof bm, &bm);
    image.Width = bm.bmWidth;
    image.Height = bm.bmHeight;
    if (image.Width != image.Height || image.Width <= 0)
        return image;
    const int n = image.Width;
    image.Picture = TrayPicture(n);
    BITMAPINFO bi = TopDownDibInfo(n, n);
    std::vector<uint32_t> bits(static_cast<size_t>(n) * n);
    WindowDc screen(nullptr);
    GetDIBits(screen.Get(), color.Get(), 0, static_cast<UINT>(n), bits.data(), &bi, DIB_RGB_COLORS);
    for (size_t i = 0; i < bits.size(); ++i) {
        const uint32_t c = bits[i] & 0xFFFFFF;
        image.Picture.Pixels[i] = ((c & 0xFF) << 16) | (c & 0xFF00) | (c >> 16);
    }
    return image;
}

// A portable form with the shipped light and dark themes beside it, whose tick reads a fixed sample and whose
// notification-area DPI and high-contrast state the test sets.
struct DisplayRig {
    TempDir Dir;
    UINT Dpi = 96;  // 0: the real one
    bool HighContrast = false;
    MemorySample Sample;
    std::unique_ptr<MainForm> Form;

    explicit DisplayRig(const std::string& settings = "[General]\r\nShowPercentage=1\r\nNoBorder=0\r\n",
                        UINT startDpi = 96) {
        Dpi = startDpi;
        Sample.MemoryLoad = 57;
        Sample.TotalPhys = Sample.TotalPageFile = 8ull << 30;
        Sample.AvailPhys = Sample.AvailPageFile = 3ull << 30;
        WriteBytes(Dir.File(L"Lumivex.Settings"), settings);
        CreateDirectoryW(Dir.File(L"Themes").c_str(), nullptr);
        for (int index : {kWindows11LightTheme, kWindows11DarkTheme}) {
            std::wstring name = Widen(DefaultThemeFileName(index));
            CopyFileW((TestFolder() + L"Themes\\" + name).c_str(), Dir.File(L"Themes\\" + name).c_str(), FALSE);
        }
        SystemHooks o;
        o.Sample = [this] { return Sample; };
        o.PrimaryDpi = [this] { return Dpi ? Dpi : PrimaryMonitorDpi(); };
        o.HighContrast = [this] { return HighContrast; };
        Form = MakeForm(Dir, o);
    }
    IconImage Shown() const { return ReadIcon(Form->Tray().Icon()); }
    TrayPicture Expected(int size, const Settings& settings) const {
        GdiSystemColors colors;
        TrayRenderContext context{colors, nullptr, UserNumberSeparators()};
        context.Size = size;
        TrayPicture picture = RenderTrayImage(Sample, settings, context).Picture;
        // A transparent background is the icon's mask: its colour pixels are black there.
        if (settings.TransBk) {
            for (uint32_t& c : picture.Pixels)
                c = c == kTransparentKey ? 0 : c;
        }
        return picture;
    }
};

ThemeColorTexts ShippedThemeColors(int index) {
    IniFileProfile file(TestFolder() + L"Themes\\" + Widen(DefaultThemeFileName(index)));
    return ReadThemeFile(file).Colors;
}
}  // namespace

TEST(TrayDisplay, TheIconIsDrawnAtTheNotificationAreasSizeAndFollowsItsDpi) {
    ScopedTestShell shell;
    DisplayRig rig("[General]\r\nShowPercentage=1\r\nNoBorder=0\r\n", 144);
    EXPECT_EQ(MainFormProbe(*rig.Form).View().IconSize(), 24);
    IconImage shown = rig.Shown();
    EXPECT_EQ(shown.Width, 24);
    EXPECT_EQ(shown.Height, 24);
    EXPECT_EQ(shown.Picture, rig.Expected(24, rig.Form->CurrentSettings()));

    // Each notice of a display change reads the size afresh and redraws at once, with one update of the shell.
    struct Step {
        UINT Message;
        UINT Dpi;
        int Size;
    } steps[] = {
        {WM_DISPLAYCHANGE, 96, 16}, {WM_SETTINGCHANGE, 120, 20}, {WM_DPICHANGED, 192, 32}, {WM_DPICHANGED, 96, 16}};
    for (const Step& step : steps) {
        rig.Dpi = step.Dpi;
        const int modifies = shell->Count(NIM_MODIFY);
        SendMessageW(rig.Form->Hwnd(), step.Message, MAKEWPARAM(step.Dpi, step.Dpi), 0);
        shown = rig.Shown();
        EXPECT_EQ(shown.Width, step.Size) << step.Dpi;
        EXPECT_EQ(shown.Picture, rig.Expected(step.Size, rig.Form->CurrentSettings())) << step.Dpi;
        EXPECT_EQ(shell->Count(NIM_MODIFY), modifies + 1) << step.Dpi;
    }
    // The same size and picture again: nothing is sent.
    const int modifies = shell->Count(NIM_MODIFY);
    SendMessageW(rig.Form->Hwnd(), WM_DISPLAYCHANGE, 32, 0);
    rig.Form->RefreshTick();
    EXPECT_EQ(shell->Count(NIM_MODIFY), modifies);
}

// Run by the test prefix at 144 dpi (ctest "win64-144dpi"); skipped at any other DPI.
TEST(TrayDisplay, At144DpiTheShellGets24PixelsAnd16WhenTheDpiGoesBack) {
    if (SystemDpi() != 144)
        GTEST_SKIP() << "the prefix is at " << SystemDpi() << " dpi";
    ScopedTestShell shell;
    DisplayRig rig("[General]\r\nShowPercentage=1\r\nNoBorder=0\r\n", 0);  // the system's own answers
    ASSERT_FALSE(shell->Calls.empty());
    EXPECT_EQ(ReadIcon(shell->Calls.back().Data.hIcon).Width, 24);
    EXPECT_EQ(rig.Shown().Width, 24);
    rig.Dpi = 96;
    SendMessageW(rig.Form->Hwnd(), WM_DISPLAYCHANGE, 32, 0);
    EXPECT_EQ(rig.Shown().Width, 16);
}

TEST(TrayDisplay, HighContrastDrawsInTheSystemColoursAndGoesBackToTheTheme) {
    ScopedTestShell shell;
    DisplayRig rig;
    const TrayPicture themed = rig.Expected(16, rig.Form->CurrentSettings());
    rig.HighContrast = true;
    SendMessageW(rig.Form->Hwnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    const TrayPicture contrast = rig.Expected(16, HighContrastLook(rig.Form->CurrentSettings()));
    EXPECT_NE(contrast, themed);
    EXPECT_EQ(rig.Shown().Picture, contrast);
    // Every pixel is one of the three system colours.
    for (uint32_t c : rig.Shown().Picture.Pixels)
        EXPECT_TRUE(c == GetSysColor(COLOR_WINDOW) || c == GetSysColor(COLOR_WINDOWTEXT) ||
                    c == GetSysColor(COLOR_HIGHLIGHT))
            << std::hex << c;
    rig.HighContrast = false;
    SendMessageW(rig.Form->Hwnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_EQ(rig.Shown().Picture, themed);
}

TEST(TrayDisplay, FollowingTheTaskbarSwitchesBetweenLightAndDarkAtOnce) {
    ScopedPersonalizeValue mode(L"SystemUsesLightTheme", DWORD{1});
    ScopedTestShell shell;
    DisplayRig rig("[General]\r\nShowPercentage=1\r\nNoBorder=0\r\nFollowTaskbarTheme=1\r\n");
    const Settings before = rig.Form->CurrentSettings();
    EXPECT_TRUE(before.FollowTaskbarTheme);

    mode.Set(0);
    SendMessageW(rig.Form->Hwnd(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
    const Settings dark = rig.Form->CurrentSettings();
    EXPECT_EQ(ThemeColorsOf(dark), ShippedThemeColors(kWindows11DarkTheme));
    EXPECT_TRUE(dark.TransBk);
    EXPECT_EQ(rig.Shown().Picture, rig.Expected(16, dark));
    EXPECT_NE(rig.Shown().Picture, rig.Expected(16, before));

    mode.Set(1);
    SendMessageW(rig.Form->Hwnd(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
    EXPECT_EQ(ThemeColorsOf(rig.Form->CurrentSettings()), ShippedThemeColors(kWindows11LightTheme));
    EXPECT_EQ(rig.Shown().Picture, rig.Expected(16, rig.Form->CurrentSettings()));

    // Without the setting the broadcast changes nothing.
    DisplayRig still;
    const Settings kept = still.Form->CurrentSettings();
    mode.Set(0);
    SendMessageW(still.Form->Hwnd(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
    EXPECT_EQ(ThemeColorsOf(still.Form->CurrentSettings()), ThemeColorsOf(kept));
}

TEST(TrayDisplay, AFirstRunPicksTheThemeOfTheTaskbarsMode) {
    struct Case {
        std::optional<DWORD> Value;
        int Theme;  // -1: the visual style's, as before
        bool Follow;
    } cases[] = {
        {DWORD{0}, kWindows11DarkTheme, true}, {DWORD{1}, kWindows11LightTheme, true}, {std::nullopt, -1, false}};
    for (const Case& c : cases) {
        ScopedPersonalizeValue mode(L"SystemUsesLightTheme", c.Value);
        DisplayRig rig("[Other]\r\nx=1\r\n");
        ASSERT_TRUE(MainFormProbe(*rig.Form).FirstRun());
        EXPECT_EQ(rig.Form->CurrentSettings().FollowTaskbarTheme, c.Follow);
        if (c.Theme >= 0) {
            EXPECT_EQ(ThemeColorsOf(rig.Form->CurrentSettings()), ShippedThemeColors(c.Theme));
        } else {
            EXPECT_NE(ThemeColorsOf(rig.Form->CurrentSettings()), ShippedThemeColors(kWindows11DarkTheme));
        }
    }
    // A settings file that exists keeps its colours and does not follow.
    ScopedPersonalizeValue mode(L"SystemUsesLightTheme", DWORD{0});
    DisplayRig later;
    EXPECT_FALSE(later.Form->CurrentSettings().FollowTaskbarTheme);
    EXPECT_EQ(later.Form->CurrentSettings().GreenColor, kAutomaticColor);
}

TEST(MenuDpi, RowsAndFontsGrowWithTheDpiOfTheMonitor) {
    MenuPainter painter;
    MenuItemEx row;
    row.Caption = "notepad.exe";
    row.MemText = "12.5 MB";
    row.Tag = 99;
    MenuItemEx separator;
    separator.Caption = "-";
    auto measure = [&](UINT dpi, const MenuItemEx& item) {
        painter.SetDpi(dpi);
        UINT w = 0, h = 0;
        painter.MeasureItem(item, item.Caption, false, w, h);
        return std::make_pair(w, h);
    };
    const auto at96 = measure(96, row);
    const auto at144 = measure(144, row);
    EXPECT_GT(at144.second, at96.second);
    EXPECT_GT(at144.first, at96.first);
    EXPECT_EQ(measure(144, separator).second, 9u);
    EXPECT_EQ(measure(96, separator).second, 6u);
    EXPECT_EQ(measure(96, row), at96);  // back at 96 dpi: today's sizes
    // Where the prefix runs at another DPI, the monitor's DPI gives taller rows than 96 dpi.
    if (PointDpi(POINT{0, 0}) > 96) {
        EXPECT_GT(measure(PointDpi(POINT{0, 0}), row).second, at96.second);
    }
}

namespace {
// Every check box, radio button, button and static text of the dialog and its pages shows its whole text.
void ExpectEveryTextFits(OptionsDialog& d) {
    std::vector<HWND> stack{d.Hwnd()};
    int checked = 0;
    while (!stack.empty()) {
        HWND parent = stack.back();
        stack.pop_back();
        for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            wchar_t cls[32] = {};
            GetClassNameW(c, cls, 32);
            if (lstrcmpW(cls, L"#32770") == 0) {
                stack.push_back(c);
                continue;
            }
            const LONG style = GetWindowLongW(c, GWL_STYLE);
            const bool button = lstrcmpiW(cls, L"Button") == 0 && (style & BS_TYPEMASK) != BS_GROUPBOX &&
                                (style & BS_TYPEMASK) != BS_OWNERDRAW;
            const bool label = lstrcmpiW(cls, L"Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT;
            if (!button && !label)
                continue;
            std::wstring text(256, L'\0');
            text.resize(static_cast<size_t>(GetWindowTextW(c, text.data(), 256)));
            while (!text.empty() && text.back() == L' ')
                text.pop_back();
            if (text.empty())
                continue;
            WindowDc dc(c);
            SelectGuard font(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
            RECT need{0, 0, 0, 0};
            DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &need, DT_CALCRECT | DT_SINGLELINE);
            RECT have{};
            GetClientRect(c, &have);
            const bool box =
                button && ((style & BS_TYPEMASK) == BS_AUTOCHECKBOX || (style & BS_TYPEMASK) == BS_CHECKBOX ||
                           (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON || (style & BS_TYPEMASK) == BS_RADIOBUTTON);
            const int glyph = box ? GetSystemMetrics(SM_CXMENUCHECK) + 2 : 0;
            const bool wraps = label && (style & SS_TYPEMASK) == SS_LEFT && have.bottom >= 2 * need.bottom;
            if (!wraps) {
                EXPECT_LE(need.right + glyph, have.right) << Narrow(text);
            }
            EXPECT_LE(need.bottom, have.bottom) << Narrow(text);
            ++checked;
        }
    }
    EXPECT_GT(checked, 20);
}

LONG FontHeight(HWND window) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
}
}  // namespace

TEST(OptionsDpi, ControlsFitTheirTextAndFollowAMoveToAMonitorOfAnotherScale) {
    OptionsFixture f;
    OptionsDialog dialog(f.Host(), f.Prompts());
    RunOptions(dialog, false, [&](OptionsDialog& d) {
        ExpectEveryTextFits(d);
        const UINT dpi = WindowDpi(d.Hwnd());
        HWND check = d.Item(IDC_CKFOLLOWTASKBAR);
        RECT before{};
        GetWindowRect(check, &before);
        const LONG fontBefore = FontHeight(check);
        RECT frame{};
        GetWindowRect(d.Hwnd(), &frame);
        const RECT original = frame;
        // The system's notice of a move to a monitor at twice the scale, with the rectangle it suggests.
        RECT suggested{frame.left, frame.top, frame.left + 2 * (frame.right - frame.left),
                       frame.top + 2 * (frame.bottom - frame.top)};
        SendMessageW(d.Hwnd(), WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi), reinterpret_cast<LPARAM>(&suggested));
        RECT after{}, frameAfter{};
        GetWindowRect(check, &after);
        GetWindowRect(d.Hwnd(), &frameAfter);
        EXPECT_EQ(frameAfter.right - frameAfter.left, suggested.right - suggested.left);
        EXPECT_NEAR(after.right - after.left, 2 * (before.right - before.left), 2);
        EXPECT_NEAR(FontHeight(check), 2 * fontBefore, 1);
        ExpectEveryTextFits(d);
        // And back.
        SendMessageW(d.Hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&original));
        GetWindowRect(check, &after);
        EXPECT_NEAR(after.right - after.left, before.right - before.left, 2);
        EXPECT_EQ(FontHeight(check), fontBefore);
    });
}
