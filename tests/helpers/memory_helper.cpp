// A program of known working set for the process tests:
//   lumivex_test_helper <megabytes> <ready event name> [the test's process id]
// It commits and touches that many megabytes, signals the event and then waits until it is ended, or until the test
// that started it has ended, so that not even a test that crashes leaves one behind.
#include <windows.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    SIZE_T megabytes = argc > 1 ? static_cast<SIZE_T>(wcstoul(argv[1], nullptr, 10)) : 0;
    SIZE_T bytes = megabytes << 20;
    if (bytes) {
        auto* memory =
            static_cast<volatile char*>(VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (!memory)
            return 2;
        for (SIZE_T i = 0; i < bytes; i += 4096)
            memory[i] = 1;
    }
    if (argc > 2) {
        if (HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2])) {
            SetEvent(ready);
            CloseHandle(ready);
        }
    }
    HANDLE test = argc > 3 ? OpenProcess(SYNCHRONIZE, FALSE, wcstoul(argv[3], nullptr, 10)) : nullptr;
    // A message queue keeps the helper an ordinary idle program until the test ends it.
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(test ? 1 : 0, &test, FALSE, INFINITE, QS_ALLINPUT);
        if (test && woken == WAIT_OBJECT_0)
            return 0;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return 0;
            DispatchMessageW(&msg);
        }
    }
}
