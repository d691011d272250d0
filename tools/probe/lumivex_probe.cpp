// lumivex-probe: drives and measures a Lumivex running on Wine's "shell" desktop, for the screenshot and soak
// scripts. Run it as a plain Wine program; it joins that desktop itself.
//   lumivex-probe wait SECONDS        waits for Lumivex and its tray icon; prints the process id
//   lumivex-probe icons               number of Lumivex icons in the notification area
//   lumivex-probe command ID          the main form runs menu command ID (res/resource.h)
//   lumivex-probe tray right|double   the tray icon gets a right click or a double-click
//   lumivex-probe key CLASS CHILD VK  a key press (virtual key, decimal) for the first CHILD-class control of
//                                     the first visible CLASS window, e.g. "#32770 SysTabControl32 39": next page
//   lumivex-probe rect CLASS          "x y width height" of the first visible window of CLASS
//   lumivex-probe close CLASS         closes the first visible window of CLASS (a dialog, the menu)
//   lumivex-probe stats               "handles=N gdi=N windows=N private=N" of Lumivex
//   lumivex-probe end                 ends Lumivex the way a log-off does
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "desktop_probe.h"

namespace {
constexpr wchar_t kMainClass[] = L"TFrmLumivexMain";
constexpr wchar_t kTrayHandlerClass[] = L"LumivexTrayIconHandler";
constexpr UINT kTrayCallback = 2048;
constexpr WPARAM kMainIconId = 1;  // the main form's icon is the program's first

int Fail(const char* what) {
    std::fprintf(stderr, "lumivex-probe: %s\n", what);
    return 1;
}

HWND MainForm(DWORD* processId = nullptr) {
    HWND form = Probe::FindProcessWindow(kMainClass, 0);
    if (form && processId)
        GetWindowThreadProcessId(form, processId);
    return form;
}

HWND VisibleWindow(const wchar_t* className) {
    for (HWND h = FindWindowExW(nullptr, nullptr, className, nullptr); h;
         h = FindWindowExW(nullptr, h, className, nullptr)) {
        if (IsWindowVisible(h))
            return h;
    }
    return nullptr;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return Fail("no command");
    std::wstring command = argv[1];
    const wchar_t* arg = argc > 2 ? argv[2] : L"";
    // Waiting may begin before the desktop exists.
    const DWORD deadline = GetTickCount() + (command == L"wait" ? 1000u * std::wcstoul(arg, nullptr, 10) : 0);
    while (!Probe::AttachToDesktop(Probe::kShellDesktop)) {
        if (static_cast<int>(deadline - GetTickCount()) <= 0)
            return Fail("no \"shell\" desktop");
        Sleep(100);
    }

    if (command == L"wait") {
        DWORD pid = 0;
        do {
            if (MainForm(&pid) && Probe::FindProcessWindow(kTrayHandlerClass, pid) &&
                Probe::ProgramIconCount(pid) > 0) {
                std::printf("%lu\n", pid);
                return 0;
            }
            Sleep(100);
        } while (static_cast<int>(deadline - GetTickCount()) > 0);
        return Fail("Lumivex did not show its icon in time");
    }
    if (command == L"stats") {
        DWORD pid = 0;
        if (!MainForm(&pid))
            return Fail("Lumivex is not running");
        Probe::ProcessFigures f = Probe::MeasureProcess(pid);
        std::printf("handles=%ld gdi=%ld windows=%ld private=%llu\n", f.KernelHandles, f.GdiObjects, f.Windows,
                    static_cast<unsigned long long>(f.PrivateBytes));
        return 0;
    }
    if (command == L"rect") {
        HWND h = VisibleWindow(arg);
        if (!h)
            return Fail("no such window");
        RECT r{};
        GetWindowRect(h, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (command == L"close") {
        HWND h = VisibleWindow(arg);
        if (!h)
            return Fail("no such window");
        // A menu ends on Escape; a dialog on its close command.
        if (std::wstring(arg) == L"#32768")
            PostMessageW(h, WM_KEYDOWN, VK_ESCAPE, 0);
        else
            PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    }
    if (command == L"key") {
        HWND window = VisibleWindow(arg);
        HWND control = window && argc > 4 ? FindWindowExW(window, nullptr, argv[3], nullptr) : nullptr;
        if (!control)
            return Fail("no such control");
        WPARAM key = std::wcstoul(argv[4], nullptr, 10);
        PostMessageW(control, WM_KEYDOWN, key, 1);
        PostMessageW(control, WM_KEYUP, key, 0xC0000001);
        return 0;
    }
    DWORD pid = 0;
    HWND form = MainForm(&pid);
    if (!form)
        return Fail("Lumivex is not running");
    if (command == L"command") {
        PostMessageW(form, WM_COMMAND, static_cast<WPARAM>(std::wcstoul(arg, nullptr, 10)), 0);
        return 0;
    }
    if (command == L"tray") {
        HWND handler = Probe::FindProcessWindow(kTrayHandlerClass, pid);
        if (!handler)
            return Fail("no tray icon");
        std::wstring how = arg;
        if (how == L"right") {
            PostMessageW(handler, kTrayCallback, kMainIconId, WM_RBUTTONDOWN);
            PostMessageW(handler, kTrayCallback, kMainIconId, WM_RBUTTONUP);
        } else if (how == L"double") {
            PostMessageW(handler, kTrayCallback, kMainIconId, WM_LBUTTONDOWN);
            PostMessageW(handler, kTrayCallback, kMainIconId, WM_LBUTTONUP);
            PostMessageW(handler, kTrayCallback, kMainIconId, WM_LBUTTONDBLCLK);
            PostMessageW(handler, kTrayCallback, kMainIconId, WM_LBUTTONUP);
        } else {
            return Fail("tray takes right or double");
        }
        return 0;
    }
    if (command == L"icons") {
        std::printf("%d\n", Probe::ProgramIconCount(pid));
        return 0;
    }
    if (command == L"end")
        return Probe::EndGracefully(form, pid, 15000) ? 0 : Fail("Lumivex did not end");
    return Fail("unknown command");
}
