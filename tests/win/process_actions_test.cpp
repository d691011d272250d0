// The process dialog's actions on helper programs: free memory, end, and nothing for a process that has gone.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/main_form_win.h"
#include "main_form_test_util.h"
#include "memory_helper.h"
#include "processes/process_actions_win.h"
#include "processes/process_list_win.h"
#include "processes/tray_menu_model.h"

using namespace WinTest;
using ::testing::HasSubstr;

namespace {
constexpr uint64_t kMB = 1048576;

ProcessIdentity IdentityOf(const MemoryHelper& helper) {
    ProcessRecord r;
    r.ProcessID = helper.Id();
    ProcessList::ReadProcess(r, nullptr);
    return {r.ProcessID, r.CreationFileTime, r.FullPath};
}
// Windows empties a working set on request; Wine answers success and keeps every page.
bool SystemTrimsWorkingSets() {
    const SIZE_T size = 32 * kMB;
    auto* memory = static_cast<volatile char*>(VirtualAlloc(nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    for (SIZE_T i = 0; i < size; i += 4096)
        memory[i] = 1;
    uint64_t before = ProcessList::GetMemoryUsage(GetCurrentProcessId(), 0);
    SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
    uint64_t after = ProcessList::GetMemoryUsage(GetCurrentProcessId(), 0);
    VirtualFree(const_cast<char*>(memory), 0, MEM_RELEASE);
    return after + size / 2 < before;
}
}  // namespace

TEST(ProcessActions, FreeingMemoryDropsTheWorkingSet) {
    MemoryHelper helper(64);
    ASSERT_TRUE(helper.Ready());
    ASSERT_GE(ProcessList::GetMemoryUsage(helper.Id(), 0), 64 * kMB);
    EXPECT_EQ(RunProcessAction(101, IdentityOf(helper), nullptr), ProcessActionOutcome::Done);
    EXPECT_FALSE(helper.Ended());
    if (!SystemTrimsWorkingSets())
        GTEST_SKIP() << "this system keeps working sets as they are (Wine)";
    EXPECT_LT(ProcessList::GetMemoryUsage(helper.Id(), 0), 32 * kMB);
}

TEST(ProcessActions, EndingEndsOnlyTheSameProcess) {
    MemoryHelper helper(1);
    ASSERT_TRUE(helper.Ready());
    ProcessIdentity identity = IdentityOf(helper);
    ASSERT_NE(identity.CreationFileTime, 0u);

    // The id names a process started at another time, or from another file: nothing happens.
    ProcessIdentity later = identity;
    later.CreationFileTime += 1;
    EXPECT_EQ(RunProcessAction(102, later, nullptr), ProcessActionOutcome::Ended);
    ProcessIdentity otherFile{identity.ProcessID, 0, "C:\\elsewhere\\other.exe"};
    EXPECT_EQ(RunProcessAction(102, otherFile, nullptr), ProcessActionOutcome::Ended);
    EXPECT_EQ(RunProcessAction(101, otherFile, nullptr), ProcessActionOutcome::Ended);
    EXPECT_FALSE(helper.Ended());
    // The fourth button and a closed dialog do nothing either.
    EXPECT_EQ(RunProcessAction(103, identity, nullptr), ProcessActionOutcome::Nothing);
    EXPECT_EQ(RunProcessAction(2, identity, nullptr), ProcessActionOutcome::Nothing);
    EXPECT_FALSE(helper.Ended());

    ProcessIdentity samePath{identity.ProcessID, 0, identity.FullPath};
    EXPECT_EQ(RunProcessAction(102, samePath, nullptr), ProcessActionOutcome::Done);
    EXPECT_TRUE(WaitProcess(helper.Handle(), 10000));

    // Its id now names no process (or an ended one): nothing is done, and the caller says so.
    EXPECT_EQ(RunProcessAction(102, identity, nullptr), ProcessActionOutcome::Ended);
    EXPECT_EQ(RunProcessAction(101, identity, nullptr), ProcessActionOutcome::Ended);
}

TEST(ProcessActions, ProcessRowOpensTheDialogAndActs) {
    TempDir dir;
    // Larger than any other process of the test's Wine (the test program itself grows as the suite runs), so the
    // two are the menu's two rows.
    MemoryHelper helper(240);
    MemoryHelper system(220, "plain", dir.File(L"SvcHost.EXE"));
    ASSERT_TRUE(helper.Ready() && system.Ready());
    auto formPtr = MakePortableForm(dir);
    MainForm& form = *formPtr;
    form.CurrentSettings().TopProcessCount = 2;
    form.Menu().BuildRows("");
    MenuItemEx* helperRow = nullptr;
    MenuItemEx* systemRow = nullptr;
    for (int i = 0; i < form.Menu().Items().Count(); ++i) {
        MenuItemEx* item = form.Menu().Items().ItemAt(i);
        if (item->ProcessID == helper.Id())
            helperRow = item;
        if (item->ProcessID == system.Id())
            systemRow = item;
    }
    ASSERT_TRUE(helperRow && systemRow);

    std::vector<ProcessDialogTexts> shown;
    std::vector<std::string> notices;
    int answer = 2;
    MainFormProbe(form).Hooks().ProcessChoice = [&](const ProcessDialogTexts& t) {
        shown.push_back(t);
        return answer;
    };
    MainFormProbe(form).Hooks().ProcessNotice = [&](const std::string& text) { notices.push_back(text); };

    SendMessageW(form.Hwnd(), WM_COMMAND, systemRow->Id, 0);  // the row's click
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].Instruction, "进 程 信 息 ：           'SvcHost.EXE'");
    EXPECT_EQ(shown[0].Footer, "'SvcHost.EXE' 是一个系统进程！！！     ");
    EXPECT_EQ(shown[0].Content.rfind("(没有相关进程信息)", 0), 0u);
    EXPECT_FALSE(system.Ended());

