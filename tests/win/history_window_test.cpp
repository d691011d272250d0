// The memory history window on a history and a growth filled with made-up readings: where it opens, its spans by
// click and by keyboard, the text under the mouse, Copy, a grower's row, the ways it closes, what 100 openings leave
// behind, and the language of every text it shows.
#include "app/history_window_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "history_reading.h"
#include "history_window_probe.h"
#include "platform/text_win.h"
#include "platform/texts.h"
#include "win_test_util.h"

using namespace WinTest;

namespace {
constexpr uint64_t kMiB = 1ull << 20;
constexpr uint32_t kMinuteMs = 60000;

// An hour of readings, a tick a second: 30 % in use, 60 % for the last five minutes; leak.exe grows 10 MiB a minute
// when growers is set, beside a flat process.
struct Rig {
    std::unique_ptr<MemoryHistory> History = std::make_unique<MemoryHistory>();
    std::unique_ptr<ProcessGrowth> Growth = std::make_unique<ProcessGrowth>();
    Settings Options;
    HistoryWindow Window{*History, *Growth, Options};

    explicit Rig(bool growers = true) {
        uint32_t tick = 1000;
        for (uint32_t minute = 0; minute < 60; ++minute) {
            if (growers) {
                std::vector<ProcessMemoryReading> list = {{100, 7, (200 + 10 * minute) * kMiB, "leak.exe"},
                                                          {200, 7, 900 * kMiB, "flat.exe"}};
                Growth->Update(tick, list);
            }
            for (int s = 0; s < 60; ++s, tick += 1000)
                History->Add(tick, minute < 55 ? HistoryReading(30, 15) : HistoryReading(60, 30));
        }
    }
    HistoryWindowProbe Probe() { return HistoryWindowProbe(Window); }
};

struct EnglishScope {
    EnglishScope() { SetLanguage(Language::English); }
    ~EnglishScope() { SetLanguage(Language::Chinese); }
};

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK ListWindow(HWND h, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
    return TRUE;
}

// The thread's top-level windows and their children.
int ThreadWindowCount() {
    int count = 0;
    std::vector<HWND> top;
    EnumThreadWindows(GetCurrentThreadId(), ListWindow, reinterpret_cast<LPARAM>(&top));
    for (HWND h : top)
        EnumChildWindows(h, CountWindow, reinterpret_cast<LPARAM>(&count));
    return count + static_cast<int>(top.size());
}

LONG FontHeight(HWND window) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
}

// The window as drawn, every child painted, read back into a DIB (0x00BBGGRR, like COLORREF).
struct Drawn {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;
    COLORREF At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};
Drawn DrawnWindow(HWND h) {
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client{};
    GetClientRect(h, &client);
    Drawn d{client.right, client.bottom, std::vector<uint32_t>(static_cast<size_t>(client.right) * client.bottom)};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), d.Width, -d.Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    WindowDc window(h);
    UniqueMemoryDc memory(CreateCompatibleDC(window.Get()));
    {
        SelectGuard select(memory.Get(), dib.Get());
        BitBlt(memory.Get(), 0, 0, d.Width, d.Height, window.Get(), 0, 0, SRCCOPY);
    }
    for (size_t i = 0; i < d.Pixels.size(); ++i) {
        const uint32_t c = static_cast<const uint32_t*>(bits)[i] & 0xFFFFFF;
        d.Pixels[i] = ((c & 0xFF) << 16) | (c & 0xFF00) | (c >> 16);
    }
    return d;
}

bool IsDark(COLORREF c) {
    return GetRValue(c) < 0x60 && GetGValue(c) < 0x60 && GetBValue(c) < 0x60;
}
bool IsLight(COLORREF c) {
    return GetRValue(c) > 0xE0 && GetGValue(c) > 0xE0 && GetBValue(c) > 0xE0;
}
}  // namespace

