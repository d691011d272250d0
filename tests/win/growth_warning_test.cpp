// The processes that grow and the memory history: read from the system once a minute, named in the high-memory
// warning, in the menu and first in the history window, which the menu and a double-click open.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "app/main_form_win.h"
#include "history_window_probe.h"
#include "main_form_test_util.h"
#include "memory_helper.h"
#include "processes/popup_menu_win.h"
#include "processes/tray_menu_model.h"
#include "resource.h"
#include "system/task_dialog_win.h"
#include "test_shell.h"
#include "win_test_util.h"

using namespace WinTest;
using ::testing::HasSubstr;

namespace {
constexpr uint64_t kGiB = 1ull << 30;

// A form on an 8 GB machine whose clock and memory reading the test sets, with the warning dialog recorded.
struct GrowthRig {
    MemorySample Sample;
    uint32_t Now = 1000;
    TaskDialogTexts Shown;
    int Answer = 2;
    TempDir Dir;
    std::unique_ptr<MainForm> Form;

    GrowthRig() {
        SetLoad(40);
        SystemHooks o;
        o.Sample = [this] { return Sample; };
        o.TickCount = [this] { return Now; };
        o.TrimProcess = [](DWORD) {};
        o.WarningDialog = [this](TaskDialogTexts& d) {
            Shown = d;
            return Answer;
        };
        WriteBytes(Dir.File(L"Lumivex.Settings"),
                   "[General]\r\nShowPercentage=0\r\nWarn=0\r\nDefragOnHighMemory=0\r\nWarnMsgBox=1\r\n"
                   "RedPercent=90\r\nHistoryGrowthShare=5\r\nShowGrowthInMenu=1\r\nTopProcessCount=100\r\n");
        Form = MakeForm(Dir, o);
    }
    void SetLoad(uint32_t load) {
        Sample.MemoryLoad = load;
        Sample.TotalPhys = 8 * kGiB;
        Sample.AvailPhys = 8 * kGiB / 100 * (100 - load);
        Sample.TotalPageFile = 16 * kGiB;
        Sample.AvailPageFile = 9 * kGiB;
    }
};

const MenuItemEx* RowOf(MainForm& form, DWORD processId) {
    for (int i = 0; i < form.Menu().Items().Count(); ++i) {
        const MenuItemEx* item = form.Menu().Items().ItemAt(i);
        if (item->Tag == kTagProcessRow && item->ProcessID == processId)
            return item;
    }
    return nullptr;
}
}  // namespace

TEST(GrowthWarning, AProgramThatLeaksIsNamedInTheMenuAndTheWarningAndCanBeEnded) {
    // 64 MB more each minute: 448 MB over the seven minutes after its start, above 5 % of 8 GB (410 MB).
    MemoryHelper leaky(16, "full", L"", 64);
    MemoryHelper steady(200);
    ASSERT_TRUE(leaky.Ready() && steady.Ready());
    ScopedTestShell shell;
    GrowthRig rig;
    for (int minute = 0; minute < 8; ++minute) {
        ASSERT_TRUE(leaky.Grow());
        rig.Now += 60000;
        rig.Form->RefreshTick();
    }
    rig.Form->Menu().BuildRows("");
    const MenuItemEx* leakyRow = RowOf(*rig.Form, leaky.Id());
    const MenuItemEx* steadyRow = RowOf(*rig.Form, steady.Id());
    ASSERT_TRUE(leakyRow && steadyRow);
    EXPECT_THAT(leakyRow->MemText, HasSubstr("  ↑ +"));
    EXPECT_THAT(steadyRow->MemText, ::testing::Not(HasSubstr("↑")));

    // The history window, from the menu: the leaking program first among the growers of the last 10 minutes.
    SendMessageW(rig.Form->Hwnd(), WM_COMMAND, IDM_MEMORY_HISTORY, 0);
    HistoryWindow* window = MainFormProbe(*rig.Form).History();
    ASSERT_TRUE(window && window->IsOpen());
    HistoryWindowProbe probe(*window);
    SendMessageW(probe.Span(HistorySpan::TenMinutes), BM_CLICK, 0, 0);
    EXPECT_EQ(WindowText(probe.Row(0)).find(L"lumivex_test_helper_full.exe\t10 分钟内 +"), 0u)
        << Narrow(WindowText(probe.Row(0)));
    window->Close();

    rig.Answer = 102;  // "End it", before "Close"
    rig.SetLoad(95);
    rig.Now += 500;
    rig.Form->RefreshTick();
    EXPECT_THAT(rig.Shown.Content, HasSubstr("\nlumivex_test_helper_full.exe 在过去 30 分钟内增长了 "));
    EXPECT_EQ(rig.Shown.ButtonList, "&Defrag memory\nTask Manager\n结束此程序\n&Close");
    EXPECT_EQ(WaitForSingleObject(leaky.Handle(), 10000), WAIT_OBJECT_0);
    EXPECT_FALSE(steady.Ended());
}

TEST(GrowthWarning, WithoutAGrowerTheWarningIsAsBefore) {
    MemoryHelper steady(200);
    ASSERT_TRUE(steady.Ready());
    ScopedTestShell shell;
    GrowthRig rig;
    for (int minute = 0; minute < 8; ++minute) {
        rig.Now += 60000;
        rig.Form->RefreshTick();
    }
    rig.SetLoad(95);
    rig.Form->RefreshTick();
    EXPECT_EQ(rig.Shown.Content, Text(TextId::HighMemoryClose));
    EXPECT_EQ(rig.Shown.ButtonList, Text(TextId::HighMemoryChoiceButtons));
}

TEST(MemoryHistoryWindow, OpensFromTheMenuAndADoubleClickSwitchesSpansCopiesAndClosesOnEsc) {
    ScopedTestShell shell;
    GrowthRig rig;
    for (int second = 0; second < 90; ++second) {
        rig.SetLoad(40 + second % 7);
        rig.Now += 1000;
        rig.Form->RefreshTick();
    }
    // The double-click action "显示内存历史" opens it the way the menu item does.
    rig.Form->CurrentSettings().DoubleClickAction = 7;
    MainFormProbe(*rig.Form).TrayDblClick();
    ASSERT_TRUE(PumpUntil([&] { return MainFormProbe(*rig.Form).History() != nullptr; }, 5000));
    HistoryWindow& window = *MainFormProbe(*rig.Form).History();
    ASSERT_TRUE(window.IsOpen());
    HistoryWindowProbe probe(window);
    for (HistorySpan span : {HistorySpan::Day, HistorySpan::Hour, HistorySpan::TenMinutes}) {
        SendMessageW(probe.Span(span), BM_CLICK, 0, 0);
        EXPECT_EQ(probe.Shown(), span);
    }
    SendMessageW(probe.Copy(), BM_CLICK, 0, 0);
    const std::wstring copied = ClipboardText();
    EXPECT_EQ(copied.rfind(L"seconds,load,physical,commit\r\n", 0), 0u);
    EXPECT_GT(std::count(copied.begin(), copied.end(), L'\n'), 80);
    // A tick while it is open, then Esc closes it; the menu opens it again.
    rig.Now += 1000;
    rig.Form->RefreshTick();
    PumpWithDialogKeys(50);
    PressKey(GetFocus(), VK_ESCAPE);
    EXPECT_FALSE(window.IsOpen());
    SendMessageW(rig.Form->Hwnd(), WM_COMMAND, IDM_MEMORY_HISTORY, 0);
    EXPECT_TRUE(window.IsOpen());
    window.Close();
}
