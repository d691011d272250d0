// Starts the real Lumivex.exe: single instance, hidden form, portable settings, saving on the way out.
#include <windows.h>
#include <shellapi.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "options_resource.h"
#include "platform/messages.h"
#include "platform/window_win.h"
#include "resource.h"
#include "win_test_util.h"

using namespace WinTest;
using ::testing::HasSubstr;

namespace {
// Stands in for a running copy: a window of the program's class that counts what it receives.
class FakeRunningCopy : public Window {
  public:
    FakeRunningCopy() { CreateWindowOf(L"TFrmLumivexMain", WS_EX_TOOLWINDOW, WS_OVERLAPPED, L"Lumivex", nullptr); }
    int SecondInstanceMessages = 0;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kSecondInstanceMessage)
            ++SecondInstanceMessages;
        return Window::HandleMessage(msg, wParam, lParam);
    }
};

// A portable copy of the program in its own folder, so the test never touches the user's settings.
struct PortableCopy {
    TempDir Dir;
    std::wstring Exe;
    PortableCopy(const std::string& settings) {
        Exe = Dir.File(L"Lumivex.exe");
        CopyFileW((TestFolder() + L"Lumivex.exe").c_str(), Exe.c_str(), FALSE);
        WriteBytes(Dir.File(L"Lumivex.Settings"), settings);
    }
};

HWND FindProgramWindow(DWORD processId) {
    const std::vector<HWND> forms = WindowsOfProcess(processId, L"TFrmLumivexMain");
    return forms.empty() ? nullptr : forms.back();
}
// A shown window of the class in the process (menus: "#32768", dialogs and message boxes: "#32770"), or null.
HWND ShownWindowOf(DWORD processId, const wchar_t* cls, HWND other = nullptr) {
    for (HWND h : WindowsOfProcess(processId, cls)) {
        if (h != other && IsWindowVisible(h))
            return h;
    }
    return nullptr;
}

HWND TrayHandlerOf(DWORD processId) {
    const std::vector<HWND> handlers = WindowsOfProcess(processId, L"LumivexTrayIconHandler");
    return handlers.empty() ? nullptr : handlers.front();
}

