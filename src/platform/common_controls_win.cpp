#include "platform/common_controls_win.h"

#include "platform/system_library_win.h"

namespace {
struct CommonControlsLibrary {
    SystemLibrary Library{L"comctl32.dll"};
    decltype(&SetWindowSubclass) SetSubclass = Library.Proc<decltype(&SetWindowSubclass)>("SetWindowSubclass");
    decltype(&RemoveWindowSubclass) RemoveSubclass =
        Library.Proc<decltype(&RemoveWindowSubclass)>("RemoveWindowSubclass");
    decltype(&DefSubclassProc) DefSubclass = Library.Proc<decltype(&DefSubclassProc)>("DefSubclassProc");

    CommonControlsLibrary() {
        if (auto init = Library.Proc<decltype(&InitCommonControlsEx)>("InitCommonControlsEx")) {
            INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
            init(&icc);
        }
    }
};

// Loaded when the first dialog or control needs it, not at start: the tray icon and its menu use none of its
// controls, and under Wine the library alone costs 1.7 MB of private memory. The UI thread is the only caller.
const CommonControlsLibrary& Loaded() {
    static const CommonControlsLibrary library;
    return library;
}
}  // namespace

HMODULE CommonControls() {
    return Loaded().Library.Get();
}

bool SubclassControl(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
    return Loaded().SetSubclass && Loaded().SetSubclass(window, proc, id, data);
}

void UnsubclassControl(HWND window, SUBCLASSPROC proc, UINT_PTR id) {
    if (Loaded().RemoveSubclass)
        Loaded().RemoveSubclass(window, proc, id);
}

LRESULT DefaultSubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    return Loaded().DefSubclass ? Loaded().DefSubclass(window, msg, wParam, lParam)
                                : DefWindowProcW(window, msg, wParam, lParam);
}
