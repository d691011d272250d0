#include "processes/menu_painter_win.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <climits>

#include "platform/dpi_win.h"
#include "platform/text_win.h"
#include "processes/tray_menu_model.h"

namespace {
constexpr int kSeparatorHeight = 6;
constexpr int kWidthExtra = 127;  // icon column, margins and room for a figure
constexpr int kIconColumn = 26;
constexpr int kCaptionLeft = 30;
constexpr int kRightMargin = 10;
constexpr int kFigureGap = 16;  // between a long caption and its figure
constexpr int kThemedSeparatorLeft = 25;
// What a menu adds around its widest item: its borders, and the room the system adds to an owner-drawn item (a check
// mark's width on Windows, two average characters under Wine).
constexpr int kMenuFrame = 40;
// Ampersands are taken out beforehand (HidePrefix): not every DrawText honours DT_HIDEPREFIX.
constexpr UINT kMeasureFlags = DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX;
constexpr UINT kCaptionFlags = DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX;
constexpr UINT kFigureFlags = DT_RIGHT | DT_EXPANDTABS | DT_NOPREFIX;
constexpr int kObmCheck = 32760;

SIZE TextSize(HDC dc, const std::wstring& text, UINT flags = kMeasureFlags) {
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
    return {r.right - r.left, r.bottom - r.top};
}

void FillSolid(HDC dc, const RECT& r, COLORREF color) {
    UniqueBrush brush(CreateSolidBrush(color));
    FillRect(dc, &r, brush.Get());
}

void Line(HDC dc, int x1, int x2, int y, COLORREF color) {
    UniquePen pen(CreatePen(PS_SOLID, 1, color));
    SelectGuard select(dc, pen.Get());
    MoveToEx(dc, x1, y, nullptr);
    LineTo(dc, x2, y);
}
}  // namespace

// Every size below is for 96 dpi; the painter scales it to the DPI of the monitor where the menu opens.

// uxtheme.dll is loaded on first use and kept: the menu draws often while it is open.
struct MenuPainter::UxTheme {
    using OpenFn = HTHEME(WINAPI*)(HWND, LPCWSTR);
    using CloseFn = HRESULT(WINAPI*)(HTHEME);
    using DrawFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
    using ColorFn = HRESULT(WINAPI*)(HTHEME, int, int, int, COLORREF*);
    using FlagFn = BOOL(WINAPI*)();

    SystemLibrary Library{L"uxtheme.dll"};
    OpenFn Open = Library.Proc<OpenFn>("OpenThemeData");
    CloseFn Close = Library.Proc<CloseFn>("CloseThemeData");
    DrawFn Draw = Library.Proc<DrawFn>("DrawThemeBackground");
    ColorFn Color = Library.Proc<ColorFn>("GetThemeColor");
    FlagFn IsThemeActive = Library.Proc<FlagFn>("IsThemeActive");
    FlagFn IsAppThemed = Library.Proc<FlagFn>("IsAppThemed");
    bool Ready() const { return Open && Close && Draw && Color && IsThemeActive && IsAppThemed; }

    static const UxTheme& Get() {
        static UxTheme ux;
        return ux;
    }
};

MenuPainter::MenuPainter() = default;

MenuPainter::~MenuPainter() {
    Reset();
}

void MenuPainter::Reset() {
    if (theme_)
        UxTheme::Get().Close(static_cast<HTHEME>(theme_));
    theme_ = nullptr;
    themeOpened_ = false;
    font_.Reset();
    boldFont_.Reset();
}

void* MenuPainter::Theme() {
    if (!themeOpened_) {
        themeOpened_ = true;
        const UxTheme& ux = UxTheme::Get();
        if (ux.Ready())
            theme_ = ux.Open(window_, L"MENU");
    }
    return theme_;
}

bool MenuPainter::Themed() {
    if (forceClassic_)
        return false;
    const UxTheme& ux = UxTheme::Get();
    return ux.Ready() && ux.IsThemeActive() && ux.IsAppThemed() && Theme();
}

void MenuPainter::DrawThemePart(HDC dc, int part, int state, const RECT& rect) {
    UxTheme::Get().Draw(static_cast<HTHEME>(Theme()), dc, part, state, &rect, nullptr);
}

bool MenuPainter::SetDpi(UINT dpi) {
    if (dpi == 0 || dpi == dpi_)
        return false;
    dpi_ = dpi;
    font_.Reset();
    boldFont_.Reset();
    lastMenuTextHeight_ = 0;
    return true;
}

int MenuPainter::Scaled(int value) const {
    return ScaleForDpi(value, dpi_);
}

