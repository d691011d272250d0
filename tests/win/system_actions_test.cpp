#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/main_form_win.h"
#include "main_form_test_util.h"
#include "resource.h"
#include "system/double_click_action.h"
#include "win_test_util.h"

#include <thread>

using namespace WinTest;
using ::testing::ElementsAre;

namespace {
// A main form whose shell commands are recorded instead of run.
struct ActionsFixture {
    ActionsFixture() {
        Form = MakeForm(Dir);
        SystemLaunchers& l = MainFormProbe(*Form).Hooks().Launchers;
        l.TaskManager = [this](HWND owner) { Calls.push_back(owner == Form->Hwnd() ? "taskmgr" : "taskmgr?"); };
        l.Lock = [this] {
            Calls.push_back("lock");
            return true;
        };
        l.RunDialog = [this](const std::string& name, HWND owner, HICON icon) {
            Calls.push_back("run " + name + (owner == Form->Hwnd() && icon ? "" : "?"));
        };
        l.ShutDownDialog = [this] { Calls.push_back("shutdown"); };
        l.MenuCommand = [this](HWND target, UINT command) {
            Calls.push_back((target == Form->Hwnd() ? "command " : "command? ") + std::to_string(command));
        };
        l.WebPage = [this](HWND, const std::string& page) {
            Calls.push_back("page " + page);
            return true;
        };
    }
    void DoubleClick() { Form->Tray().OnDblClick(Form->Tray()); }

    TempDir Dir;
    std::unique_ptr<MainForm> Form;
    std::vector<std::string> Calls;
};

// Milliseconds from the performance counter: Wine's GetTickCount is a shared value that a busy machine updates
// late, which made gaps between commands look shorter than they were.
DWORD NowMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<DWORD>(now.QuadPart * 1000 / frequency.QuadPart);
}

// Every power-off command that reaches a window of this thread, with the time it arrived at.
std::vector<DWORD>* powerOffTicks = nullptr;
LRESULT CALLBACK RecordPowerOff(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && powerOffTicks && m->message == WM_SYSCOMMAND && (m->wParam & 0xFFF0) == SC_MONITORPOWER &&
        m->lParam == 2) {
        powerOffTicks->push_back(NowMs());
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
struct PowerOffRecorder {
    PowerOffRecorder() {
        powerOffTicks = &Ticks;
        Hook = SetWindowsHookExW(WH_CALLWNDPROC, RecordPowerOff, nullptr, GetCurrentThreadId());
    }
    ~PowerOffRecorder() {
        UnhookWindowsHookEx(Hook);
        powerOffTicks = nullptr;
    }
    std::vector<DWORD> Ticks;
    HHOOK Hook;
};
}  // namespace

TEST(SystemActions, DoubleClickRunsTheConfiguredAction) {
    ActionsFixture f;
    struct Case {
        int Action;
        std::vector<std::string> Calls;
    } cases[] = {
        {0, {"taskmgr"}},  {1, {"command " + std::to_string(IDM_FREE_MEMORY)}},
        {2, {}},           {3, {"command " + std::to_string(IDM_SETTINGS)}},
        {4, {"lock"}},     {5, {"run Lumivex"}},
        {6, {"shutdown"}}, {7, {"command " + std::to_string(IDM_MEMORY_HISTORY)}},
        {8, {}},           {-1, {}},
    };
    for (const Case& c : cases) {
        f.Calls.clear();
        f.Form->CurrentSettings().DoubleClickAction = c.Action;
        f.DoubleClick();
        EXPECT_EQ(f.Calls, c.Calls) << c.Action;
    }
    // The Task Manager item of the tray menu starts it the same way.
    f.Calls.clear();
    SendMessageW(f.Form->Hwnd(), WM_COMMAND, IDM_LAUNCH_TASK_MANAGER, 0);
    EXPECT_THAT(f.Calls, ElementsAre("taskmgr"));
}