bool IconOf(HWND handler) {
    NOTIFYICONDATAW probe{};
    probe.cbSize = sizeof probe;
    probe.hWnd = handler;
    probe.uID = 1;  // the program's one icon
    return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

bool ProgramTrayIconShown(DWORD processId) {
    HWND handler = TrayHandlerOf(processId);
    return handler && IconOf(handler);
}

// The running program under test, ended by force if a test leaves it running.
struct RunningProgram {
    HANDLE Process = nullptr;
    DWORD Pid = 0;
    HWND Form = nullptr;
    HWND Handler = nullptr;
    explicit RunningProgram(const std::wstring& exe) : Process(Launch(exe)) {
        Pid = Process ? GetProcessId(Process) : 0;
    }
    ~RunningProgram() {
        if (Process && WaitForSingleObject(Process, 0) != WAIT_OBJECT_0)
            TerminateProcess(Process, 1);
        if (Process)
            CloseHandle(Process);
    }
    // Its form, tray window and icon are there, and the start-up is over: the program waits for input in its message
    // loop (a sent message alone may be answered while the start-up itself waits on the shell).
    bool Started() {
        DWORD_PTR ignored = 0;
        return Process && WaitForInputIdle(Process, 15000) == 0 &&
               PumpUntil(
                   [&] {
                       Form = FindProgramWindow(Pid);
                       Handler = TrayHandlerOf(Pid);
                       return Form && Handler && IconOf(Handler);
                   },
                   15000) &&
               SendMessageTimeoutW(Form, WM_NULL, 0, 0, SMTO_NORMAL, 15000, &ignored);
    }
    // As Windows ends a session and the uninstaller ends the program: the question, then the end. True when both
    // were answered and the question with yes.
    bool EndSession() {
        DWORD_PTR answer = 0, ignored = 0;
        return SendMessageTimeoutW(Form, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) && answer == TRUE &&
               SendMessageTimeoutW(Form, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    }
    DWORD ExitCode() const {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(Process, &code);
        return code;
    }
};

// Opens the tray menu by a right press on the icon; returns the menu's window.
HWND OpenTrayMenu(RunningProgram& p) {
    PostMessageW(p.Handler, kTrayCallbackMessage, 1, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    PumpUntil([&] { return (menu = ShownWindowOf(p.Pid, L"#32768")) != nullptr; }, 15000);
    return menu;
}

HWND WaitForDialog(DWORD pid, HWND other = nullptr) {
    HWND dialog = nullptr;
    PumpUntil([&] { return (dialog = ShownWindowOf(pid, L"#32770", other)) != nullptr; }, 15000);
    return dialog;
}
}  // namespace

TEST(Program, SecondStartSignalsTheRunningCopyAndEnds) {
    FakeRunningCopy running;
    ASSERT_NE(running.Hwnd(), nullptr);
    PortableCopy copy("[General]\r\nShowPercentage=0\r\n");
    HANDLE second = Launch(copy.Exe);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(WaitProcess(second, 10000));
    CloseHandle(second);
    PumpUntil([&] { return running.SecondInstanceMessages > 0; }, 2000);
    EXPECT_EQ(running.SecondInstanceMessages, 1);
    // The second copy wrote nothing: it never got as far as its settings.
    EXPECT_EQ(ReadText(copy.Dir.File(L"Lumivex.Settings")), "[General]\r\nShowPercentage=0\r\n");
}

// A copy started to write a crashed copy's dump is no second start: it neither signals the running copy (whose
// window and mutex a crashed copy still holds) nor reads the settings; it writes the dump beside a portable copy's
// settings and ends.
TEST(Program, ACrashDumpWriterIsNoSecondStart) {
    FakeRunningCopy running;
    ASSERT_NE(running.Hwnd(), nullptr);
    PortableCopy copy("[General]\r\nShowPercentage=0\r\n");
    struct Case {
        std::wstring Arguments;
        DWORD ExitCode;
        size_t Dumps;
    };
    const std::wstring thisProcess =
        std::to_wstring(GetCurrentProcessId()) + L" " + std::to_wstring(GetCurrentThreadId()) + L" 0x0";
    for (const Case& c : {Case{L"/crashdump " + thisProcess, 0, 1}, Case{L"/crashdump 12 x 0x0", 87, 0}}) {
        HANDLE writer = Launch(copy.Exe, c.Arguments);
        ASSERT_NE(writer, nullptr);
        EXPECT_TRUE(WaitProcess(writer, 30000));
        DWORD exitCode = STILL_ACTIVE;
        GetExitCodeProcess(writer, &exitCode);
        CloseHandle(writer);
        EXPECT_EQ(exitCode, c.ExitCode) << Narrow(c.Arguments);
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW(copy.Dir.File(L"Lumivex-*.dmp").c_str(), &found);
        EXPECT_EQ(search != INVALID_HANDLE_VALUE, c.Dumps == 1) << Narrow(c.Arguments);
        if (search != INVALID_HANDLE_VALUE) {
            EXPECT_FALSE(FindNextFileW(search, &found)) << "one dump";
            FindClose(search);
            DeleteFileW(copy.Dir.File(found.cFileName).c_str());
        }
    }
    PumpFor(500);
    EXPECT_EQ(running.SecondInstanceMessages, 0);
    EXPECT_EQ(ReadText(copy.Dir.File(L"Lumivex.Settings")), "[General]\r\nShowPercentage=0\r\n");
}

TEST(Program, RunsHiddenAsOneCopyAndSavesWhenTheSessionEnds) {
    PortableCopy copy("[Mine]\r\nNote=kept\r\n[General]\r\nShowPercentage=0\r\nRefreshRate=250\r\n");
    HANDLE first = Launch(copy.Exe);
    ASSERT_NE(first, nullptr);
    DWORD pid = GetProcessId(first);
    HWND form = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (form = FindProgramWindow(pid)) != nullptr; }, 15000));
    EXPECT_FALSE(IsWindowVisible(form));
    EXPECT_TRUE(GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    // Its icon is in the notification area (Wine's own shell): only an icon that is there can be modified.
    EXPECT_TRUE(PumpUntil([&] { return ProgramTrayIconShown(pid); }, 10000));

    HANDLE second = Launch(copy.Exe);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(WaitProcess(second, 10000));
    CloseHandle(second);
    EXPECT_EQ(WaitForSingleObject(first, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    // Log-off: the form is asked, saves, and the program ends.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(form, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    EXPECT_EQ(result, static_cast<DWORD_PTR>(TRUE));
    SendMessageTimeoutW(form, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &result);
    EXPECT_TRUE(WaitProcess(first, 10000));
    CloseHandle(first);

    std::string text = ReadText(copy.Dir.File(L"Lumivex.Settings"));
    EXPECT_THAT(text, HasSubstr("Note=kept"));
    EXPECT_THAT(text, HasSubstr("RefreshRate=250"));
    EXPECT_THAT(text, HasSubstr("NoWarningSwithOffMonMobile=0"));
    EXPECT_THAT(text, HasSubstr("FullBarColor=Automatic"));
}

// The real program: a right press on its icon opens the tray menu, and Escape closes it.
TEST(Program, RightPressOnTheIconOpensTheTrayMenu) {
    PortableCopy copy("[General]\r\nTopProcessCount=3\r\nShowTopProcess=1\r\nShowMemMenu=1\r\n");
    HANDLE program = Launch(copy.Exe);
    ASSERT_NE(program, nullptr);
    struct Ending {
        HANDLE Process;
        ~Ending() {
            if (WaitForSingleObject(Process, 0) != WAIT_OBJECT_0)
                TerminateProcess(Process, 1);
            CloseHandle(Process);
        }
    } ending{program};
    DWORD pid = GetProcessId(program);
    auto windowOf = [pid](const wchar_t* cls) {
        for (HWND h : WindowsOfProcess(pid, cls)) {
            if (wcscmp(cls, L"#32768") != 0 || IsWindowVisible(h))
                return h;
        }
        return HWND{};
    };
    HWND form = nullptr, handler = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] {
            form = FindProgramWindow(pid);
            handler = windowOf(L"LumivexTrayIconHandler");
            return form && handler && ProgramTrayIconShown(pid);
        },
        15000));

    PostMessageW(handler, kTrayCallbackMessage, 1, WM_RBUTTONDOWN);
    HWND menuWindow = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (menuWindow = windowOf(L"#32768")) != nullptr; }, 15000));
    // The menu holds the process rows and the memory rows besides the eight fixed items: it is that much taller
    // than eight items of the plain menu would be.
    RECT box{};
    GetWindowRect(menuWindow, &box);
    EXPECT_GT(box.bottom - box.top, 8 * GetSystemMetrics(SM_CYMENU));

    PostMessageW(menuWindow, WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return windowOf(L"#32768") == nullptr; }, 10000));
    DWORD_PTR result = 0;
    SendMessageTimeoutW(form, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    SendMessageTimeoutW(form, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &result);
    EXPECT_TRUE(WaitProcess(program, 10000));
}

