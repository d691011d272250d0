#pragma once

#include <windows.h>

#include <shellapi.h>

#include <set>
#include <utility>
#include <vector>

#include "tray/tray_icon_win.h"

// Stands in for the notification area during the Windows tests: it answers like the shell (an icon is added once,
// modified and deleted only while it is there) and records every call. Wine's own shell takes two seconds for each
// delete when no window manager runs, which every test that creates the main form would pay.
class TestShell {
  public:
    struct Call {
        DWORD Message;
        NOTIFYICONDATAW Data;
    };
    static TestShell& Get();
    // What a tray icon is given to talk to this shell instead of the real one.
    static ShellNotifyFunction Function();

    BOOL Notify(DWORD message, NOTIFYICONDATAW& data);
    bool Holds(HWND window, UINT id) const { return Icons.count({window, id}) != 0; }
    int Count(DWORD message) const;
    // Explorer restarting: every icon is gone.
    void Restart() { Icons.clear(); }

    std::vector<Call> Calls;
    std::set<std::pair<HWND, UINT>> Icons;
    bool TaskbarUp = true;    // false: every call fails, as at log-on before the taskbar exists
    bool RealShell = false;   // true: calls are recorded and passed on to Wine's shell
    UINT HighestVersion = 4;  // NIM_SETVERSION above it is refused, as by a shell that does not know it
};

// Sets the test shell to a fresh state for one test and puts it back afterwards.
class ScopedTestShell {
  public:
    explicit ScopedTestShell(bool realShell = false) { Reset(realShell); }
    ~ScopedTestShell() { Reset(false); }
    TestShell* operator->() { return &TestShell::Get(); }

  private:
    static void Reset(bool realShell) {
        TestShell& shell = TestShell::Get();
        shell.Calls.clear();
        shell.Icons.clear();
        shell.TaskbarUp = true;
        shell.RealShell = realShell;
        shell.HighestVersion = 4;
    }
};
