// A program that crashes on purpose with the crash handler installed:
//   lumivex_test_crasher.exe <error log path, may be empty> [null | throw | early-throw | overflow]
// "null" (the default) writes through a null pointer; "throw" throws an exception that nothing catches;
// "early-throw" throws one before the handler is installed; "overflow" overflows the stack.
// Started by its own crash handler as "/crashdump ..." it writes the dump as Lumivex.exe does; with
// LUMIVEX_TEST_WRITER_HANGS set it hangs instead, as a dump writer that never answers.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "platform/crash_dump_writer_win.h"
#include "platform/crash_handler_win.h"
#include "platform/error_report_win.h"

namespace {
int Recurse(int depth);
// Called through a volatile pointer, so the compiler can neither see the recursion nor turn it into a loop.
int (*volatile gRecurse)(int) = Recurse;

// Each call keeps a frame of its own until the stack runs out.
int Recurse(int depth) {
    volatile char frame[512];
    frame[depth % 512] = 1;
    return gRecurse(depth + 1) + frame[(depth * 7) % 512];
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring arguments;
    for (int i = 1; i < argc; ++i)
        arguments += (i > 1 ? L" " : L"") + std::wstring(argv[i]);
    CrashDumpRequest request;
    const CrashDumpCommand command = ParseCrashDumpCommand(arguments, request);
    if (command != CrashDumpCommand::None) {
        if (GetEnvironmentVariableW(L"LUMIVEX_TEST_WRITER_HANGS", nullptr, 0) > 0)
            Sleep(INFINITE);
        return command == CrashDumpCommand::Request ? static_cast<int>(RunCrashDumpWriter(request))
                                                    : ERROR_INVALID_PARAMETER;
    }
    if (argc < 2)
        return 2;
    SetErrorLogPath(argv[1]);
    const std::wstring how = argc > 2 ? argv[2] : L"null";
    if (how == L"early-throw")
        throw std::runtime_error("nobody catches this either");
    InstallCrashHandler();
    if (how == L"throw")
        throw std::runtime_error("nobody catches this");
    if (how == L"overflow")
        return Recurse(0);
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
    return 0;
}
