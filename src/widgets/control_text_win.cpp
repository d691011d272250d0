#include "widgets/control_text_win.h"

#include "platform/text_win.h"
#include "platform/unique_handle_win.h"

namespace {
std::string ItemText(HWND control, UINT lengthMessage, UINT textMessage, int index) {
    LRESULT n = SendMessageW(control, lengthMessage, static_cast<WPARAM>(index), 0);
    if (n < 0)
        return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    LRESULT got = SendMessageW(control, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got < 0 ? 0 : static_cast<size_t>(got));
    return Narrow(text);
}
}  // namespace

std::string GetControlText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
    n = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return Narrow(text);
}

void SetControlText(HWND hwnd, const std::string& text) {
    SetWindowTextW(hwnd, Widen(text).c_str());
}

std::string ComboItemText(HWND combo, int index) {
    return ItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

std::string ListItemText(HWND listBox, int index) {
    return ItemText(listBox, LB_GETTEXTLEN, LB_GETTEXT, index);
}

int DialogTextHeight(HWND control) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(GetParent(control), WM_GETFONT, 0, 0));
    WindowDc dc(control);
    SelectGuard select(dc.Get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.Get(), &tm);
    return tm.tmHeight;
}