TEST(HistoryWindow, OpensInsideTheWorkAreaAndSwitchesSpansByClickAndKeyboard) {
    Rig rig;
    rig.Window.Show();
    PumpFor(50);
    ASSERT_TRUE(rig.Window.IsOpen());
    HWND h = rig.Window.Hwnd();
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_TRUE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);  // no taskbar button
    RECT work, r;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(h, &r);
    EXPECT_GE(r.left, work.left);
    EXPECT_GE(r.top, work.top);
    EXPECT_LE(r.right, work.right);
    EXPECT_LE(r.bottom, work.bottom);

    HistoryWindowProbe probe = rig.Probe();
    EXPECT_EQ(probe.Shown(), HistorySpan::TenMinutes);
    SendMessageW(probe.Span(HistorySpan::Day), BM_CLICK, 0, 0);
    EXPECT_EQ(probe.Shown(), HistorySpan::Day);

    // Tab from Copy comes round to the chosen span only; the arrows choose the next; Space chooses the focused one.
    SetFocus(probe.Copy());
    PressKey(probe.Copy(), VK_TAB);
    EXPECT_EQ(GetFocus(), probe.Span(HistorySpan::Day));
    PressKey(GetFocus(), VK_LEFT);
    EXPECT_EQ(GetFocus(), probe.Span(HistorySpan::Hour));
    EXPECT_EQ(probe.Shown(), HistorySpan::Hour);
    SetFocus(probe.Span(HistorySpan::TenMinutes));
    PressKey(GetFocus(), VK_SPACE);
    EXPECT_EQ(probe.Shown(), HistorySpan::TenMinutes);
    rig.Window.Close();
    EXPECT_FALSE(rig.Window.IsOpen());
}

// Without the mouse the line reads the newest figures; over the graph, the figures of the time under it.
TEST(HistoryWindow, HoverShowsTheFiguresUnderTheMouse) {
    EnglishScope english;
    Rig rig;
    rig.Window.Show();
    HistoryWindowProbe probe = rig.Probe();
    auto hoverText = [&] { return WindowText(probe.Hover()); };
    EXPECT_NE(hoverText().find(L"60% in use \u00B7 30% committed"), std::wstring::npos) << hoverText();

    const RECT g = probe.Graph();
    SendMessageW(rig.Window.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(g.left + (g.right - g.left) / 4, g.top + 5));
    EXPECT_NE(hoverText().find(L"30% in use \u00B7 15% committed"), std::wstring::npos) << hoverText();
    EXPECT_EQ(hoverText()[2], L':');  // the clock time
    SendMessageW(rig.Window.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(g.right - 1, g.top + 5));
    EXPECT_NE(hoverText().find(L"60% in use"), std::wstring::npos) << hoverText();
    SendMessageW(rig.Window.Hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_NE(hoverText().find(L"60% in use"), std::wstring::npos) << hoverText();
    rig.Window.Close();
}

TEST(HistoryWindow, CopyPutsTheShownSpanOnTheClipboard) {
    Rig rig;
    rig.Window.Show();
    HistoryWindowProbe probe = rig.Probe();
    for (HistorySpan span : {HistorySpan::Hour, HistorySpan::TenMinutes}) {
        SendMessageW(probe.Span(span), BM_CLICK, 0, 0);
        SendMessageW(probe.Copy(), BM_CLICK, 0, 0);
        const std::wstring copied = ClipboardText();
        const std::string expected =
            span == HistorySpan::Hour ? rig.History->MinutesCsv(60) : rig.History->TicksCsv(10);
        EXPECT_EQ(copied, Widen(expected));
        EXPECT_GT(copied.size(), 100u);
    }
    rig.Window.Close();
}

TEST(HistoryWindow, AGrowersRowNamesItAndItsClickChoosesIt) {
    EnglishScope english;
    Rig rig;
    std::vector<ProcessGrowthEntry> chosen;
    std::string chosenName;
    rig.Window.OnProcessChosen = [&](const ProcessGrowthEntry& e) {
        chosen.push_back(e);
        chosenName = std::string(e.ExeName);
    };
    rig.Window.Show();
    HistoryWindowProbe probe = rig.Probe();
    SendMessageW(probe.Span(HistorySpan::Hour), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindowVisible(probe.Row(0)));
    EXPECT_EQ(WindowText(probe.Row(0)), L"leak.exe\t+590 MB in 1 hour");
    EXPECT_FALSE(IsWindowVisible(probe.Row(1)));
    EXPECT_FALSE(IsWindowVisible(probe.NoGrowth()));
    SendMessageW(probe.Row(0), BM_CLICK, 0, 0);
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0].ProcessId, 100u);
    EXPECT_EQ(chosen[0].CreationTime, 7u);
    EXPECT_EQ(chosenName, "leak.exe");
    rig.Window.Close();

    Rig calm(false);
    calm.Window.Show();
    EXPECT_TRUE(IsWindowVisible(calm.Probe().NoGrowth()));
    EXPECT_FALSE(IsWindowVisible(calm.Probe().Row(0)));
    calm.Window.Close();
}

