#include "platform/dpi_win.h"

#include "platform/system_library_win.h"

namespace {
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using SetDialogDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kMdtEffectiveDpi = 0;
constexpr int kDdcDisableAll = 1;

// user32 is loaded in every GUI process; its newer functions are looked up once.
template <typename F>
F User32Proc(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// shcore (Windows 8.1 and later) stays loaded for the program's life once asked for.
GetDpiForMonitorFn GetDpiForMonitorProc() {
    static const SystemLibrary shcore(L"shcore.dll");
    static const auto proc = shcore.Proc<GetDpiForMonitorFn>("GetDpiForMonitor");
    return proc;
}

UINT ValidDpi(UINT dpi) {
    return dpi == 0 ? SystemDpi() : dpi;
}
}  // namespace

UINT SystemDpi() {
    static const auto forSystem = User32Proc<GetDpiForSystemFn>("GetDpiForSystem");
    if (forSystem) {
        if (UINT dpi = forSystem())
            return dpi;
    }
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT WindowDpi(HWND window) {
    static const auto forWindow = User32Proc<GetDpiForWindowFn>("GetDpiForWindow");
    if (forWindow && window)
        return ValidDpi(forWindow(window));
    return SystemDpi();
}

UINT MonitorDpi(HMONITOR monitor) {
    GetDpiForMonitorFn forMonitor = GetDpiForMonitorProc();
    UINT x = 0, y = 0;
    if (forMonitor && monitor && SUCCEEDED(forMonitor(monitor, kMdtEffectiveDpi, &x, &y)))
        return ValidDpi(y);
    return SystemDpi();
}

UINT PrimaryMonitorDpi() {
    return MonitorDpi(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

UINT PointDpi(POINT point) {
    return MonitorDpi(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST));
}

RECT PointWorkArea(POINT point) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    return info.rcWork;
}

int SystemMetricForDpi(int index, UINT dpi) {
    static const auto forDpi = User32Proc<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi)
        return forDpi(index, dpi);
    return GetSystemMetrics(index);
}

int TrayIconSizeForDpi(UINT dpi) {
    int size = SystemMetricForDpi(SM_CXSMICON, dpi);
    return size > 0 ? size : 16;
}

int ScaleForDpi(int value, UINT dpi) {
    return MulDiv(value, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}

void NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, UINT dpi) {
    using ForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto forDpi = User32Proc<ForDpiFn>("SystemParametersInfoForDpi");
    metrics = NONCLIENTMETRICSW{};
    metrics.cbSize = sizeof metrics;
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        return;
    metrics = NONCLIENTMETRICSW{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const UINT system = SystemDpi();
    if (dpi == system)
        return;
    for (LOGFONTW* f : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont, &metrics.lfStatusFont,
                        &metrics.lfMessageFont})
        f->lfHeight = MulDiv(f->lfHeight, static_cast<int>(dpi), static_cast<int>(system));
}

bool AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, UINT dpi) {
    static const auto forDpi = User32Proc<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    if (forDpi)
        return forDpi(&rect, style, menu, exStyle, dpi) != FALSE;
    return AdjustWindowRectEx(&rect, style, menu, exStyle) != FALSE;
}

void TakeOverDialogScaling(HWND dialog) {
    static const auto behavior = User32Proc<SetDialogDpiChangeBehaviorFn>("SetDialogDpiChangeBehavior");
    if (behavior && dialog)
        behavior(dialog, kDdcDisableAll, kDdcDisableAll);
}

void DpiScaler::Attach(HWND window, UINT dpi) {
    window_ = window;
    dpi_ = ValidDpi(dpi);
    firstDpi_ = dpi_;
}

