// A program of known working set for the process tests:
//   lumivex_test_helper <megabytes> <ready event name> [the test's process id [megabytes per step]]
// It commits and touches that many megabytes, signals the event and then waits until it is ended, or until the test
// that started it has ended, so that not even a test that crashes leaves one behind. With a step it leaks on purpose:
// each time the test sets the event "<ready event name>-grow" it commits and touches that many megabytes more and
// signals the ready event again.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {
bool Commit(SIZE_T megabytes) {
    const SIZE_T bytes = megabytes << 20;
    if (!bytes)
        return true;
    auto* memory = static_cast<volatile char*>(VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!memory)
        return false;
    for (SIZE_T i = 0; i < bytes; i += 4096)
        memory[i] = 1;
    return true;
}

void Signal(const wchar_t* name) {
    if (HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, name)) {
        SetEvent(ready);
        CloseHandle(ready);
    }
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!Commit(argc > 1 ? static_cast<SIZE_T>(wcstoul(argv[1], nullptr, 10)) : 0))
        return 2;
    const SIZE_T step = argc > 4 ? static_cast<SIZE_T>(wcstoul(argv[4], nullptr, 10)) : 0;
    HANDLE grow = nullptr;
    if (argc > 2) {
        if (step)
            grow = CreateEventW(nullptr, FALSE, FALSE, (std::wstring(argv[2]) + L"-grow").c_str());
        Signal(argv[2]);
    }
    HANDLE test = argc > 3 ? OpenProcess(SYNCHRONIZE, FALSE, wcstoul(argv[3], nullptr, 10)) : nullptr;
    HANDLE waits[2];
    DWORD count = 0;
    if (test)
        waits[count++] = test;
    if (grow)
        waits[count++] = grow;
    // A message queue keeps the helper an ordinary idle program until the test ends it.
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(count, waits, FALSE, INFINITE, QS_ALLINPUT);
        if (woken < WAIT_OBJECT_0 + count && waits[woken - WAIT_OBJECT_0] == test)
            return 0;
        if (woken < WAIT_OBJECT_0 + count) {
            if (!Commit(step))
                return 2;
            Signal(argv[2]);
            continue;
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return 0;
            DispatchMessageW(&msg);
        }
    }
}