// Five starts at the same moment: one runs, the others end, and the settings file the one copy saves at the end of
// the session holds every section of the user's own, once.
TEST(Program, FiveSimultaneousStartsLeaveOneCopyAndAnIntactFile) {
    std::string settings = "[General]\r\nShowPercentage=0\r\n";
    for (int i = 0; i < 300; ++i)
        settings += "[Mine" + std::to_string(i) + "]\r\nNote=kept " + std::to_string(i) + " of the user's own\r\n";
    ASSERT_GT(settings.size(), 12000u);
    PortableCopy copy(settings);
    std::vector<std::unique_ptr<RunningProgram>> starts;
    for (int i = 0; i < 5; ++i)
        starts.push_back(std::make_unique<RunningProgram>(copy.Exe));
    auto running = [&] {
        std::vector<RunningProgram*> alive;
        for (auto& p : starts) {
            if (p->Process && WaitForSingleObject(p->Process, 0) != WAIT_OBJECT_0)
                alive.push_back(p.get());
        }
        return alive;
    };
    EXPECT_TRUE(PumpUntil([&] { return running().size() <= 1; }, 30000));
    PumpFor(1000);  // none that is left comes up late
    std::vector<RunningProgram*> alive = running();
    ASSERT_EQ(alive.size(), 1u);
    RunningProgram& only = *alive[0];
    ASSERT_TRUE(only.Started());
    EXPECT_TRUE(only.EndSession());
    EXPECT_TRUE(WaitProcess(only.Process, 5000));

    std::string text = ReadText(copy.Dir.File(L"Lumivex.Settings"));
    size_t generals = 0;
    for (size_t at = text.find("[General]"); at != std::string::npos; at = text.find("[General]", at + 1))
        ++generals;
    EXPECT_EQ(generals, 1u);
    for (int i = 0; i < 300; ++i)
        ASSERT_THAT(text, HasSubstr("[Mine" + std::to_string(i) + "]\r\nNote=kept " + std::to_string(i) +
                                    " of the user's own\r\n"));
    EXPECT_THAT(text, HasSubstr("FullBarColor=Automatic"));
}

