#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The shell and session commands behind the tray icon's double-click and the About box's links.
void LaunchTaskManager(HWND owner);
// System32's taskmgr.exe, the program LaunchTaskManager starts.
std::wstring TaskManagerPath();
// LockWorkStation when Windows has it; false otherwise.
bool LockComputer();
// The shell's Run dialog (shell32 ordinal 61) with the program's title line and icon.
void ShowRunDialog(const std::string& productName, HWND owner, HICON icon);
// The Windows shut-down dialog, through the "Shell.Application" automation object.
void ShowShutDownDialog();
// Opens an http or https address in the browser; anything else is refused (false).
bool OpenWebPage(HWND owner, const std::string& address);

// The commands as the main form reaches them; tests put recorders in their place.
struct SystemLaunchers {
    std::function<void(HWND owner)> TaskManager = LaunchTaskManager;
    std::function<bool()> Lock = LockComputer;
    std::function<void(const std::string& productName, HWND owner, HICON icon)> RunDialog = ShowRunDialog;
    std::function<void()> ShutDownDialog = ShowShutDownDialog;
    std::function<bool(HWND owner, const std::string& address)> WebPage = OpenWebPage;
    // A tray-menu command run on the main form (free memory, settings): sent as the menu sends it.
    std::function<void(HWND form, UINT command)> MenuCommand = [](HWND form, UINT command) {
        SendMessageW(form, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    };
};