TEST(SystemActions, MemoryBalloonShowsTheHintEvenWithTheTipOff) {
    ActionsFixture f;
    f.Form->CurrentSettings().DoubleClickAction = 2;
    f.Form->Tray().SetHint("Physical memory: 61% used");
    f.Form->Tray().SetShowHint(false);
    f.DoubleClick();
    const NOTIFYICONDATAW& data = f.Form->Tray().NotifyData();
    EXPECT_EQ(Narrow(data.szInfoTitle), "Lumivex");
    EXPECT_EQ(Narrow(data.szInfo), "Physical memory: 61% used");
    EXPECT_EQ(data.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
    EXPECT_EQ(data.uTimeout, 40000u);
}

TEST(SystemActions, DisplayOffOnLockOnlyWhenSet) {
    ActionsFixture f;
    PowerOffRecorder recorder;
    const HWND form = f.Form->Hwnd();
    // Not set: locking sends nothing.
    SendMessageW(form, WM_WTSSESSION_CHANGE, 7, 0);
    PumpFor(500);
    EXPECT_TRUE(recorder.Ticks.empty());

    f.Form->CurrentSettings().SwitchOffMonitorOnLock = true;
    SendMessageW(form, WM_WTSSESSION_CHANGE, 7, 0);
    // The handler returns at once with the first command sent; the others follow from a timer while the
    // form keeps answering.
    EXPECT_EQ(recorder.Ticks.size(), 1u);
    EXPECT_TRUE(MainFormProbe(*f.Form).MonitorOff().Running());
    ASSERT_TRUE(PumpUntil([&] { return !MainFormProbe(*f.Form).MonitorOff().Running(); }, 20000));
    PumpFor(600);
    ASSERT_EQ(recorder.Ticks.size(), static_cast<size_t>(kMonitorOffRepeats));
    for (size_t i = 1; i < recorder.Ticks.size(); ++i)
        EXPECT_GE(recorder.Ticks[i] - recorder.Ticks[i - 1], 380u) << i;

    // Other session changes (unlock among them) send nothing, and an unlock ends a sequence still running.
    recorder.Ticks.clear();
    for (WPARAM code : {1, 2, 3, 4, 5, 6, 8, 9})
        SendMessageW(form, WM_WTSSESSION_CHANGE, code, 0);
    PumpFor(500);
    EXPECT_TRUE(recorder.Ticks.empty());
    SendMessageW(form, WM_WTSSESSION_CHANGE, 7, 0);
    SendMessageW(form, WM_WTSSESSION_CHANGE, 8, 0);
    PumpFor(1000);
    EXPECT_EQ(recorder.Ticks.size(), 1u);
}

namespace {
BOOL CALLBACK FindDialog(HWND h, LPARAM out) {
    wchar_t cls[16] = {};
    GetClassNameW(h, cls, 16);
    if (std::wstring(cls) == L"#32770")
        *reinterpret_cast<HWND*>(out) = h;
    return TRUE;
}
BOOL CALLBACK CollectText(HWND h, LPARAM out) {
    wchar_t text[256] = {};
    GetWindowTextW(h, text, 256);
    *reinterpret_cast<std::string*>(out) += Narrow(text) + "\n";
    return TRUE;
}
}  // namespace

TEST(SystemActions, RunDialogShowsTheProgramsDescription) {
    // The shell's own dialog, closed by a watcher thread once it has read the texts.
    const DWORD uiThread = GetCurrentThreadId();
    std::string title, texts;
    std::thread watcher([&] {
        HWND dialog = nullptr;
        for (int i = 0; i < 500 && !dialog; ++i) {
            EnumThreadWindows(uiThread, FindDialog, reinterpret_cast<LPARAM>(&dialog));
            if (!dialog)
                Sleep(20);
        }
        if (!dialog)
            return;
        // The dialog fills in its texts while it starts; wait for them rather than for a fixed time.
        for (int i = 0; i < 250 && texts.find("will open it for you.") == std::string::npos; ++i) {
            texts.clear();
            EnumChildWindows(dialog, CollectText, reinterpret_cast<LPARAM>(&texts));
            if (texts.find("will open it for you.") == std::string::npos)
                Sleep(20);
        }
        wchar_t buffer[256] = {};
        GetWindowTextW(dialog, buffer, 256);
        title = Narrow(buffer);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    ActionsFixture f;
    ShowRunDialog("Lumivex", f.Form->Hwnd(), nullptr);
    watcher.join();
    EXPECT_EQ(title, "Run");
    EXPECT_THAT(texts, ::testing::HasSubstr(RunDialogDescription("Lumivex")));
}

// Task Manager starts from System32 by its full path, never by a name the search path could answer elsewhere.
TEST(SystemActions, TaskManagerIsStartedFromSystem32) {
    wchar_t system[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_GT(n, 0u);
    const std::wstring path = TaskManagerPath();
    EXPECT_EQ(CompareStringOrdinal(path.c_str(), -1, (std::wstring(system, n) + L"\\taskmgr.exe").c_str(), -1, TRUE),
              CSTR_EQUAL)
        << Narrow(path);
    EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << Narrow(path);
}
