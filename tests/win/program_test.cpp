// Starts the real Lumivex.exe: single instance, hidden form, portable settings, saving on the way out.
#include <windows.h>
#include <shellapi.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/messages.h"
#include "platform/window_win.h"
#include "win_test_util.h"

using namespace wintest;
using ::testing::HasSubstr;

namespace {
// Stands in for a running copy: a window of the program's class that counts what it receives.
class FakeRunningCopy : public Window {
  public:
    FakeRunningCopy() { CreateWindowOf(L"TFrmLumivexMain", WS_EX_TOOLWINDOW, WS_OVERLAPPED, L"Lumivex", nullptr); }
    int secondInstanceMessages = 0;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == MSG_SECOND_INSTANCE)
            ++secondInstanceMessages;
        return Window::HandleMessage(msg, wParam, lParam);
    }
};

// A portable copy of the program in its own folder, so the test never touches the user's settings.
struct PortableCopy {
    TempDir dir;
    std::wstring exe;
    PortableCopy(const std::string& settings) {
        exe = dir.File(L"Lumivex.exe");
        CopyFileW((TestFolder() + L"Lumivex.exe").c_str(), exe.c_str(), FALSE);
        WriteBytes(dir.File(L"Lumivex.Settings"), settings);
    }
};

HWND FindProgramWindow(DWORD processId) {
    HWND found = nullptr;
    for (HWND h = FindWindowExW(nullptr, nullptr, L"TFrmLumivexMain", nullptr); h;
         h = FindWindowExW(nullptr, h, L"TFrmLumivexMain", nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid == processId)
            found = h;
    }
    return found;
}
bool ProgramTrayIconShown(DWORD processId) {
    for (HWND h = FindWindowExW(nullptr, nullptr, L"LumivexTrayIconHandler", nullptr); h;
         h = FindWindowExW(nullptr, h, L"LumivexTrayIconHandler", nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid != processId)
            continue;
        NOTIFYICONDATAW probe{};
        probe.cbSize = sizeof probe;
        probe.hWnd = h;
        probe.uID = 1;  // the program's one icon
        return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
    }
    return false;
}
}  // namespace

TEST(Program, SecondStartSignalsTheRunningCopyAndEnds) {
    FakeRunningCopy running;
    ASSERT_NE(running.Hwnd(), nullptr);
    PortableCopy copy("[General]\r\nShowPercentage=0\r\n");
    HANDLE second = Launch(copy.exe);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(WaitProcess(second, 10000));
    CloseHandle(second);
    PumpUntil([&] { return running.secondInstanceMessages > 0; }, 2000);
    EXPECT_EQ(running.secondInstanceMessages, 1);
    // The second copy wrote nothing: it never got as far as its settings.
    EXPECT_EQ(ReadText(copy.dir.File(L"Lumivex.Settings")), "[General]\r\nShowPercentage=0\r\n");
}

TEST(Program, RunsHiddenAsOneCopyAndSavesWhenTheSessionEnds) {
    PortableCopy copy("[Mine]\r\nNote=kept\r\n[General]\r\nShowPercentage=0\r\nRefreshRate=250\r\n");
    HANDLE first = Launch(copy.exe);
    ASSERT_NE(first, nullptr);
    DWORD pid = GetProcessId(first);
    HWND form = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (form = FindProgramWindow(pid)) != nullptr; }, 15000));
    EXPECT_FALSE(IsWindowVisible(form));
    EXPECT_TRUE(GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    // Its icon is in the notification area (Wine's own shell): only an icon that is there can be modified.
    EXPECT_TRUE(PumpUntil([&] { return ProgramTrayIconShown(pid); }, 10000));

    HANDLE second = Launch(copy.exe);
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

    std::string text = ReadText(copy.dir.File(L"Lumivex.Settings"));
    EXPECT_THAT(text, HasSubstr("Note=kept"));
    EXPECT_THAT(text, HasSubstr("RefreshRate=250"));
    EXPECT_THAT(text, HasSubstr("NoWarningSwithOffMonMobile=0"));
    EXPECT_THAT(text, HasSubstr("FullBarColor=Automatic"));
}

// The real program: a right press on its icon opens the tray menu, and Escape closes it.
TEST(Program, RightPressOnTheIconOpensTheTrayMenu) {
    PortableCopy copy("[General]\r\nTopProcessCount=3\r\nShowTopProcess=1\r\nShowMemMenu=1\r\n");
    HANDLE program = Launch(copy.exe);
    ASSERT_NE(program, nullptr);
    struct Ending {
        HANDLE process;
        ~Ending() {
            if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0)
                TerminateProcess(process, 1);
            CloseHandle(process);
        }
    } ending{program};
    DWORD pid = GetProcessId(program);
    auto windowOf = [pid](const wchar_t* cls) {
        for (HWND h = FindWindowExW(nullptr, nullptr, cls, nullptr); h; h = FindWindowExW(nullptr, h, cls, nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner == pid && (wcscmp(cls, L"#32768") != 0 || IsWindowVisible(h)))
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
