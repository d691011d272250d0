#include "app/history_window_win.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "memory/memory_status_win.h"
#include "platform/dib_win.h"
#include "platform/dpi_win.h"
#include "platform/place_near_taskbar_win.h"
#include "platform/system_library_win.h"
#include "platform/system_look_win.h"
#include "platform/text_win.h"
#include "platform/texts.h"

namespace {
constexpr wchar_t kClassName[] = L"LumivexMemoryHistory";
constexpr DWORD kStyle = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
constexpr int kSpanId = 100, kRowId = 200, kCopyId = 300;
constexpr UINT kCloseIfInactive = WM_USER + 1;  // this window's own

// The layout at 96 dpi, top to bottom.
constexpr int kWidth = 360, kPad = 12, kGap = 4;
constexpr int kTitleTop = 10, kTitleHeight = 28;
constexpr int kSpansTop = 44, kButtonHeight = 28;
constexpr int kGraphTop = 80, kGraphHeight = 120;
constexpr int kLineHeight = 20, kHoverTop = 204, kLegendTop = 226, kHeadingTop = 252, kSwatch = 10;
constexpr int kRowsTop = 276, kRowStep = 30, kRowHeight = 28, kSparkWidth = 72;
constexpr int kCopyTop = kRowsTop + static_cast<int>(HistoryView::kGrowers) * kRowStep + 8, kCopyWidth = 88;
constexpr int kHeight = kCopyTop + kButtonHeight + kPad;

// Windows 11's flyout colours (0x00BBGGRR): light and dark surfaces, its blue accent and an orange for the commit.
GraphPalette LightPalette() {
    return {};
}
GraphPalette DarkPalette() {
    return {0x2C2C2C, 0x404040, 0xFFC24C, 0x4D3B1F, 0x6B5229, 0x3C8CF0, 0x00B9FF, 0x5A5AFF, 0xC8C8C8};
}
// High contrast: only the colours the user chose.
GraphPalette SystemPalette() {
    const uint32_t window = GetSysColor(COLOR_WINDOW), text = GetSysColor(COLOR_WINDOWTEXT);
    return {window,
            GetSysColor(COLOR_GRAYTEXT),
            GetSysColor(COLOR_HIGHLIGHT),
            window,
            window,
            GetSysColor(COLOR_HOTLIGHT),
            text,
            text,
            text};
}

// DWMWA_USE_IMMERSIVE_DARK_MODE is 20 from Windows 10 20H1 and was 19 before; older systems have neither.
void UseDarkFrame(HWND window, bool dark) {
    using SetAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
    SystemLibrary dwmapi(L"dwmapi.dll");
    auto setAttribute = dwmapi.Proc<SetAttributeFn>("DwmSetWindowAttribute");
    BOOL on = dark;
    if (setAttribute && FAILED(setAttribute(window, 20, &on, sizeof on)))
        setAttribute(window, 19, &on, sizeof on);
}

void FillColor(HDC dc, const RECT& r, uint32_t color) {
    SetDCBrushColor(dc, color);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

HWND Child(HWND parent, const wchar_t* cls, DWORD style, int id, const std::string& text = {}) {
    return CreateWindowExW(0, cls, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ProgramInstance(), nullptr);
}

uint32_t SecondsOfDay() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wHour * 3600u + now.wMinute * 60u + now.wSecond;
}
}  // namespace

HistoryWindow::HistoryWindow(const MemoryHistory& history, ProcessGrowth& growth, const Settings& settings)
    : settings_(settings), view_(history, growth) {}

void HistoryWindow::Show() {
    if (!Hwnd()) {
        if (!CreateWindowOf(kClassName, kExStyle, kStyle, Widen(Text(TextId::HistoryTitle)).c_str(), nullptr))
            return;
        CreateChildren();
        ApplyLook();
        ApplyDpi(PrimaryMonitorDpi(), nullptr);
        ChooseSpan(view_.Span());
        PlaceNearTaskbar(Hwnd());
    }
    ShowWindow(Hwnd(), SW_SHOW);
    SetForegroundWindow(Hwnd());
    SetFocus(spans_[static_cast<size_t>(view_.Span())]);
}

