#pragma once

#include <windows.h>

// Terminal-services session notifications, looked up at run time (false when Windows lacks them).
bool RegisterSessionEvents(HWND window, DWORD flags);
bool UnregisterSessionEvents(HWND window);