HFONT MenuPainter::Font(bool bold) {
    if (!font_) {
        NONCLIENTMETRICSW metrics{};
        NonClientMetricsForDpi(metrics, dpi_);
        LOGFONTW lf = metrics.lfMenuFont;
        font_.Reset(CreateFontIndirectW(&lf));
        lf.lfWeight = FW_BOLD;
        boldFont_.Reset(CreateFontIndirectW(&lf));
    }
    return bold ? boldFont_.Get() : font_.Get();
}

void MenuPainter::MeasureItem(const MenuItemEx& item,
                              const std::string& text,
                              bool isDefault,
                              UINT& width,
                              UINT& height) {
    if (item.Caption == "-") {
        height = static_cast<UINT>(Scaled(kSeparatorHeight));
        return;
    }
    WindowDc screen(nullptr);
    SelectGuard font(screen.Get(), Font(isDefault));
    CaptionParts parts = SplitShortcut(text);
    // Besides its caption a row takes the icon column, the margins and room for a figure; a figure or shortcut wider
    // than that room still stands clear of the caption.
    int others = Scaled(kWidthExtra);
    const std::string& figure = parts.Shortcut.empty() ? item.MemText : parts.Shortcut;
    if (!figure.empty()) {
        const int figureWidth = static_cast<int>(TextSize(screen.Get(), Widen(HidePrefix(figure))).cx);
        others = std::max(others, Scaled(kCaptionLeft) + Scaled(kFigureGap) + figureWidth + Scaled(kRightMargin));
    }
    const std::wstring caption = ShownCaption(screen.Get(), parts.Caption, MaxItemWidth() - others);
    width = static_cast<UINT>(TextSize(screen.Get(), caption).cx + others);
    SIZE aa{};
    GetTextExtentPoint32W(screen.Get(), L"AA", 2, &aa);
    lastMenuTextHeight_ = aa.cy;
    height = static_cast<UINT>(lastMenuTextHeight_ + Scaled(7));
}

void MenuPainter::DrawCheck(HDC dc, const RECT& r, int y, bool themed, bool enabled) {
    if (themed) {
        RECT area{r.left, r.top, r.left + Scaled(24), r.bottom};
        DrawThemePart(dc, MENU_POPUPCHECKBACKGROUND, enabled ? MCB_NORMAL : MCB_DISABLED, area);
        DrawThemePart(dc, MENU_POPUPCHECK, enabled ? MC_CHECKMARKNORMAL : MC_CHECKMARKDISABLED, area);
        return;
    }
    UniqueBitmap check(LoadBitmapW(nullptr, MAKEINTRESOURCEW(kObmCheck)));
    BITMAP info{};
    if (!check || !GetObjectW(check.Get(), sizeof info, &info))
        return;
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    SelectGuard select(source.Get(), check.Get());
    // The monochrome mark: its white stays out (AND with white), its black strokes come through black.
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, r.left + info.bmWidth / 2 + 1, y, info.bmWidth, info.bmHeight, source.Get(), 0, 0, SRCAND);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

