// A program that crashes on purpose with the crash handler installed:
//   lumivex_test_crasher.exe <error log path, may be empty> [null | throw | early-throw]
// "null" (the default) writes through a null pointer; "throw" throws an exception that nothing catches;
// "early-throw" throws one before the handler is installed.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "platform/crash_handler_win.h"
#include "platform/error_report_win.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return 2;
    SetErrorLogPath(argv[1]);
    const std::wstring how = argc > 2 ? argv[2] : L"null";
    if (how == L"early-throw")
        throw std::runtime_error("nobody catches this either");
    InstallCrashHandler();
    if (how == L"throw")
        throw std::runtime_error("nobody catches this");
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
    return 0;
}
