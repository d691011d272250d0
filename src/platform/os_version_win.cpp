#include "platform/os_version_win.h"

DWORD OsMajorVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    return GetVersionExW(&info) ? info.dwMajorVersion : 0;
}