TEST(HistoryWindow, EscAndAnotherWindowsActivationCloseIt) {
    Rig rig;
    rig.Window.Show();
    PumpWithDialogKeys(50);
    PressKey(GetFocus(), VK_ESCAPE);
    EXPECT_FALSE(rig.Window.IsOpen());

    rig.Window.Show();
    PumpWithDialogKeys(50);
    ASSERT_EQ(GetActiveWindow(), rig.Window.Hwnd());
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                                 nullptr);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    PumpWithDialogKeys(100);
    EXPECT_FALSE(rig.Window.IsOpen());
    DestroyWindow(other);
}

// The system's notice of a move to a monitor at one and a half times the scale: the window, its graph and its fonts
// grow by half at the place the system suggests, and everything still fits; back again, all is as it was.
TEST(HistoryWindow, FollowsAMoveToAMonitorOfAnotherScale) {
    Rig rig;
    rig.Window.Show();
    PumpFor(50);
    HWND h = rig.Window.Hwnd();
    HistoryWindowProbe probe = rig.Probe();
    const UINT dpi = probe.Dpi();
    RECT client{}, frame{};
    GetClientRect(h, &client);
    GetWindowRect(h, &frame);
    const RECT graph = probe.Graph();
    const LONG font = FontHeight(probe.Copy());

    RECT suggested{frame.left - 40, frame.top - 60, frame.left - 40 + (frame.right - frame.left) * 3 / 2,
                   frame.top - 60 + (frame.bottom - frame.top) * 3 / 2};
    SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(dpi * 3 / 2, dpi * 3 / 2), reinterpret_cast<LPARAM>(&suggested));
    RECT clientAfter{}, frameAfter{}, copy{};
    GetClientRect(h, &clientAfter);
    GetWindowRect(h, &frameAfter);
    EXPECT_EQ(frameAfter.left, suggested.left);
    EXPECT_EQ(frameAfter.top, suggested.top);
    EXPECT_NEAR(clientAfter.right, client.right * 3 / 2, 1);
    EXPECT_NEAR(clientAfter.bottom, client.bottom * 3 / 2, 1);
    const RECT graphAfter = probe.Graph();
    EXPECT_NEAR(graphAfter.right - graphAfter.left, (graph.right - graph.left) * 3 / 2, 1);
    EXPECT_NEAR(graphAfter.bottom - graphAfter.top, (graph.bottom - graph.top) * 3 / 2, 1);
    EXPECT_NEAR(FontHeight(probe.Copy()), font * 3 / 2, 1);
    EXPECT_NEAR(FontHeight(probe.Hover()), font * 3 / 2, 1);
    GetWindowRect(probe.Copy(), &copy);
    MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&copy), 2);
    EXPECT_LE(copy.right, clientAfter.right);
    EXPECT_LE(copy.bottom, clientAfter.bottom);

    SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
    GetClientRect(h, &clientAfter);
    GetWindowRect(h, &frameAfter);
    EXPECT_TRUE(EqualRect(&frameAfter, &frame));
    EXPECT_TRUE(EqualRect(&clientAfter, &client));
    EXPECT_EQ(FontHeight(probe.Copy()), font);
    rig.Window.Close();
}

