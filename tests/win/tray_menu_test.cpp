// The tray menu's rows, their drawing and the process dialog's actions, with helper programs of known working sets.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/main_form_win.h"
#include "main_form_test_util.h"
#include "memory_helper.h"
#include "options_dialog_test_util.h"
#include "platform/dpi_win.h"
#include "platform/text_win.h"
#include "processes/process_actions_win.h"
#include "processes/process_list_win.h"
#include "processes/tray_menu_model.h"
#include "resource.h"

using namespace WinTest;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {
constexpr uint64_t kMB = 1048576;

std::vector<MenuItemEx*> TopItems(MainForm& form) {
    std::vector<MenuItemEx*> items;
    for (int i = 0; i < form.Menu().Items().Count(); ++i)
        items.push_back(form.Menu().Items().ItemAt(i));
    return items;
}

std::vector<MenuItemEx*> ProcessRows(MainForm& form) {
    std::vector<MenuItemEx*> rows;
    for (MenuItemEx* item : TopItems(form))
        if (item->Tag == kTagProcessRow && item->Caption != "-")
            rows.push_back(item);
    return rows;
}

// The top level as a short text: each row kind once per run, fixed items by caption.
std::vector<std::string> Layout(MainForm& form) {
    std::vector<std::string> layout;
    for (MenuItemEx* item : TopItems(form)) {
        std::string word = item->Caption == "-"          ? "-" + std::to_string(item->Tag)
                           : item->Tag == kTagProcessRow ? "processes"
                           : item->Tag == kTagMemoryRow  ? "memory"
                                                         : item->Caption;
        if (layout.empty() || layout.back() != word || word == "-0")
            layout.push_back(word);
    }
    return layout;
}

MainForm* measuredForm = nullptr;
DWORD menuDeadline = 0;
// Closes the open menu once its items have been measured (or, should that never happen, after a while).
void CALLBACK CloseMenuOnceMeasured(HWND, UINT, UINT_PTR, DWORD) {
    if (measuredForm->Menu().Painter().LastMenuTextHeight() > 0 || static_cast<int>(GetTickCount() - menuDeadline) > 0)
        EndMenu();
}

constexpr char kHint[] = "内存使用率   : 45 %\r\n物理内存使用    : 1.2 GB / 4 GB\r\n页面文件  : 2 GB: 8 GB";
}  // namespace

TEST(TrayMenu, ProcessRowsFollowTheWorkingSetsAndTheCount) {
    MemoryHelper big(160), middle(128), small(96);
    ASSERT_TRUE(big.Ready() && middle.Ready() && small.Ready());
    TempDir dir;
    auto form = MakePortableForm(dir);
    form->CurrentSettings().ShowMemMenu = false;
    form->CurrentSettings().HighlightProcessAbove = 120;

    form->CurrentSettings().TopProcessCount = 2;
    form->Menu().BuildRows("");
    std::vector<MenuItemEx*> rows = ProcessRows(*form);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0]->ProcessID, big.Id());
    EXPECT_EQ(rows[1]->ProcessID, middle.Id());
    EXPECT_EQ(rows[0]->Caption, "lumivex_test_helper_full.exe");
    EXPECT_EQ(rows[0]->MemText.substr(rows[0]->MemText.size() - 3), " MB");
    EXPECT_TRUE(rows[0]->Highlight);
    EXPECT_TRUE(rows[1]->Highlight);
    EXPECT_FALSE(rows[0]->NoIcon);  // the helper carries an icon
    EXPECT_NE(rows[0]->IconHandle.Get(), nullptr);

    // More rows asked for than there are processes: every process once, heaviest first, the helpers on top.
    form->CurrentSettings().TopProcessCount = 100000;
    form->CurrentSettings().ShowNameInsteadOfModule = true;
    form->Menu().BuildRows("");
    rows = ProcessRows(*form);
    ASSERT_GT(rows.size(), 3u);
    EXPECT_LT(rows.size(), 100000u);
    EXPECT_EQ(rows[2]->ProcessID, small.Id());
    EXPECT_FALSE(rows[2]->Highlight);  // 96 MB is below 120
    EXPECT_EQ(rows[0]->Caption, "Memory helper");
    EXPECT_EQ(Layout(*form)[1], "-99");
    EXPECT_EQ(Layout(*form)[2], "processes");

    form->CurrentSettings().TopProcessCount = 0;
    form->Menu().BuildRows("");
    EXPECT_THAT(Layout(*form),
                ElementsAre("运行任务管理器", "-0", "内存历史…", "内存清理", "-0", "设置", "-0", "关于", "退出"));
}