void HistoryWindow::Close() {
    DestroyOwnWindow();
}

void HistoryWindow::Refresh() {
    if (Hwnd())
        Reload(view_.Span());
}

void HistoryWindow::CreateChildren() {
    title_ = Child(Hwnd(), L"STATIC", SS_NOPREFIX, 0, Text(TextId::HistoryTitle));
    for (int i = 0; i < kHistorySpanCount; ++i) {
        spans_[static_cast<size_t>(i)] = Child(Hwnd(), L"BUTTON", BS_OWNERDRAW | BS_NOTIFY | (i == 0 ? WS_GROUP : 0),
                                               kSpanId + i, Text(HistoryView::SpanName(static_cast<HistorySpan>(i))));
    }
    hover_ = Child(Hwnd(), L"STATIC", SS_NOPREFIX | WS_GROUP, 0);
    legend_[0] = Child(Hwnd(), L"STATIC", SS_NOPREFIX, 0, Text(TextId::HistoryInUse));
    legend_[1] = Child(Hwnd(), L"STATIC", SS_NOPREFIX, 0, Text(TextId::HistoryCommitted));
    heading_ = Child(Hwnd(), L"STATIC", SS_NOPREFIX, 0, Text(TextId::HistoryGrowers));
    none_ = Child(Hwnd(), L"STATIC", SS_NOPREFIX, 0, Text(TextId::HistoryNoGrowth));
    for (size_t i = 0; i < rows_.size(); ++i)
        rows_[i] =
            Child(Hwnd(), L"BUTTON", BS_OWNERDRAW | WS_TABSTOP | (i == 0 ? WS_GROUP : 0), kRowId + static_cast<int>(i));
    copy_ = Child(Hwnd(), L"BUTTON", BS_OWNERDRAW | WS_TABSTOP | WS_GROUP, kCopyId, Text(TextId::HistoryCopy));
}