// Each modal state of the program, and how a test brings the real program into it.
struct ModalState {
    const char* Name;
    const char* Settings;
    std::function<bool(RunningProgram& p)> Open;
};

void PrintTo(const ModalState& state, std::ostream* out) {
    *out << state.Name;
}

std::string PrintModalState(const ::testing::TestParamInfo<ModalState>& info) {
    return info.param.Name;
}

class ProgramModalState : public ::testing::TestWithParam<ModalState> {};

// A log-off while the state is open: the question is answered yes at once, and within 5 s the program has ended
// by itself (exit code 0), with its settings saved and no icon left in the notification area.
TEST_P(ProgramModalState, LogOffEndsTheProgram) {
    const ModalState& state = GetParam();
    PortableCopy copy(std::string("[Mine]\r\nNote=kept\r\n[General]\r\n") + state.Settings);
    RunningProgram program(copy.Exe);
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(state.Open(program)) << state.Name << " did not open";

    EXPECT_TRUE(program.EndSession());
    EXPECT_FALSE(IconOf(program.Handler));
    EXPECT_TRUE(WaitProcess(program.Process, 5000));
    EXPECT_EQ(program.ExitCode(), 0u);
    std::string text = ReadText(copy.Dir.File(L"Lumivex.Settings"));
    EXPECT_THAT(text, HasSubstr("Note=kept"));
    EXPECT_THAT(text, HasSubstr("FullBarColor=Automatic"));
}

// A forced log-off sends the end without the question. It then arrives while the tray menu's loop still runs, and
// the end that the form's destruction posts must not be lost in that loop.
TEST(ProgramForcedLogOff, EndsTheProgramWithTheTrayMenuOpen) {
    PortableCopy copy("[Mine]\r\nNote=kept\r\n[General]\r\n");
    RunningProgram program(copy.Exe);
    ASSERT_TRUE(program.Started());
    ASSERT_NE(OpenTrayMenu(program), nullptr);
    DWORD_PTR ignored = 0;
    EXPECT_TRUE(SendMessageTimeoutW(program.Form, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &ignored));
    EXPECT_TRUE(WaitProcess(program.Process, 5000));
    EXPECT_EQ(program.ExitCode(), 0u);
    EXPECT_THAT(ReadText(copy.Dir.File(L"Lumivex.Settings")), HasSubstr("FullBarColor=Automatic"));
}

