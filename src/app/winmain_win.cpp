#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "app/main_form_win.h"
#include "platform/crash_handler_win.h"
#include "platform/messages.h"
#include "platform/system_library_win.h"
#include "platform/text_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    HardenDllSearch();
    InstallCrashHandler();

    // One copy per session: a second start only tells the running one, which shows a balloon.
    if (HWND running = FindWindowW(Widen(kMainWindowClass).c_str(), nullptr)) {
        PostMessageW(running, MSG_SECOND_INSTANCE, 0, 0);
        return 0;
    }

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&icc);
    OleInitialize(nullptr);

    int exitCode = 0;
    {
        TFrmLumivexMain form;
        if (!form.Create())
            return 1;
        MSG msg;
        BOOL r;
        while ((r = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
            if (r == -1)
                break;
            // Windows that hold controls (the About box, the licence text) get the dialog keys: Tab, Enter, Esc.
            HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
            if (root && (GetWindowLongW(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && IsDialogMessageW(root, &msg)) {
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        exitCode = static_cast<int>(msg.wParam);
    }
    OleUninitialize();
    return exitCode;
}