TEST(TrayMenu, RowFiguresFromTheRecord) {
    TempDir dir;
    auto form = MakePortableForm(dir);
    // A process that cannot be opened at all.
    ProcessRecord ghost;
    ghost.ProcessID = 0xFFFFFFF0;
    ghost.ExeName = "ghost.exe";
    ProcessList::ReadProcess(ghost, nullptr);
    // A working set beyond 4 GB, which 32 bits would have read as 1.5 GB.
    ProcessRecord huge = ghost;
    huge.ExeName = "huge.exe";
    huge.MemoryUsage = 5632 * kMB;  // 5.5 GB
    struct {
        const ProcessRecord* Record;
        int HighlightAbove;
        const char* MemText;
        bool Highlight;
    } cases[] = {{&ghost, 1, "n/a", false},
                 {&huge, 5632, "5.5 GB", true},
                 {&huge, 5633, "5.5 GB", false},
                 {&huge, 0, "5.5 GB", false}};
    for (const auto& c : cases) {
        form->CurrentSettings().HighlightProcessAbove = c.HighlightAbove;
        auto row = form->Menu().MakeProcessRow(*c.Record, IDM_PROCESS_ROW_FIRST, NumberSeparators{});
        EXPECT_EQ(row->MemText, c.MemText) << c.Record->ExeName;
        EXPECT_EQ(row->Highlight, c.Highlight) << c.Record->ExeName << c.HighlightAbove;
        EXPECT_TRUE(row->NoIcon);  // no path, no icon of its own: DefaultProgramIcon is drawn
        EXPECT_EQ(row->Caption, c.Record->ExeName);
    }
}

TEST(TrayMenu, RowsInTheThreeOrdersAndOnlyOneSetAfterTwoClicks) {
    TempDir dir;
    auto form = MakePortableForm(dir);
    form->CurrentSettings().TopProcessCount = 3;
    struct Case {
        bool Processes, Memory;
        std::vector<std::string> Layout;
    } cases[] = {
        {true,
         true,
         {"运行任务管理器", "-99", "memory", "-98", "processes", "-0", "内存历史…", "内存清理", "-0", "设置", "-0",
          "关于", "退出"}},
        {true,
         false,
         {"运行任务管理器", "-99", "processes", "-0", "内存历史…", "内存清理", "-0", "设置", "-0", "关于", "退出"}},
        {false,
         true,
         {"运行任务管理器", "-0", "memory", "-98", "内存历史…", "内存清理", "-0", "设置", "-0", "关于", "退出"}},
    };
    for (const Case& c : cases) {
        form->Menu().RemoveProcessRows();
        form->Menu().RemoveMemoryRows();
        form->CurrentSettings().ShowTopProcess = c.Processes;
        form->CurrentSettings().ShowMemMenu = c.Memory;
        form->Menu().BuildRows(kHint);
        form->Menu().BuildRows(kHint);  // the second right-click replaces the rows of the first
        EXPECT_THAT(Layout(*form), ElementsAreArray(c.Layout)) << c.Processes << c.Memory;
        EXPECT_EQ(ProcessRows(*form).size(), c.Processes ? 3u : 0u);
    }
    // The memory rows: caption before the first colon, the rest (second colon included) as the figure; disabled.
    MenuItemEx* pageFile = form->Menu().Items().ItemAt(4);
    ASSERT_EQ(pageFile->Tag, kTagMemoryRow);
    EXPECT_EQ(pageFile->Caption, "页面文件  ");
    EXPECT_EQ(pageFile->MemText, " 2 GB: 8 GB");
    EXPECT_TRUE(PopupMenu::StateOf(*pageFile) & MFS_DISABLED);

    form->Menu().BuildRows("");  // an empty hint leaves no memory rows and no separator
    EXPECT_THAT(Layout(*form),
                ElementsAre("运行任务管理器", "-0", "内存历史…", "内存清理", "-0", "设置", "-0", "关于", "退出"));
}