// The apps' light or dark setting and high contrast, changed while the window is open, show at once: in the
// background, the legend's swatch and every pixel of the graph, which in high contrast has only the user's colours.
TEST(HistoryWindow, TakesTheAppsLightOrDarkLookAndHighContrastWhileOpen) {
    ScopedPersonalizeValue apps(L"AppsUseLightTheme", DWORD{1});
    bool contrast = false;
    Rig rig;
    rig.Window.ReadHighContrast = [&] { return contrast; };
    rig.Window.Show();
    PumpFor(50);
    HWND h = rig.Window.Hwnd();
    const RECT g = rig.Probe().Graph();
    // The middle of the load's swatch in the legend, at its left below the graph.
    const int dpi = static_cast<int>(rig.Probe().Dpi());
    const int swatchX = g.left + MulDiv(5, dpi, 96), swatchY = MulDiv(236, dpi, 96);
    auto graphPixels = [&](const Drawn& d) {
        std::vector<COLORREF> pixels;
        for (int y = g.top; y < g.bottom; ++y)
            for (int x = g.left; x < g.right; ++x)
                pixels.push_back(d.At(x, y));
        return pixels;
    };

    Drawn light = DrawnWindow(h);
    EXPECT_TRUE(IsLight(light.At(2, 2))) << std::hex << light.At(2, 2);
    EXPECT_TRUE(IsLight(light.At(g.left + 1, g.top + 1))) << std::hex << light.At(g.left + 1, g.top + 1);

    apps.Set(DWORD{0});
    SendMessageW(h, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
    Drawn dark = DrawnWindow(h);
    EXPECT_TRUE(IsDark(dark.At(2, 2))) << std::hex << dark.At(2, 2);
    EXPECT_TRUE(IsDark(dark.At(g.left + 1, g.top + 1))) << std::hex << dark.At(g.left + 1, g.top + 1);
    EXPECT_NE(dark.At(swatchX, swatchY), light.At(swatchX, swatchY));

    contrast = true;
    SendMessageW(h, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    Drawn high = DrawnWindow(h);
    EXPECT_EQ(high.At(2, 2), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(high.At(swatchX, swatchY), GetSysColor(COLOR_HIGHLIGHT));
    const COLORREF allowed[] = {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_GRAYTEXT),
                                GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HOTLIGHT)};
    int others = 0;
    for (COLORREF c : graphPixels(high))
        others += std::find(std::begin(allowed), std::end(allowed), c) == std::end(allowed);
    EXPECT_EQ(others, 0);

    contrast = false;
    apps.Set(DWORD{1});
    SendMessageW(h, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_EQ(graphPixels(DrawnWindow(h)), graphPixels(light));
    rig.Window.Close();
}

// Each opening makes its windows, fonts and brush; each closing must give every one of them back.
TEST(HistoryWindow, HundredOpeningsLeaveWindowsAndObjectsWhereTheyWere) {
    Rig rig;
    auto cycle = [&] {
        rig.Window.Show();
        rig.Window.Refresh();
        UpdateWindow(rig.Window.Hwnd());
        SendMessageW(rig.Probe().Span(HistorySpan::Day), BM_CLICK, 0, 0);
        SendMessageW(rig.Probe().Copy(), BM_CLICK, 0, 0);
        rig.Window.Close();
        PumpFor(0);
    };
    cycle();
    const int windows = ThreadWindowCount();
    const size_t gdi = GdiRoomLeft(), user = UserRoomLeft();
    for (int i = 0; i < 100; ++i)
        cycle();
    EXPECT_EQ(ThreadWindowCount(), windows);
    EXPECT_EQ(GdiRoomLeft(), gdi);
    EXPECT_EQ(UserRoomLeft(), user);
}

// Every text the window shows is of the active language: its own texts come from the text table's column, and in
// English nothing Chinese is left.
TEST(HistoryWindow, ShownTextsFollowTheLanguage) {
    const TextId own[] = {TextId::HistoryTitle,   TextId::HistoryTenMinutes, TextId::HistoryHour,
                          TextId::HistoryDay,     TextId::HistoryInUse,      TextId::HistoryCommitted,
                          TextId::HistoryGrowers, TextId::HistoryNoGrowth,   TextId::HistoryCopy};
    for (Language language : {Language::English, Language::Chinese}) {
        SetLanguage(language);
        Rig rig;
        rig.Window.Show();
        std::vector<std::wstring> texts = {WindowText(rig.Window.Hwnd())};
        HistoryWindowProbe probe = rig.Probe();
        for (HWND h = GetWindow(rig.Window.Hwnd(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
            const std::wstring text = WindowText(h);
            if (h == probe.Hover() || h == probe.Row(0)) {
                for (wchar_t c : text) {
                    if (language == Language::English) {
                        EXPECT_LT(c, 0x2E80) << Narrow(text);  // nothing from the CJK blocks on
                    }
                }
                continue;
            }
            texts.push_back(text);
        }
        for (const std::wstring& text : texts) {
            if (text.empty())
                continue;
            bool fromTable = false;
            for (TextId id : own)
                fromTable = fromTable || text == Widen(Text(id, language));
            EXPECT_TRUE(fromTable) << Narrow(text);
        }
        rig.Window.Close();
    }
    SetLanguage(Language::Chinese);
}
