// The smallest tray meter there can be, for the footprint benchmark to measure the program beside: one hidden
// window, one icon in the notification area, a 500 ms timer that reads the memory status and puts the load in the
// tip. It ends with the process whose id it is given.
//   lumivex_bench_minimal_meter <process id>
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
    HANDLE parent = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(wcstoul(arguments, nullptr, 10)));
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"MinimalMeter";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                                  instance, nullptr);
    BYTE andMask[32], xorMask[32 * 16];
    for (BYTE& b : andMask)
        b = 0;
    for (BYTE& b : xorMask)
        b = 0x80;
    HICON icon = CreateIcon(instance, 16, 16, 1, 16, andMask, xorMask);
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = 1;
    data.uFlags = NIF_ICON | NIF_TIP;
    data.hIcon = icon;
    Shell_NotifyIconW(NIM_ADD, &data);
    SetTimer(window, 1, 500, nullptr);
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(parent ? 1 : 0, &parent, FALSE, INFINITE, QS_ALLINPUT);
        if (parent && woken == WAIT_OBJECT_0)
            break;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER) {
                MEMORYSTATUSEX status{};
                status.dwLength = sizeof status;
                GlobalMemoryStatusEx(&status);
                swprintf(data.szTip, 64, L"%lu%%", status.dwMemoryLoad);
                Shell_NotifyIconW(NIM_MODIFY, &data);
            }
            DispatchMessageW(&msg);
        }
    }
    Shell_NotifyIconW(NIM_DELETE, &data);
    DestroyIcon(icon);
    return 0;
}