TEST(TrayMenu, DefaultItemKeepsItsMarkAmongOwnerDrawnRows) {
    TempDir dir;
    auto form = MakePortableForm(dir);
    form->CurrentSettings().DoubleClickAction = 1;
    MainFormProbe(*form).InitDefaultMenu();
    form->Menu().BuildRows(kHint);
    EXPECT_EQ(GetMenuDefaultItem(form->Menu().Handle(), FALSE, 0), static_cast<UINT>(IDM_FREE_MEMORY));
    MenuItemEx* defrag = form->Menu().Items().FindById(IDM_FREE_MEMORY);
    ASSERT_NE(defrag, nullptr);
    EXPECT_TRUE(PopupMenu::StateOf(*defrag) & MFS_DEFAULT);
    // The hot key shows beside "内存清理" only.
    form->CurrentSettings().FreeMemoryHotKey = 0;
    MainFormProbe(*form).ApplyHotKey();
    EXPECT_EQ(form->Menu().ItemText(*defrag), "内存清理");
    form->CurrentSettings().FreeMemoryHotKey = 32833;
    MainFormProbe(*form).ApplyHotKey();
    EXPECT_EQ(form->Menu().ItemText(*defrag), "内存清理\tAlt+A");
    EXPECT_EQ(form->Menu().ItemText(*form->Menu().Items().FindById(IDM_ABOUT)), "关于");
    form->CurrentSettings().FreeMemoryHotKey = 0;
    MainFormProbe(*form).ApplyHotKey();
}

TEST(TrayMenu, RightPressPopsUpTheOwnerDrawnMenuAndOtherButtonsDoNothing) {
    TempDir dir;
    auto form = MakePortableForm(dir);
    form->CurrentSettings().TopProcessCount = 2;
    TrayIcon tray(nullptr, TestShell::Function());
    tray.SetHint(kHint);
    for (MouseButton button : {MouseButton::Left, MouseButton::Middle}) {
        form->Menu().TrayMouseDown(tray, button);
        EXPECT_THAT(Layout(*form),
                    ElementsAre("运行任务管理器", "-0", "内存历史…", "内存清理", "-0", "设置", "-0", "关于", "退出"));
    }
    // The menu is modal: a timer of this thread closes it once it has been measured.
    measuredForm = form.get();
    menuDeadline = GetTickCount() + 10000;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseMenuOnceMeasured);
    form->Menu().TrayMouseDown(tray, MouseButton::Right);
    KillTimer(nullptr, timer);
    EXPECT_GT(form->Menu().Painter().LastMenuTextHeight(), 0);
    EXPECT_THAT(Layout(*form), ElementsAre("运行任务管理器", "-99", "memory", "-98", "processes", "-0", "内存历史…",
                                           "内存清理", "-0", "设置", "-0", "关于", "退出"));
}

TEST(TrayMenu, HighlightColourComesFromTheSettings) {
    TempDir dir;
    auto form = MakePortableForm(dir);
    struct {
        ColorValue Setting;
        COLORREF Expected;
    } cases[] = {{kAutomaticColor, RGB(251, 225, 225)},
                 {Rgb(10, 20, 30), RGB(10, 20, 30)},
                 {SystemColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHT)}};
    for (const auto& c : cases) {
        form->CurrentSettings().ProcessHighlightColor = c.Setting;
        EXPECT_EQ(form->Menu().DrawContext().Highlight, c.Expected) << c.Setting;
    }
}

TEST(TrayMenu, SwitchingARowKindOffInTheOptionsRemovesItsRows) {
    TempDir dir;
    auto form = MakePortableForm(dir);
    form->CurrentSettings().TopProcessCount = 2;
    form->Menu().BuildRows(kHint);
    struct Shown {
        MainForm& Form;
        HWND Hwnd() const {
            OptionsDialog* dialog = MainFormProbe(Form).ShownOptionsDialog();
            return dialog ? dialog->Hwnd() : nullptr;
        }
    } shown{*form};
    RunModal<Shown>(
        shown,
        [&](Shown&) {
            OptionsDialog& d = *MainFormProbe(*form).ShownOptionsDialog();
            SetCheck(d, IDC_CKSHOWTOP, false);
            Click(d, IDOK);
        },
        [&] { SendMessageW(form->Hwnd(), WM_COMMAND, IDM_SETTINGS, 0); });
    EXPECT_FALSE(form->CurrentSettings().ShowTopProcess);
    EXPECT_TRUE(ProcessRows(*form).empty());
    EXPECT_THAT(Layout(*form), ElementsAre("运行任务管理器", "memory", "-98", "-0", "内存历史…", "内存清理", "-0",
                                           "设置", "-0", "关于", "退出"));
    form->Menu().BuildRows(kHint);  // the next right-click puts the memory rows below N1 again
    EXPECT_THAT(Layout(*form), ElementsAre("运行任务管理器", "-0", "memory", "-98", "内存历史…", "内存清理", "-0",
                                           "设置", "-0", "关于", "退出"));
}

