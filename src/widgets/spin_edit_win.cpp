#include "widgets/spin_edit_win.h"
#include "platform/common_controls_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "platform/text_win.h"
#include "settings/profile.h"
#include "widgets/control_text_win.h"

namespace {
constexpr UINT_PTR kSubclassId = 0x5350;  // "SP"

bool IsWholeDecimal(const std::string& text) {
    size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    if (i == text.size())
        return false;
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(i), text.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}
}  // namespace

SpinEdit::~SpinEdit() {
    if (edit_ && IsWindow(edit_))
        UnsubclassControl(edit_, EditProc, kSubclassId);
}

void SpinEdit::Attach(HWND edit, int minValue, int maxValue, int increment, bool editorEnabled) {
    edit_ = edit;
    min_ = minValue;
    max_ = maxValue;
    editorEnabled_ = editorEnabled;
    upDown_ = CreateWindowExW(
        0, UPDOWN_CLASSW, L"",
        WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS | UDS_HOTTRACK, 0, 0,
        0, 0, GetParent(edit), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(upDown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    UDACCEL accel{0, static_cast<UINT>(std::max(increment, 1))};
    SendMessageW(upDown_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    ApplyRange();
    SubclassControl(edit, EditProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void SpinEdit::ApplyRange() {
    if (upDown_)
        SendMessageW(upDown_, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
}

std::optional<int> SpinEdit::TryValue() const {
    std::string text = GetControlText(edit_);
    return IsWholeDecimal(text) ? ParseInteger(text) : std::nullopt;
}

int SpinEdit::Value() {
    auto value = TryValue();
    if (!value) {
        SetValue(min_);
        return min_;
    }
    return *value;
}

void SpinEdit::SetValue(int value) {
    SetWindowTextW(edit_, Widen(std::to_string(value)).c_str());
}

void SpinEdit::SetMinValue(int value) {
    min_ = value;
    ApplyRange();
}

void SpinEdit::SetMaxValue(int value) {
    max_ = value;
    ApplyRange();
}

void SpinEdit::SetEnabled(bool enabled) {
    EnableWindow(edit_, enabled);
    if (upDown_)
        EnableWindow(upDown_, enabled);
}

bool SpinEdit::AcceptsChar(wchar_t c) const {
    if (!editorEnabled_)
        return false;
    if (c < L' ')
        return c == L'\b' || c == 0x03 || c == 0x16 || c == 0x18 || c == 0x01;  // Backspace, Ctrl+C/V/X/A
    return (c >= L'0' && c <= L'9') || (c == L'-' && min_ < 0);
}

// An emptied field stays empty while the user types on; leaving it makes it the minimum.
void SpinEdit::BringIntoRange(bool leaving) {
    auto value = TryValue();
    if (!value) {
        if (leaving || GetWindowTextLengthW(edit_) > 0)
            SetValue(min_);
        return;
    }
    int clamped = std::clamp(*value, min_, max_);
    if (clamped != *value)
        SetValue(clamped);
}

LRESULT CALLBACK SpinEdit::EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<SpinEdit*>(data);
    switch (msg) {
        case WM_CHAR:
            if (!self->AcceptsChar(static_cast<wchar_t>(wParam))) {
                if (static_cast<wchar_t>(wParam) >= L' ')
                    MessageBeep(MB_OK);
                return 0;
            }
            break;
        case WM_KEYDOWN:
            if (!self->editorEnabled_ && wParam == VK_DELETE)
                return 0;
            break;
        case WM_PASTE:
        case WM_CUT:
        case WM_CLEAR:
            if (!self->editorEnabled_)
                return 0;
            break;
        case WM_KEYUP:
        case WM_KILLFOCUS: {
            LRESULT r = DefaultSubclassProc(hwnd, msg, wParam, lParam);
            self->BringIntoRange(msg == WM_KILLFOCUS);
            return r;
        }
        case WM_NCDESTROY:
            UnsubclassControl(hwnd, EditProc, kSubclassId);
            self->edit_ = nullptr;
            break;
        default:
            break;
    }
    return DefaultSubclassProc(hwnd, msg, wParam, lParam);
}
