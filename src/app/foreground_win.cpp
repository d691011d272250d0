#include "app/foreground_win.h"

// Windows hands the foreground only to the thread that has the user's input. A synthesised click would give it
// to us, but it lands wherever the mouse is and may press a button in another program. Instead the foreground
// thread's input is joined for the moment of the switch, which makes the switch ours to make; nothing reaches
// any other window.
void ForceForeground(HWND window) {
    HWND foreground = GetForegroundWindow();
    const DWORD foregroundThread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    const DWORD self = GetCurrentThreadId();
    const bool attached =
        foregroundThread && foregroundThread != self && AttachThreadInput(self, foregroundThread, TRUE);
    SetForegroundWindow(window);
    if (attached)
        AttachThreadInput(self, foregroundThread, FALSE);
}
