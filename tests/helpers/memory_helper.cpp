// A program of known working set for the process tests: lumivex_test_helper <megabytes> <ready event name>.
// It commits and touches that many megabytes, signals the event and then waits until it is ended.
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
    // A message queue keeps the helper an ordinary idle program until the test ends it.
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
