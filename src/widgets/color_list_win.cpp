#include "widgets/color_list_win.h"

#include "platform/text_win.h"
#include "platform/unique_handle_win.h"
#include "settings/themes.h"
#include "widgets/color_combo_win.h"
#include "widgets/control_text_win.h"

namespace {
constexpr int kSwatchWidth = 28;
}

void ColorTextListBox::Attach(HWND listBox) {
    list_ = listBox;
    SendMessageW(listBox, LB_SETITEMHEIGHT, 0, DialogTextHeight(listBox) + 6);
}

void ColorTextListBox::Clear() {
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    texts_.clear();
    automatic_.clear();
}

void ColorTextListBox::Add(const std::string& label, const std::string& text, ColorValue automatic) {
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(label).c_str()));
    texts_.push_back(text);
    automatic_.push_back(automatic);
}

std::string ColorTextListBox::Label(int index) const {
    return ListItemText(list_, index);
}

void ColorTextListBox::SetText(int index, const std::string& text) {
    texts_.at(static_cast<size_t>(index)) = text;
    RECT r{};
    if (SendMessageW(list_, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) != LB_ERR) {
        InvalidateRect(list_, &r, TRUE);
    }
}

int ColorTextListBox::ItemIndex() const {
    return static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0));
}

void ColorTextListBox::SetItemIndex(int index) {
    SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ColorTextListBox::DrawItem(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= texts_.size())
        return;
    const std::string& text = texts_[item.itemID];

    // Automatic shows the element's own colour, hatched so that it reads as "not chosen".
    RECT swatch{r.right - kSwatchWidth - 3, r.top + 3, r.right - 3, r.bottom - 3};
    bool automatic = text == kAutomaticEntry;
    COLORREF color = ToColorRef(automatic ? automatic_[item.itemID] : ColorFromEntry(text));
    UniqueBrush brush(automatic ? CreateHatchBrush(HS_BDIAGONAL, color) : CreateSolidBrush(color));
    FillRect(dc, &swatch, brush.Get());
    FrameRect(dc, &swatch, GetSysColorBrush(COLOR_WINDOWTEXT));

    std::wstring label = Widen(Label(static_cast<int>(item.itemID)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT textRect{r.left + 4, r.top, swatch.left - 4, r.bottom};
    DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &r);
}