void MenuPainter::DrawItem(HDC dc,
                           const RECT& rect,
                           const MenuItemEx& item,
                           const std::string& text,
                           MenuItemState state,
                           const MenuDrawContext& context) {
    const RECT r = rect;
    const int left = r.left, top = r.top, right = r.right, bottom = r.bottom;
    const bool themed = Themed();
    const bool highlighted = item.Tag == kTagProcessRow && item.Highlight;

    if (themed)
        DrawThemePart(dc, MENU_POPUPBACKGROUND, 1, r);
    if (highlighted)
        FillSolid(dc, r, context.Highlight);
    if (themed) {
        // A heavy process keeps its colour under the icon: the gutter shrinks to its one-pixel edge.
        RECT gutter{highlighted ? left + Scaled(kIconColumn) - 1 : left, top, left + Scaled(kIconColumn), bottom};
        DrawThemePart(dc, MENU_POPUPGUTTER, state.Selected ? 2 : 1, gutter);
    }

    if (item.Caption == "-") {
        const int m = (top + bottom) / 2;
        if (themed) {
            RECT line{left + Scaled(kThemedSeparatorLeft), top, right, bottom};
            DrawThemePart(dc, MENU_POPUPSEPARATOR, 1, line);
        } else {
            Line(dc, left + 2, right - 2, m, GetSysColor(COLOR_BTNSHADOW));
            Line(dc, left + 2, right - 2, m + 1, GetSysColor(COLOR_BTNHIGHLIGHT));
        }
        return;
    }

    COLORREF textColor;
    const bool hot = state.Selected && state.Enabled;
    if (themed) {
        if (hot) {
            DrawThemePart(dc, MENU_POPUPITEM, MPI_HOT, r);
            textColor = GetSysColor(COLOR_MENUTEXT);
            UxTheme::Get().Color(static_cast<HTHEME>(Theme()), MENU_POPUPITEM, MPI_HOT, TMT_TEXTCOLOR, &textColor);
        } else {
            // Memory rows cannot be clicked but are read like any other text.
            textColor = GetSysColor(state.Enabled || item.Tag == kTagMemoryRow ? COLOR_MENUTEXT : COLOR_BTNSHADOW);
        }
    } else {
        COLORREF brush;
        if (hot) {
            brush = GetSysColor(COLOR_HIGHLIGHT);
            textColor = GetSysColor(COLOR_HIGHLIGHTTEXT);
        } else {
            brush = highlighted ? context.Highlight : GetSysColor(COLOR_MENU);
            textColor = GetSysColor(state.Enabled ? COLOR_MENUTEXT : COLOR_BTNSHADOW);
        }
        FillSolid(dc, r, brush);
    }

    const int iconSize = SystemMetricForDpi(SM_CXSMICON, dpi_);
    const int y = (top + bottom - iconSize) / 2;
    HICON icon = nullptr;
    if (item.Tag == kTagProcessRow)
        icon = item.NoIcon ? context.DefaultProgramIcon : item.IconHandle.Get();
    else if (item.Tag == kTagTaskManager)
        icon = context.TaskManagerIcon;
    if (icon)
        DrawIconEx(dc, left + Scaled(4), y, icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);

    if (state.Checked)
        DrawCheck(dc, r, y, themed, state.Enabled);

    SelectGuard font(dc, Font(state.Default));
    if (lastMenuTextHeight_ == 0) {
        SIZE aa{};
        GetTextExtentPoint32W(dc, L"AA", 2, &aa);
        lastMenuTextHeight_ = aa.cy;
    }
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, textColor);
    const int textHeight = lastMenuTextHeight_ < 0 ? -lastMenuTextHeight_ : lastMenuTextHeight_;
    RECT textRect{left + Scaled(kCaptionLeft), (top + bottom - textHeight) / 2, right, bottom};
    CaptionParts parts = SplitShortcut(text);
    const bool showsMemText = (item.Tag == kTagProcessRow || item.Tag == kTagMemoryRow) && !item.MemText.empty();
    // The caption ends short of the figures: a row measured with a cut caption gets the same cut here.
    int captionRight = right;
    const std::string* figures[] = {showsMemText ? &item.MemText : nullptr, &parts.Shortcut};
    for (const std::string* figure : figures) {
        if (figure && !figure->empty()) {
            const int figureWidth = static_cast<int>(TextSize(dc, Widen(HidePrefix(*figure))).cx);
            captionRight = std::min(captionRight, right - Scaled(kRightMargin) - figureWidth - Scaled(kFigureGap));
        }
    }
    std::wstring caption = ShownCaption(dc, parts.Caption, captionRight - textRect.left);
    // With keyboard cues a caption shown whole is drawn as it is, ampersands and all: DrawText underlines the key.
    const bool underline = state.ShowAccessKeys && caption == Widen(HidePrefix(parts.Caption));
    if (underline)
        caption = Widen(parts.Caption);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
              underline ? kCaptionFlags & ~static_cast<UINT>(DT_NOPREFIX) : kCaptionFlags);

    auto drawRight = [&](const std::string& figureText) {
        std::wstring figure = Widen(HidePrefix(figureText));
        int w = TextSize(dc, figure).cx;
        RECT figureRect{right - Scaled(kRightMargin) - w, textRect.top, right - Scaled(kRightMargin), bottom};
        DrawTextW(dc, figure.c_str(), static_cast<int>(figure.size()), &figureRect, kFigureFlags);
    };
    if (showsMemText)
        drawRight(item.MemText);
    if (!parts.Shortcut.empty())
        drawRight(parts.Shortcut);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}

bool MenuPainter::SetWorkAreaWidth(int width) {
    if (width == workAreaWidth_)
        return false;
    workAreaWidth_ = width;
    return true;
}

int MenuPainter::MaxItemWidth() const {
    return workAreaWidth_ > 0 ? workAreaWidth_ - Scaled(kMenuFrame) : INT_MAX / 2;
}

std::wstring MenuPainter::ShownCaption(HDC dc, const std::string& caption, int room) {
    return Widen(
        FitCaption(HidePrefix(caption), room, [dc](const std::string& text) { return TextSize(dc, Widen(text)).cx; }));
}
