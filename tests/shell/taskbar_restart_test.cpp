// The real Lumivex.exe on a Wine desktop with a taskbar: however often the shell announces a restart, the
// notification area ends up with exactly one Lumivex icon.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "desktop_probe.h"
#include "win_test_util.h"

using namespace WinTest;

namespace {
constexpr UINT kMainIconId = 1;  // the main form's icon is the program's first

// A portable copy in its own folder, started on the "shell" desktop (which the call creates when needed).
struct ShellDesktopCopy {
    TempDir Dir;
    HANDLE Starter = nullptr;
    ShellDesktopCopy() {
        std::wstring exe = Dir.File(L"Lumivex.exe");
        CopyFileW((TestFolder() + L"Lumivex.exe").c_str(), exe.c_str(), FALSE);
        WriteBytes(Dir.File(L"Lumivex.Settings"), "[General]\r\nShowPercentage=1\r\n");
        wchar_t windows[MAX_PATH];
        GetWindowsDirectoryW(windows, MAX_PATH);
        Starter = Launch(std::wstring(windows) + L"\\explorer.exe",
                         std::wstring(L"/desktop=") + Probe::kShellDesktop + L",1024x768 \"" + exe + L"\"");
    }
    ~ShellDesktopCopy() {
        if (Starter)
            CloseHandle(Starter);
    }
};

// A copy that a failed check left running is ended, so that it holds neither the desktop nor the test's output.
struct EndsAtExit {
    HWND Form = nullptr;
    DWORD Pid = 0;
    ~EndsAtExit() {
        if (!Pid || Probe::EndGracefully(Form, Pid, 10000))
            return;
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, Pid)) {
            TerminateProcess(process, 1);
            CloseHandle(process);
        }
    }
};
}  // namespace

TEST(TaskbarRestart, AHundredAnnouncementsLeaveExactlyOneIcon) {
    ShellDesktopCopy copy;
    ASSERT_NE(copy.Starter, nullptr);
    ASSERT_TRUE(PumpUntil([] { return Probe::AttachToDesktop(Probe::kShellDesktop); }, 20000));
    EndsAtExit running;
    HWND& form = running.Form;
    DWORD& pid = running.Pid;
    HWND handler = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] {
            form = Probe::FindProcessWindow(L"TFrmLumivexMain", 0);
            if (form)
                GetWindowThreadProcessId(form, &pid);
            handler = form ? Probe::FindProcessWindow(L"LumivexTrayIconHandler", pid) : nullptr;
            return handler && Probe::ProgramIconCount(pid) > 0;
        },
        30000));
    ASSERT_EQ(Probe::ProgramIconCount(pid), 1) << Probe::ProgramIconList(pid);

    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    for (int round = 0; round < 100; ++round) {
        // Every other announcement follows a real loss of the icons, as when Explorer restarts; the others come
        // while the icon is still there.
        if (round % 2 == 0) {
            NOTIFYICONDATAW gone{};
            gone.cbSize = sizeof gone;
            gone.hWnd = handler;
            gone.uID = kMainIconId;
            ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &gone)) << "round " << round;
            ASSERT_EQ(Probe::ProgramIconCount(pid), 0) << "round " << round;
        }
        DWORD_PTR result = 0;
        SendMessageTimeoutW(HWND_BROADCAST, taskbarCreated, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
        ASSERT_EQ(Probe::ProgramIconCount(pid), 1) << "round " << round << ": " << Probe::ProgramIconList(pid);
    }

    // Ending the program takes its icon away: the shell holds no icon of its handler window any more.
    ASSERT_TRUE(Probe::EndGracefully(form, pid, 15000));
    pid = 0;
    NOTIFYICONDATAW left{};
    left.cbSize = sizeof left;
    left.hWnd = handler;
    left.uID = kMainIconId;
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &left));
}
