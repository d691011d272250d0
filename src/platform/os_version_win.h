#pragma once

#include <windows.h>

// Major version of Windows as the program sees it (6 for Vista and 7); 0 when it cannot be read.
DWORD OsMajorVersion();
