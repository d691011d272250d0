#include "platform/modal_loops_win.h"

#include <vector>

namespace {
// The dialog manager's class: message boxes, task dialogs, common dialogs and every template dialog use it.
bool IsDialogWindow(HWND h) {
    wchar_t name[16] = {};
    return GetClassNameW(h, name, 16) > 0 && lstrcmpW(name, L"#32770") == 0;
}

BOOL CALLBACK CollectDialog(HWND h, LPARAM param) {
    if (IsDialogWindow(h))
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(h);
    return TRUE;
}

std::vector<HWND> ThreadDialogs() {
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

// A dialog that has ended is hidden at once (EndDialog), though its window lives until its loop returns.
bool StillOpen(HWND h) {
    return IsWindow(h) && IsWindowVisible(h);
}
}  // namespace

// Cancel first, so each dialog ends its own way (the colour dialog then reports "nothing chosen", a message box its
// Cancel or OK); the close box next, which a task dialog without Cancel honours when it allows cancelling; a dialog
// that still stands is ended from outside with IDCANCEL. Dialogs nested in others come first in the thread's
// window order, and each is ended before the one it is modal to.
void EndModalLoops() {
    EndMenu();
    for (HWND h : ThreadDialogs()) {
        if (!StillOpen(h))
            continue;
        SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(h, IDCANCEL)));
        if (StillOpen(h))
            SendMessageW(h, WM_CLOSE, 0, 0);
        if (StillOpen(h))
            EndDialog(h, IDCANCEL);
    }
}

bool ModalDialogOpen() {
    for (HWND h : ThreadDialogs()) {
        if (StillOpen(h))
            return true;
    }
    return false;
}