    answer = 102;
    form.Menu().KillItem(*helperRow);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].Content.rfind("Memory helper\r\nLumivex Tests\r\n版本号： 1.2.3.4\r\n\r\n", 0), 0u);
    EXPECT_EQ(shown[1].Footer, "");
    EXPECT_TRUE(WaitProcess(helper.Handle(), 10000));
    EXPECT_TRUE(notices.empty());

    form.Menu().KillItem(*helperRow);  // the program has ended meanwhile
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_THAT(notices[0], HasSubstr("lumivex_test_helper_full.exe"));
}

namespace {
HWND dialogSeen = nullptr;
BOOL CALLBACK CloseIfProcessDialog(HWND hwnd, LPARAM) {
    wchar_t title[32] = {};
    GetWindowTextW(hwnd, title, 32);
    if (!IsWindowVisible(hwnd) || std::wstring(title) != L"Lumivex")
        return TRUE;
    dialogSeen = hwnd;
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    return FALSE;
}
// Closes the first visible "Lumivex" window of this thread (the form stays hidden): the process dialog.
void CALLBACK CloseProcessDialog(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), CloseIfProcessDialog, 0);
}
}  // namespace

TEST(ProcessActions, ClosingTheRealDialogLeavesTheProcessAlone) {
    MemoryHelper helper(1);
    ASSERT_TRUE(helper.Ready());
    TempDir dir;
    auto form = MakePortableForm(dir);
    ProcessRecord r;
    r.ProcessID = helper.Id();
    r.ExeName = "lumivex_test_helper_full.exe";
    ProcessList::ReadProcess(r, nullptr);
    auto row = form->Menu().MakeProcessRow(r, 41000, NumberSeparators{});
    dialogSeen = nullptr;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseProcessDialog);
    form->Menu().KillItem(*row);
    KillTimer(nullptr, timer);
    EXPECT_NE(dialogSeen, nullptr);
    EXPECT_FALSE(helper.Ended());
}