void DpiScaler::DpiChanged(WPARAM wParam, LPARAM lParam) {
    Rescale(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
}

HFONT DpiScaler::FontFor(HFONT original, UINT from, UINT to) {
    for (Entry& e : fonts_) {
        if (e.Original == original || e.Scaled.Get() == original) {
            LOGFONTW lf = e.Base;
            lf.lfHeight = MulDiv(lf.lfHeight, static_cast<int>(to), static_cast<int>(e.BaseDpi));
            retired_.push_back(std::move(e.Scaled));
            e.Scaled.Reset(CreateFontIndirectW(&lf));
            return e.Scaled.Get();
        }
    }
    Entry e;
    e.Original = original;
    if (GetObjectW(original, sizeof e.Base, &e.Base) != sizeof e.Base)
        return nullptr;
    e.BaseDpi = from;
    LOGFONTW lf = e.Base;
    lf.lfHeight = MulDiv(lf.lfHeight, static_cast<int>(to), static_cast<int>(from));
    e.Scaled.Reset(CreateFontIndirectW(&lf));
    fonts_.push_back(std::move(e));
    return fonts_.back().Scaled.Get();
}

HFONT DpiScaler::ScaledFont(HFONT font) {
    if (!font)
        return nullptr;
    for (const Entry& e : fonts_) {
        if (e.Original == font || e.Scaled.Get() == font)
            return e.Scaled ? e.Scaled.Get() : font;
    }
    if (dpi_ == firstDpi_)
        return font;
    // A font first asked for after a change: made for the current DPI from its size at the first DPI.
    return FontFor(font, firstDpi_, dpi_);
}

void DpiScaler::Rescale(UINT newDpi, const RECT* suggested) {
    newDpi = ValidDpi(newDpi);
    if (!window_ || newDpi == dpi_)
        return;
    const UINT oldDpi = dpi_;
    auto scale = [&](LONG v) { return MulDiv(v, static_cast<int>(newDpi), static_cast<int>(oldDpi)); };
    RECT client{};
    GetClientRect(window_, &client);

    // Every font in use is made anew once for the new DPI, whichever children share it.
    std::vector<std::pair<HFONT, HFONT>> made;
    auto scaledFontOf = [&](HFONT font) -> HFONT {
        for (auto& m : made) {
            if (m.first == font)
                return m.second;
        }
        HFONT f = FontFor(font, oldDpi, newDpi);
        made.emplace_back(font, f);
        return f;
    };
    // Fonts made before follow first (also those the window draws with itself); a child may hold the original or
    // the last scaled one.
    for (size_t i = 0; i < fonts_.size(); ++i) {
        HFONT original = fonts_[i].Original;
        HFONT previous = fonts_[i].Scaled.Get();
        HFONT f = FontFor(original, oldDpi, newDpi);
        made.emplace_back(original, f);
        if (previous)
            made.emplace_back(previous, f);
    }

    // Children of the window and of the pages (dialogs) inside it; the inner windows of a control (the edit of a
    // combo box) are the control's own business.
    std::vector<HWND> stack{window_};
    while (!stack.empty()) {
        HWND parent = stack.back();
        stack.pop_back();
        for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            RECT r{};
            GetWindowRect(child, &r);
            MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
            wchar_t className[16] = {};
            GetClassNameW(child, className, 16);
            if (lstrcmpiW(className, L"ComboBox") == 0) {
                // A combo box's height is that of its dropped-down list.
                RECT dropped{};
                if (SendMessageW(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)))
                    r.bottom = r.top + (dropped.bottom - dropped.top);
            }
            if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0))) {
                if (HFONT scaled = scaledFontOf(font))
                    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(scaled), FALSE);
            }
            SetWindowPos(child, nullptr, scale(r.left), scale(r.top), scale(r.right) - scale(r.left),
                         scale(r.bottom) - scale(r.top), SWP_NOZORDER | SWP_NOACTIVATE);
            const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
            if (lstrcmpW(className, L"#32770") == 0) {
                stack.push_back(child);
            } else if (lstrcmpiW(className, L"ListBox") == 0 && (style & LBS_OWNERDRAWFIXED)) {
                // Owner-drawn rows were measured once, at the old DPI.
                LRESULT h = SendMessageW(child, LB_GETITEMHEIGHT, 0, 0);
                if (h > 0)
                    SendMessageW(child, LB_SETITEMHEIGHT, 0, scale(static_cast<LONG>(h)));
            } else if (lstrcmpiW(className, L"ComboBox") == 0 && (style & CBS_OWNERDRAWFIXED)) {
                for (WPARAM part : {static_cast<WPARAM>(-1), WPARAM{0}}) {
                    LRESULT h = SendMessageW(child, CB_GETITEMHEIGHT, part, 0);
                    if (h > 0)
                        SendMessageW(child, CB_SETITEMHEIGHT, part, scale(static_cast<LONG>(h)));
                }
            }
        }
    }
    dpi_ = newDpi;

    if (suggested) {
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        RECT frame{0, 0, scale(client.right), scale(client.bottom)};
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
        const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
        AdjustWindowRectForDpi(frame, style, GetMenu(window_) != nullptr, exStyle, newDpi);
        SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    }
    InvalidateRect(window_, nullptr, TRUE);
    retired_.clear();  // no child holds these any more
}