INSTANTIATE_TEST_SUITE_P(
    EveryState,
    ProgramModalState,
    ::testing::Values(
        ModalState{"TrayMenu", "", [](RunningProgram& p) { return OpenTrayMenu(p) != nullptr; }},
        ModalState{"ProcessDialog", "ShowTopProcess=1\r\nTopProcessCount=3\r\n",
                   [](RunningProgram& p) {
                       HWND menu = OpenTrayMenu(p);
                       if (!menu)
                           return false;
                       PostMessageW(menu, WM_CANCELMODE, 0, 0);
                       PumpUntil([&] { return ShownWindowOf(p.Pid, L"#32768") == nullptr; }, 10000);
                       PostMessageW(p.Form, WM_COMMAND, IDM_PROCESS_ROW_FIRST, 0);
                       return WaitForDialog(p.Pid) != nullptr;
                   }},
        // Memory above 1 % at the very first tick: the warning dialog opens while the program is still starting.
        ModalState{"WarningDialog", "RedPercent=1\r\nYellowPercent=0\r\nWarnMsgBox=1\r\nWarn=0\r\n",
                   [](RunningProgram& p) { return WaitForDialog(p.Pid) != nullptr; }},
        ModalState{"OptionsDialog", "",
                   [](RunningProgram& p) {
                       PostMessageW(p.Form, WM_COMMAND, IDM_SETTINGS, 0);
                       return WaitForDialog(p.Pid) != nullptr;
                   }},
        ModalState{"FontDialogOfTheOptions", "",
                   [](RunningProgram& p) {
                       PostMessageW(p.Form, WM_COMMAND, IDM_SETTINGS, 0);
                       HWND options = WaitForDialog(p.Pid);
                       if (!options)
                           return false;
                       PostMessageW(options, WM_COMMAND, MAKEWPARAM(IDC_FONTBUTTON, BN_CLICKED), 0);
                       return WaitForDialog(p.Pid, options) != nullptr;
                   }},
        ModalState{"AboutBox", "",
                   [](RunningProgram& p) {
                       PostMessageW(p.Form, WM_COMMAND, IDM_ABOUT, 0);
                       return PumpUntil([&] { return IsWindowVisible(p.Form) != FALSE; }, 15000);
                   }},
        ModalState{"ColourDialog", "",
                   [](RunningProgram& p) {
                       PostMessageW(p.Form, WM_COMMAND, IDM_TEXT_COLOR, 0);
                       return WaitForDialog(p.Pid) != nullptr;
                   }}),
    PrintModalState);

// The settings file cannot be written and the session ends, with nothing open or while the options dialog's OK
// has put up "Unable to write to ...": no box holds the log-off up (the one that was up goes), the program ends
// within 5 s, the failures are in the log and the file is as it was.
class ProgramUnwritableFile : public ::testing::TestWithParam<bool> {};

TEST_P(ProgramUnwritableFile, DoesNotHoldUpTheLogOff) {
    const bool boxUp = GetParam();
    const std::string original = "[Mine]\r\nNote=kept\r\n[General]\r\nRefreshRate=250\r\n";
    PortableCopy copy(original);
    RunningProgram program(copy.Exe);
    ASSERT_TRUE(program.Started());
    const std::wstring path = copy.Dir.File(L"Lumivex.Settings");
    // Nothing can write the file while this handle lives (Wine running as root ignores the read-only attribute).
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    if (boxUp) {
        PostMessageW(program.Form, WM_COMMAND, IDM_SETTINGS, 0);
        HWND options = WaitForDialog(program.Pid);
        ASSERT_NE(options, nullptr);
        PostMessageW(options, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_NE(WaitForDialog(program.Pid, options), nullptr);
    }

    EXPECT_TRUE(program.EndSession());
    EXPECT_TRUE(WaitProcess(program.Process, 5000));
    EXPECT_EQ(program.ExitCode(), 0u);
    CloseHandle(lock);
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_THAT(ReadText(copy.Dir.File(L"Lumivex.log")), HasSubstr("Unable to write to "));
}

INSTANTIATE_TEST_SUITE_P(NothingOpenOrABoxUp,
                         ProgramUnwritableFile,
                         ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "ErrorBoxUp" : "NothingOpen");
                         });
