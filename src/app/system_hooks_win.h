#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "memory/memory_sample.h"
#include "options/options_dialog_win.h"
#include "processes/process_dialog.h"
#include "processes/process_snapshot_win.h"
#include "system/system_commands_win.h"
#include "tray/tray_icon_win.h"

struct TaskDialogTexts;

// How the main form starts and where it reaches the system. A hook left empty is the real thing: the main form's
// constructor fills in every one; tests and benchmarks put stand-ins in their place.
struct SystemHooks {
    std::wstring ProgramFolder;   // empty: the executable's folder
    std::wstring UserDataFolder;  // empty: the per-user application-data folder
    bool QuitOnDestroy = true;    // the program's form ends the message loop; a test's does not

    std::function<MemorySample()> Sample;                       // GlobalMemoryStatusEx
    std::function<uint32_t()> TickCount;                        // GetTickCount
    std::function<void(DWORD processId)> TrimProcess;           // SetProcessWorkingSetSize
    std::function<int(TaskDialogTexts& dialog)> WarningDialog;  // the high-memory dialog; returns the button
    std::function<UINT()> PrimaryDpi;                           // the DPI of the notification area's monitor
    std::function<RECT(POINT at)> WorkArea;                     // the work area of the monitor under a point
    std::function<bool()> HighContrast;                         // SPI_GETHIGHCONTRAST
    // The system-wide process list the growth is read from (SystemProcessReader::Read).
    std::function<bool(const std::function<void(const SystemProcessEntryView&)>& visit)> ReadProcesses;
    // The process dialog (100..103, 2 when cancelled) and the notice that its process has ended.
    std::function<int(const ProcessDialogTexts& texts)> ProcessChoice;
    std::function<void(const std::string& text)> ProcessNotice;
    std::function<bool(COLORREF& color)> PickTextColor;        // "文本颜色"'s colour dialog
    OptionsDialogPrompts OptionsPrompts;                       // what the options dialog asks the user and the computer
    SystemLaunchers Launchers;                                 // the shell commands; their defaults come with the type
    ShellNotifyFunction ShellNotify;                           // Shell_NotifyIconW, for the form's tray icon
    std::function<void(const std::string& text)> ReportError;  // the error box (ReportError's, while the form lives)
    std::function<void(const char* step)> StartupStep;         // after each start-up step: a benchmark's breakdown
};
