#pragma once

#include <windows.h>

#include <vector>

#include "platform/unique_handle_win.h"

// Dots per inch as the program sees them. Per-monitor answers come from functions that Windows 7 lacks (looked up
// at run time); where they are missing every answer is the system DPI, which is what Windows 7 scales with.
constexpr UINT kDefaultDpi = 96;

UINT SystemDpi();
UINT WindowDpi(HWND window);
UINT MonitorDpi(HMONITOR monitor);
// The monitor that holds the notification area (the primary one).
UINT PrimaryMonitorDpi();
// The monitor under a point in screen coordinates (or the nearest one).
UINT PointDpi(POINT point);
// The work area (the screen less the taskbar) of the monitor under a point, or of the nearest one.
RECT PointWorkArea(POINT point);
// GetSystemMetricsForDpi, or GetSystemMetrics where it is missing (it answers for the system DPI).
int SystemMetricForDpi(int index, UINT dpi);
// The notification area's icon size: the small-icon width for the DPI of the monitor that holds it (16 when the
// system answers nothing).
int TrayIconSizeForDpi(UINT dpi);
int ScaleForDpi(int value, UINT dpi);
// SPI_GETNONCLIENTMETRICS for a DPI (SystemParametersInfoForDpi), else the system's, its fonts scaled.
void NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, UINT dpi);
// AdjustWindowRectExForDpi, or AdjustWindowRectEx where it is missing.
bool AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, UINT dpi);
// Template dialogs: the program rescales them itself (DpiScaler), so the system's own dialog scaling of newer
// Windows must not scale them a second time.
void TakeOverDialogScaling(HWND dialog);

// Rescales a window on WM_DPICHANGED: the fonts and places of its child windows by new DPI / old DPI, and the
// window itself to the rectangle the system suggests. Owns the fonts it makes.
class DpiScaler {
  public:
    // dpi: the DPI the window's layout was made for.
    void Attach(HWND window, UINT dpi);
    UINT Dpi() const { return dpi_; }
    // WM_DPICHANGED: wParam carries the new DPI, lParam the suggested rectangle.
    void DpiChanged(WPARAM wParam, LPARAM lParam);
    // Rescales to newDpi; suggested may be null (the window keeps its top-left corner and grows or shrinks).
    void Rescale(UINT newDpi, const RECT* suggested);
    // A font the window itself draws with (as made for the DPI given to Attach) at the current DPI; the scaler
    // keeps it and scales it with the rest.
    HFONT ScaledFont(HFONT font);

  private:
    struct Entry {
        HFONT Original = nullptr;  // the font as the window was given it (not owned)
        LOGFONTW Base{};           // ... and its description at BaseDpi
        UINT BaseDpi = kDefaultDpi;
        UniqueFont Scaled;  // made from Base for the current DPI
    };
    HFONT FontFor(HFONT font, UINT from, UINT to);
    HWND window_ = nullptr;
    UINT dpi_ = kDefaultDpi;
    UINT firstDpi_ = kDefaultDpi;
    std::vector<Entry> fonts_;
    std::vector<UniqueFont> retired_;  // fonts the children hold until they have the new ones
};
