#include <windows.h>
#include <ole2.h>

#include "app/main_form_win.h"
#include "app/single_instance_win.h"
#include "platform/crash_dump_writer_win.h"
#include "platform/crash_handler_win.h"
#include "platform/system_library_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    // A copy started by the crash handler of a crashed copy only writes that copy's dump: no window, no tray icon and
    // not the single-instance mutex, which the crashed copy still holds.
    CrashDumpRequest request;
    switch (ParseCrashDumpCommand(arguments ? arguments : L"", request)) {
        case CrashDumpCommand::Request:
            return static_cast<int>(RunCrashDumpWriter(request));
        case CrashDumpCommand::Malformed:
            return ERROR_INVALID_PARAMETER;
        case CrashDumpCommand::None:
            break;
    }
    // The DLL search is restricted before anything can load a library.
    HardenDllSearch();
    // One copy per session, decided before anything else: a second start only tells the running one, which shows a
    // balloon. Two copies would both save their settings at the end and tear the file. A copy that runs as
    // administrator cannot be told: this start says so itself.
    SingleInstance instance;
    if (instance.RunningCopyUnreachable())
        ShowRunningAsAdministratorNotice();
    if (!instance.First())
        return 0;
    InstallCrashHandler();

    // The common controls are loaded by the first dialog that needs them (platform/common_controls_win.cpp).
    OleInitialize(nullptr);

    int exitCode = 0;
    {
        MainForm form;
        if (!form.Create())
            return 1;
        exitCode = RunMessageLoop(form);
    }
    OleUninitialize();
    return exitCode;
}
