#include "widgets/text_fit_win.h"

#include <string>

#include "platform/dpi_win.h"
#include "platform/unique_handle_win.h"

namespace {
enum class FitKind { Fixed, Label, Box, Button };

FitKind KindOf(HWND control) {
    wchar_t name[32] = {};
    GetClassNameW(control, name, 32);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (_wcsicmp(name, L"Static") == 0) {
        // Left-aligned texts only: centred and right-aligned ones (a sunken preview panel) keep their box.
        const LONG type = style & SS_TYPEMASK;
        return type == SS_LEFT || type == SS_LEFTNOWORDWRAP ? FitKind::Label : FitKind::Fixed;
    }
    if (_wcsicmp(name, L"Button") == 0) {
        switch (style & BS_TYPEMASK) {
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON:
            case BS_3STATE:
            case BS_AUTO3STATE:
                return FitKind::Box;
            case BS_PUSHBUTTON:
            case BS_DEFPUSHBUTTON:
                return FitKind::Button;
            default:
                return FitKind::Fixed;
        }
    }
    return FitKind::Fixed;
}

// One line of the control's text in its font, with the access key's ampersand taken out as the control does.
int TextWidth(HWND control, FitKind kind) {
    const int length = GetWindowTextLengthW(control);
    if (length <= 0)
        return 0;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
    WindowDc dc(control);
    SelectGuard font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{};
    const UINT prefix =
        (kind == FitKind::Label && (GetWindowLongW(control, GWL_STYLE) & SS_NOPREFIX)) ? DT_NOPREFIX : 0;
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | prefix);
    return r.right - r.left;
}
}  // namespace

void TextFitLayout::Capture(HWND page, UINT dpi) {
    page_ = page;
    dpi_ = dpi;
    controls_.clear();
    places_.clear();
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, page, reinterpret_cast<POINT*>(&r), 2);
        controls_.push_back(child);
        places_.push_back({r.left, r.top, r.right, r.bottom});
    }
}

// The room around a text: a check box draws its box and a gap before it; a push button needs its edges and room for
// the focus rectangle inside them; a label one pixel, so a text measured at its own width never wraps.
void TextFitLayout::Fit(UINT dpi, bool shrinks) {
    if (!page_ || controls_.empty())
        return;
    auto scale = [&](int v) { return MulDiv(v, static_cast<int>(dpi), static_cast<int>(dpi_)); };
    std::vector<RowFitControl> controls = places_;
    for (size_t i = 0; i < controls.size(); ++i) {
        RowFitControl& c = controls[i];
        c = {scale(c.Left), scale(c.Top), scale(c.Right), scale(c.Bottom)};
        const FitKind kind = KindOf(controls_[i]);
        if (kind == FitKind::Fixed)
            continue;
        const int text = TextWidth(controls_[i], kind);
        switch (kind) {
            case FitKind::Box:
                c.Wanted = text + ScaleForDpi(12, dpi) + 1 + ScaleForDpi(4, dpi) + ScaleForDpi(1, dpi);
                c.Shrinks = shrinks;
                break;
            case FitKind::Button:
                c.Wanted = text + 2 * ScaleForDpi(8, dpi);  // buttons never shrink below the template's width
                break;
            default:
                c.Wanted = text + ScaleForDpi(1, dpi);
                c.Shrinks = shrinks;
                break;
        }
    }
    FitRowsToText(controls);
    for (size_t i = 0; i < controls.size(); ++i) {
        const RowFitControl& c = controls[i];
        RECT now{};
        GetWindowRect(controls_[i], &now);
        MapWindowPoints(HWND_DESKTOP, page_, reinterpret_cast<POINT*>(&now), 2);
        // A control of its own width only moves: a combo box's window is its closed height, and sizing it to that
        // would leave its list no room to drop down.
        const bool moveOnly = c.Wanted < 0;
        if (now.left != c.Left || now.top != c.Top || (!moveOnly && (now.right != c.Right || now.bottom != c.Bottom))) {
            SetWindowPos(controls_[i], nullptr, c.Left, c.Top, c.Right - c.Left, c.Bottom - c.Top,
                         SWP_NOZORDER | SWP_NOACTIVATE | (moveOnly ? SWP_NOSIZE : 0));
        }
    }
}
