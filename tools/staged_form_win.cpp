// lumivex-staged: the program's own main form with a staged memory reading, for screenshots that show realistic
// figures on a test machine whatever its memory does: `lumivex-staged.exe <load percent> [total GB]`. Everything
// else (settings beside the program, tray icon, menu, dialogs, the real processes) is the program's.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cwchar>

#include "app/main_form_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const unsigned load = argc > 1 ? static_cast<unsigned>(std::wcstoul(argv[1], nullptr, 10)) : 58u;
    const unsigned long long gigabytes = argc > 2 ? std::wcstoull(argv[2], nullptr, 10) : 16ull;
    LocalFree(argv);

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&icc);
    SystemHooks hooks;
    hooks.Sample = [load, gigabytes] {
        MemorySample s;
        s.MemoryLoad = load > 100 ? 100 : load;
        s.TotalPhys = gigabytes << 30;
        s.AvailPhys = s.TotalPhys / 100 * (100 - s.MemoryLoad);
        s.TotalPageFile = s.TotalPhys + (s.TotalPhys >> 1);
        s.AvailPageFile = s.TotalPageFile / 100 * (100 - s.MemoryLoad);
        return s;
    };
    MainForm form(std::move(hooks));
    if (!form.Create())
        return 1;
    return RunMessageLoop(form);
}
