#pragma once

#include <windows.h>

#include "platform/taskbar_edge.h"

// The edge of the screen that the taskbar ("Shell_TrayWnd") sits on; unknown when there is none.
TaskbarEdge CurrentTaskbarEdge();
// Moves a top-level window into the corner of the work area next to the taskbar; leaves it alone when the
// taskbar's edge is unknown.
void PlaceNearTaskbar(HWND form);