void HistoryWindow::ApplyLook() {
    const bool contrast = ReadHighContrast ? ReadHighContrast() : HighContrastOn();
    // Apps are light where Windows has no such setting.
    const std::optional<bool> light = PersonalizeUsesLight(L"AppsUseLightTheme");
    look_ = contrast ? Look::HighContrast : light && !*light ? Look::Dark : Look::Light;
    switch (look_) {
        case Look::Light:
            palette_ = LightPalette();
            colors_ = {0xF9F9F9, 0x1A1A1A, 0xEBEBEB, 0x1A1A1A, palette_.LoadLine, 0xFFFFFF};
            break;
        case Look::Dark:
            palette_ = DarkPalette();
            colors_ = {0x2C2C2C, 0xFFFFFF, 0x3C3C3C, 0xFFFFFF, palette_.LoadLine, 0x000000};
            break;
        case Look::HighContrast:
            palette_ = SystemPalette();
            colors_ = {GetSysColor(COLOR_WINDOW),  GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNFACE),
                       GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_HIGHLIGHT),  GetSysColor(COLOR_HIGHLIGHTTEXT)};
            break;
    }
    background_.Reset(CreateSolidBrush(colors_.Window));
    UseDarkFrame(Hwnd(), look_ == Look::Dark);
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// Fonts are made for the DPI, the children get them before the old ones go, and the window takes its size for the
// DPI: at the rectangle the system suggests when it moved to another monitor.
void HistoryWindow::ApplyDpi(UINT dpi, const RECT* suggested) {
    dpi_ = dpi;
    NONCLIENTMETRICSW metrics{};
    NonClientMetricsForDpi(metrics, dpi);
    UniqueFont font(CreateFontIndirectW(&metrics.lfMessageFont));
    LOGFONTW title = metrics.lfMessageFont;
    title.lfHeight = title.lfHeight * 4 / 3;
    title.lfWeight = FW_SEMIBOLD;
    UniqueFont titleFont(CreateFontIndirectW(&title));
    for (HWND child = GetWindow(Hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        HFONT f = child == title_ ? titleFont.Get() : font.Get();
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
    }
    font_ = std::move(font);
    titleFont_ = std::move(titleFont);

    RECT r{0, 0, ScaleForDpi(kWidth, dpi), ScaleForDpi(kHeight, dpi)};
    AdjustWindowRectForDpi(r, kStyle, false, kExStyle, dpi);
    if (suggested)
        SetWindowPos(Hwnd(), nullptr, suggested->left, suggested->top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    else
        SetWindowPos(Hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void HistoryWindow::Layout() {
    auto s = [this](int v) { return ScaleForDpi(v, dpi_); };
    auto place = [&](HWND h, int x, int y, int w, int height) { MoveWindow(h, s(x), s(y), s(w), s(height), FALSE); };
    const int inner = kWidth - 2 * kPad, half = inner / 2, third = (inner + kGap) / kHistorySpanCount;
    place(title_, kPad, kTitleTop, inner, kTitleHeight);
    for (int i = 0; i < kHistorySpanCount; ++i)
        place(spans_[static_cast<size_t>(i)], kPad + i * third, kSpansTop, third - kGap, kButtonHeight);
    place(hover_, kPad, kHoverTop, inner, kLineHeight);
    for (int i = 0; i < 2; ++i)
        place(legend_[static_cast<size_t>(i)], kPad + i * half + kSwatch + 6, kLegendTop, half - kSwatch - 6,
              kLineHeight);
    place(heading_, kPad, kHeadingTop, inner, kLineHeight);
    place(none_, kPad, kRowsTop, inner, kRowHeight);
    for (size_t i = 0; i < rows_.size(); ++i)
        place(rows_[i], kPad, kRowsTop + static_cast<int>(i) * kRowStep, inner, kRowHeight);
    place(copy_, kWidth - kPad - kCopyWidth, kCopyTop, kCopyWidth, kButtonHeight);
}

RECT HistoryWindow::GraphRect() const {
    return {ScaleForDpi(kPad, dpi_), ScaleForDpi(kGraphTop, dpi_), ScaleForDpi(kWidth - kPad, dpi_),
            ScaleForDpi(kGraphTop + kGraphHeight, dpi_)};
}

// Only the chosen span's button is a tab stop: Tab reaches the spans there, and the arrows (which move the focus
// within the group) choose another.
void HistoryWindow::ChooseSpan(HistorySpan span) {
    for (size_t i = 0; i < spans_.size(); ++i) {
        LONG_PTR style = GetWindowLongPtrW(spans_[i], GWL_STYLE) & ~LONG_PTR{WS_TABSTOP};
        SetWindowLongPtrW(spans_[i], GWL_STYLE, style | (i == static_cast<size_t>(span) ? WS_TABSTOP : 0));
        InvalidateRect(spans_[i], nullptr, FALSE);
    }
    Reload(span);
}

void HistoryWindow::Reload(HistorySpan span) {
    view_.Load(span);
    const NumberSeparators separators = UserNumberSeparators();
    for (size_t i = 0; i < rows_.size(); ++i) {
        const bool shown = i < view_.GrowerCount();
        if (shown) {
            const std::string text(view_.Grower(i).ExeName);
            SetWindowTextW(rows_[i], Widen(text + "\t" + view_.GrowthText(i, separators)).c_str());
        }
        ShowWindow(rows_[i], shown ? SW_SHOWNA : SW_HIDE);
        InvalidateRect(rows_[i], nullptr, FALSE);
    }
    ShowWindow(none_, view_.GrowerCount() == 0 ? SW_SHOWNA : SW_HIDE);
    ShowHoverText();
}

// Without the mouse over the graph the line reads the newest figures.
void HistoryWindow::ShowHoverText() {
    RECT g = GraphRect();
    const int width = g.right - g.left;
    const std::string text = view_.HoverText(hoverX_ >= 0 ? hoverX_ : width - 1, width, SecondsOfDay());
    SetWindowTextW(hover_, Widen(text).c_str());
    InvalidateRect(Hwnd(), &g, FALSE);
}

namespace {
// The canvas at (x, y) through a DIB of its pixels; scratch keeps the converted pixels between paints.
void Blit(HDC dc, int x, int y, const Canvas& canvas, std::vector<uint32_t>& scratch) {
    scratch.resize(canvas.Pixels.size());
    std::transform(canvas.Pixels.begin(), canvas.Pixels.end(), scratch.begin(), SwapRedBlue);
    BITMAPINFO info = TopDownDibInfo(canvas.Width, canvas.Height);
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(canvas.Width), static_cast<DWORD>(canvas.Height), 0, 0, 0,
                      static_cast<UINT>(canvas.Height), scratch.data(), &info, DIB_RGB_COLORS);
}
}  // namespace

void HistoryWindow::PaintGraph(HDC dc) {
    RECT g = GraphRect();
    Canvas canvas(g.right - g.left, g.bottom - g.top);
    GraphLayout layout;
    layout.SpanMs = view_.SpanMs();
    layout.YellowPercent = settings_.YellowPercent;
    layout.RedPercent = settings_.RedPercent;
    layout.LineWidth = std::max(1, ScaleForDpi(1, dpi_));
    layout.GridColumns = view_.Span() == HistorySpan::TenMinutes ? 10 : view_.Span() == HistorySpan::Hour ? 6 : 8;
    layout.HoverX = hoverX_;
    layout.Band = view_.Span() == HistorySpan::Day;
    DrawHistoryGraph(canvas, view_.Points().data(), view_.Points().size(), layout, palette_);
    Blit(dc, g.left, g.top, canvas, bits_);
}

void HistoryWindow::PaintLegend(HDC dc) {
    const int size = ScaleForDpi(kSwatch, dpi_), half = (kWidth - 2 * kPad) / 2;
    const uint32_t colors[] = {palette_.LoadLine, palette_.CommitLine};
    for (int i = 0; i < 2; ++i) {
        const int left = ScaleForDpi(kPad + i * half, dpi_);
        const int top = ScaleForDpi(kLegendTop, dpi_) + (ScaleForDpi(kLineHeight, dpi_) - size) / 2;
        FillColor(dc, RECT{left, top, left + size, top + size}, colors[i]);
    }
}

void HistoryWindow::DrawButton(const DRAWITEMSTRUCT& item) {
    const int id = static_cast<int>(item.CtlID);
    if (id >= kRowId && id < kRowId + static_cast<int>(rows_.size())) {
        DrawGrowerRow(item, static_cast<size_t>(id - kRowId));
        return;
    }
    const bool chosen = id == kSpanId + static_cast<int>(view_.Span());
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    FillColor(item.hDC, item.rcItem, chosen || pressed ? colors_.Selected : colors_.Button);
    wchar_t text[64] = {};
    GetWindowTextW(item.hwndItem, text, 64);
    RECT r = item.rcItem;
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, chosen || pressed ? colors_.SelectedText : colors_.ButtonText);
    DrawTextW(item.hDC, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        InflateRect(&r, -ScaleForDpi(3, dpi_), -ScaleForDpi(3, dpi_));
        DrawFocusRect(item.hDC, &r);
    }
}

// Name, growth and the sparkline of the span's readings, left to right; the row's text holds the first two.
void HistoryWindow::DrawGrowerRow(const DRAWITEMSTRUCT& item, size_t row) {
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const uint32_t fill = pressed ? colors_.Button : colors_.Window;
    FillColor(item.hDC, item.rcItem, fill);
    if (row >= view_.GrowerCount())
        return;
    wchar_t text[300] = {};
    GetWindowTextW(item.hwndItem, text, 300);
    wchar_t* tab = wcschr(text, L'\t');
    const wchar_t* growth = tab ? (*tab = 0, tab + 1) : L"";
    const int spark = ScaleForDpi(kSparkWidth, dpi_), pad = ScaleForDpi(kGap, dpi_);
    RECT r = item.rcItem;
    const int nameRight = r.left + (r.right - r.left) * 9 / 20;
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, colors_.Text);
    RECT name{r.left + pad, r.top, nameRight, r.bottom};
    DrawTextW(item.hDC, text, -1, &name, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    RECT amount{nameRight + pad, r.top, r.right - spark - 2 * pad, r.bottom};
    DrawTextW(item.hDC, growth, -1, &amount, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);

    std::array<uint64_t, ProcessGrowth::kMaxReadings> readings;
    size_t count = view_.GrowerReadings(row, readings.data(), readings.size());
    Canvas canvas(spark, (r.bottom - r.top) - 2 * pad);
    DrawSparkline(canvas, readings.data(), count, fill, palette_.LoadLine);
    Blit(item.hDC, r.right - spark - pad, r.top + pad, canvas, bits_);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(item.hDC, &r);
}

void HistoryWindow::CopyCsv() {
    const std::wstring csv = Widen(view_.Csv());
    const size_t bytes = (csv.size() + 1) * sizeof(wchar_t);
    UniqueGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    void* locked = memory ? GlobalLock(memory.Get()) : nullptr;
    if (!locked)
        return;
    std::memcpy(locked, csv.c_str(), bytes);
    GlobalUnlock(memory.Get());
    if (!OpenClipboard(Hwnd()))
        return;
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, memory.Get()))
        memory.Release();  // the clipboard owns it now
    CloseClipboard();
}

