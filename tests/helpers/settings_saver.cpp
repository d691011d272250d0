// Saves the settings file again and again for the tests of whole saves:
// lumivex_test_settings_saver <settings file> <saves, 0 until ended> <ready event name>.
// It writes the records of saver_records.h in turn, 1 first, sets the event after the first save and ends with the
// number of saves that failed.
#include <windows.h>

#include <shellapi.h>

#include <cwchar>

#include "helpers/saver_records.h"
#include "settings/ini_file_writer_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 4)
        return 100;
    unsigned long saves = wcstoul(argv[2], nullptr, 10);
    int failed = 0;
    for (unsigned long i = 0; saves == 0 || i < saves; ++i) {
        IniFileWriter file(argv[1]);
        if (!SaveSettings(file, SaverRecord(i % 2 == 0 ? 1 : 0)) && failed < 99)
            ++failed;
        if (i == 0) {
            if (HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3])) {
                SetEvent(ready);
                CloseHandle(ready);
            }
        }
    }
    return failed;
}
