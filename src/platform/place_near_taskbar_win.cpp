#include "platform/place_near_taskbar_win.h"

TaskbarEdge CurrentTaskbarEdge() {
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    RECT r;
    if (!taskbar || !GetWindowRect(taskbar, &r))
        return TaskbarEdge::Unknown;
    return TaskbarEdgeOf(ScreenRect{r.left, r.top, r.right, r.bottom}, GetSystemMetrics(SM_CXSCREEN),
                         GetSystemMetrics(SM_CYSCREEN));
}

void PlaceNearTaskbar(HWND form) {
    RECT work, window;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) || !GetWindowRect(form, &window))
        return;
    std::optional<ScreenPoint> place =
        PositionNearTaskbar(CurrentTaskbarEdge(), ScreenRect{work.left, work.top, work.right, work.bottom},
                            window.right - window.left, window.bottom - window.top);
    if (place)
        SetWindowPos(form, nullptr, place->X, place->Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