void HistoryWindow::OnCommand(int id, int code) {
    if (id == IDCANCEL) {
        Close();
    } else if (id >= kSpanId && id < kSpanId + kHistorySpanCount && (code == BN_CLICKED || code == BN_SETFOCUS)) {
        if (static_cast<HistorySpan>(id - kSpanId) != view_.Span())
            ChooseSpan(static_cast<HistorySpan>(id - kSpanId));
    } else if (id >= kRowId && id < kRowId + static_cast<int>(rows_.size()) && code == BN_CLICKED) {
        const size_t row = static_cast<size_t>(id - kRowId);
        if (row < view_.GrowerCount() && OnProcessChosen) {
            // The handler may open a dialog, which closes this window: it gets a copy.
            const std::string name(view_.Grower(row).ExeName);
            ProcessGrowthEntry entry = view_.Grower(row);
            entry.ExeName = name;
            OnProcessChosen(entry);
        }
    } else if (id == kCopyId && code == BN_CLICKED) {
        CopyCsv();
    }
}

LRESULT HistoryWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(Hwnd(), &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, background_.Get());
            return 1;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Hwnd(), &ps);
            PaintGraph(dc);
            PaintLegend(dc);
            EndPaint(Hwnd(), &ps);
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, colors_.Text);
            SetBkColor(dc, colors_.Window);
            return reinterpret_cast<LRESULT>(background_.Get());
        }
        case WM_DRAWITEM:
            DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NEXTDLGCTL: {
            // IsDialogMessage moves the focus through this message, which only a dialog's own procedure acts on.
            HWND next =
                LOWORD(lParam) ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(Hwnd(), GetFocus(), wParam != 0);
            if (next)
                SetFocus(next);
            return 0;
        }
        case WM_MOUSEMOVE: {
            const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const RECT g = GraphRect();
            const int x = PtInRect(&g, p) ? p.x - g.left : -1;
            if (!tracking_) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Hwnd(), 0};
                tracking_ = TrackMouseEvent(&track) != FALSE;
            }
            if (x != hoverX_) {
                hoverX_ = x;
                ShowHoverText();
            }
            return 0;
        }
        case WM_MOUSELEAVE:
            tracking_ = false;
            hoverX_ = -1;
            ShowHoverText();
            return 0;
        case WM_ACTIVATE:
            // Like the notification area's own flyouts, it goes when the user turns to another window: once the
            // activation has settled, so a Show() that brings it straight back (a click on the tray icon) keeps it.
            if (LOWORD(wParam) == WA_INACTIVE)
                PostMessageW(Hwnd(), kCloseIfInactive, 0, 0);
            break;
        case kCloseIfInactive:
            if (GetActiveWindow() != Hwnd())
                Close();
            return 0;
        case WM_CLOSE:
            Close();
            return 0;
        case WM_DPICHANGED:
            ApplyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
            ApplyLook();
            break;
        case WM_DESTROY:
            title_ = hover_ = heading_ = none_ = copy_ = nullptr;
            spans_.fill(nullptr);
            legend_.fill(nullptr);
            rows_.fill(nullptr);
            hoverX_ = -1;
            tracking_ = false;
            break;
        default:
            break;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}
