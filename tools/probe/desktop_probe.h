#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Looks at a running Lumivex from outside, on the Wine desktop that shows a taskbar ("shell"): its windows, the
// icons of the notification area and the resources the process holds. Used by the scripts in tools/ and by the
// tests that need a real taskbar.
namespace Probe {

constexpr wchar_t kShellDesktop[] = L"shell";

// Moves the calling thread, which must not own a window yet, to the named desktop.
bool AttachToDesktop(const wchar_t* name);

// The notification-area icons of a process: the (window, id) pairs of its windows, ids 0 to 15, that the shell
// knows. It asks the shell itself (a modify that changes nothing succeeds only for an icon it holds), so the
// answer is the taskbar's, whatever the program believes; -1 without a taskbar.
int ProgramIconCount(DWORD processId);
// The same icons as "window class/id" texts, for reports.
std::string ProgramIconList(DWORD processId);

// The first window of the class that belongs to the process (0: any process), top-level or message-only.
HWND FindProcessWindow(const wchar_t* className, DWORD processId);

struct ProcessFigures {
    long KernelHandles = -1;  // handles in the process's handle table
    long GdiObjects = -1;     // entries of the GDI handle table in use (-1: no table to read)
    long Windows = -1;        // windows of the process: top-level, child and message-only
    uint64_t PrivateBytes = 0;
};
// GetProcessHandleCount and GetGuiResources answer 0 under Wine, so the figures are counted instead: the kernel
// handles through the system's handle list, the GDI objects in the process's own GDI handle table (which a leaked
// icon, bitmap, font or brush occupies; the probe must be as wide as the process), the windows by enumeration.
ProcessFigures MeasureProcess(DWORD processId);

// Ends the program as a log-off does (it saves its settings) and waits for its process to end.
bool EndGracefully(HWND mainForm, DWORD processId, DWORD timeoutMs);

}  // namespace Probe