namespace {
RECT openedMenu{};
void CALLBACK NoteAndCloseMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu && IsWindowVisible(menu) && GetWindowRect(menu, &openedMenu))
        EndMenu();
}
}  // namespace

TEST(TrayMenu, ALongNameIsCutSoTheMenuWithItsFiguresFitsTheWorkArea) {
    // A 230-character program name, and a work area narrower than that name in the menu font.
    const std::wstring folder = L"C:\\lumivex-long-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring exe = folder + std::wstring(226, L'n') + L".exe";
    const RECT work{0, 0, 640, 480};
    {
        MemoryHelper heavy(400, "full", exe);
        ASSERT_TRUE(heavy.Ready());
        TempDir dir;
        SystemHooks hooks;
        hooks.WorkArea = [work](POINT) { return work; };
        auto form = MakePortableForm(dir, hooks);
        form->CurrentSettings().TopProcessCount = 3;
        form->CurrentSettings().ShowNameInsteadOfModule = false;
        SetCursorPos(0, 0);
        openedMenu = {};
        UINT_PTR timer = SetTimer(nullptr, 0, 100, NoteAndCloseMenu);
        form->Menu().TrayMouseDown(form->Tray(), MouseButton::Right);
        KillTimer(nullptr, timer);

        std::vector<MenuItemEx*> rows = ProcessRows(*form);
        ASSERT_FALSE(rows.empty());
        ASSERT_EQ(rows[0]->ProcessID, heavy.Id());
        EXPECT_EQ(rows[0]->Caption.size(), 230u);  // the process dialog still gets the whole name
        // The whole menu lies inside the work area, and no row was measured wider.
        EXPECT_GT(openedMenu.right, openedMenu.left);
        EXPECT_GE(openedMenu.left, work.left);
        EXPECT_LE(openedMenu.right, work.right);
        for (MenuItemEx* item : TopItems(*form)) {
            MEASUREITEMSTRUCT measure{ODT_MENU, 0, item->Id, 0, 0, reinterpret_cast<ULONG_PTR>(item)};
            SendMessageW(form->Hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
            EXPECT_LE(static_cast<LONG>(measure.itemWidth), work.right - work.left) << item->Caption;
        }

        // Drawn as wide as the menu: the figure ends at its margin and the cut caption stops short of it.
        const int width = openedMenu.right - openedMenu.left, height = 24;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        SelectGuard select(dc.Get(), bitmap.Get());
        DRAWITEMSTRUCT draw{ODT_MENU,
                            0,
                            rows[0]->Id,
                            ODA_DRAWENTIRE,
                            0,
                            nullptr,
                            dc.Get(),
                            {0, 0, width, height},
                            reinterpret_cast<ULONG_PTR>(rows[0])};
        SendMessageW(form->Hwnd(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
        const auto* pixels = static_cast<const uint32_t*>(bits);
        const uint32_t background = pixels[(height / 2) * width + width - 2];
        auto inked = [&](int x) {
            for (int y = 0; y < height; ++y)
                if (pixels[y * width + x] != background)
                    return true;
            return false;
        };
        SIZE figure{};
        {
            SelectGuard font(dc.Get(), form->Menu().Painter().Font(false));
            std::wstring memText = Widen(rows[0]->MemText);
            GetTextExtentPoint32W(dc.Get(), memText.c_str(), static_cast<int>(memText.size()), &figure);
        }
        const int margin = ScaleForDpi(10, form->Menu().Painter().Dpi());
        int rightmost = -1;
        for (int x = 0; x < width; ++x)
            if (inked(x))
                rightmost = x;
        EXPECT_GE(rightmost, width - margin - 3);
        EXPECT_LT(rightmost, width - margin + 1);
        const int figureLeft = width - margin - static_cast<int>(figure.cx);
        for (int x = figureLeft - ScaleForDpi(12, form->Menu().Painter().Dpi()); x < figureLeft - 2; ++x)
            EXPECT_FALSE(inked(x)) << "caption ink at " << x << " of " << width;
    }
    RemoveDirectoryW(folder.c_str());
}
