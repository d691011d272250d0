#include "widgets/color_combo_win.h"
#include "platform/common_dialogs_win.h"

#include <commdlg.h>

#include <array>

#include "platform/text_win.h"
#include "platform/texts.h"
#include "platform/unique_handle_win.h"
#include "settings/color_text.h"
#include "widgets/control_text_win.h"
#include "widgets/custom_colors.h"

namespace {
struct NamedColor {
    TextId Name;
    ColorValue Color;
};
constexpr std::array<NamedColor, 16> kBasicColors = {{
    {TextId::ColorBlack, Rgb(0, 0, 0)},
    {TextId::ColorMaroon, Rgb(128, 0, 0)},
    {TextId::ColorGreen, Rgb(0, 128, 0)},
    {TextId::ColorOlive, Rgb(128, 128, 0)},
    {TextId::ColorNavy, Rgb(0, 0, 128)},
    {TextId::ColorPurple, Rgb(128, 0, 128)},
    {TextId::ColorTeal, Rgb(0, 128, 128)},
    {TextId::ColorGray, Rgb(128, 128, 128)},
    {TextId::ColorSilver, Rgb(192, 192, 192)},
    {TextId::ColorRed, Rgb(255, 0, 0)},
    {TextId::ColorLime, Rgb(0, 255, 0)},
    {TextId::ColorYellow, Rgb(255, 255, 0)},
    {TextId::ColorBlue, Rgb(0, 0, 255)},
    {TextId::ColorFuchsia, Rgb(255, 0, 255)},
    {TextId::ColorAqua, Rgb(0, 255, 255)},
    {TextId::ColorWhite, Rgb(255, 255, 255)},
}};
constexpr int kFirstBasic = 1;
constexpr int kFirstSystem = kFirstBasic + static_cast<int>(kBasicColors.size());
constexpr int kCustomIndex = kFirstSystem + kSystemColorCount;
constexpr int kSwatchWidth = 22;

void AddItem(HWND combo, const std::string& text) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

bool ShowColorDialog(HWND owner, COLORREF& color, COLORREF* customColors) {
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = color;
    cc.lpCustColors = customColors;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    if (!ShowChooseColor(cc))
        return false;
    color = cc.rgbResult;
    return true;
}
}  // namespace

COLORREF ToColorRef(ColorValue color) {
    if (color == kAutomaticColor)
        return RGB(0, 0, 0);
    if (IsSystemColor(color))
        return GetSysColor(SystemColorIndex(color));
    return static_cast<COLORREF>(color) & 0xFFFFFFu;
}

void ColorComboBox::Attach(HWND combo) {
    combo_ = combo;
    // Fixed owner-drawn items are measured before the dialog knows this object: their height is set here.
    SendMessageW(combo, CB_SETITEMHEIGHT, 0, DialogTextHeight(combo) + 4);
    Fill();
}

void ColorComboBox::Fill() {
    SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
    AddItem(combo_, Text(TextId::ColorDefault));
    for (const NamedColor& c : kBasicColors)
        AddItem(combo_, Text(c.Name));
    for (int i = 0; i < kSystemColorCount; ++i)
        AddItem(combo_, SystemColorTitle(i));
    if (customVisible_)
        AddItem(combo_, Text(TextId::ColorCustom));
}

void ColorComboBox::SetDefaultColor(ColorValue color) {
    defaultColor_ = color;
    InvalidateRect(combo_, nullptr, TRUE);
}

void ColorComboBox::SetCustomItemVisible(bool visible) {
    if (visible == customVisible_)
        return;
    customVisible_ = visible;
    if (visible) {
        AddItem(combo_, Text(TextId::ColorCustom));
    } else {
        if (ItemIndex() == kCustomIndex)
            SetItemIndex(-1);
        SendMessageW(combo_, CB_DELETESTRING, kCustomIndex, 0);
    }
}

int ColorComboBox::CustomItemIndex() const {
    return customVisible_ ? kCustomIndex : -1;
}

ColorValue ColorComboBox::ItemColor(int index) const {
    if (index == kDefaultItem)
        return defaultColor_;
    if (index >= kFirstBasic && index < kFirstSystem)
        return kBasicColors[static_cast<size_t>(index - kFirstBasic)].Color;
    if (index >= kFirstSystem && index < kCustomIndex)
        return SystemColor(index - kFirstSystem);
    if (index == kCustomIndex)
        return customColor_;
    return defaultColor_;
}

void ColorComboBox::SetColor(ColorValue color) {
    for (int i = kFirstBasic; i < kCustomIndex; ++i) {
        if (ItemColor(i) == color) {
            SetItemIndex(i);
            return;
        }
    }
    if (customVisible_) {
        customColor_ = color;
        SetItemIndex(kCustomIndex);
        InvalidateRect(combo_, nullptr, TRUE);
    } else {
        SetItemIndex(-1);
    }
}

ColorValue ColorComboBox::Color() const {
    return ItemColor(ItemIndex());
}

int ColorComboBox::ItemIndex() const {
    return static_cast<int>(SendMessageW(combo_, CB_GETCURSEL, 0, 0));
}

void ColorComboBox::SetItemIndex(int index) {
    SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    lastIndex_ = index;
}

void ColorComboBox::SetTexts() {
    const int index = ItemIndex();
    Fill();
    SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ColorComboBox::SelectionChanged() {
    int index = ItemIndex();
    if (index == kCustomIndex && customVisible_) {
        COLORREF color = ToColorRef(lastIndex_ >= 0 ? ItemColor(lastIndex_) : customColor_);
        CustomColors custom{};
        custom.fill(RGB(255, 255, 255));
        std::unique_ptr<IProfile> storage = openStorage_ ? openStorage_() : nullptr;
        if (storage)
            custom = ReadCustomColors(*storage);
        COLORREF refs[16];
        for (size_t i = 0; i < custom.size(); ++i)
            refs[i] = custom[i];
        HWND owner = GetAncestor(combo_, GA_ROOT);
        bool chosen = ChooseColorHook ? ChooseColorHook(owner, color, refs) : ShowColorDialog(owner, color, refs);
        if (!chosen) {
            SetItemIndex(lastIndex_);
            return;
        }
        for (size_t i = 0; i < custom.size(); ++i)
            custom[i] = refs[i];
        if (storage)
            WriteCustomColors(*storage, custom);
        customColor_ = static_cast<ColorValue>(color & 0xFFFFFFu);
        InvalidateRect(combo_, nullptr, TRUE);
    }
    lastIndex_ = index;
    if (OnChange)
        OnChange();
}

void ColorComboBox::DrawItem(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    bool disabled = (item.itemState & ODS_DISABLED) != 0;
    FillRect(dc, &r, GetSysColorBrush(selected && !disabled ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    int index = static_cast<int>(item.itemID);
    if (index < 0)
        return;

    RECT swatch{r.left + 2, r.top + 2, r.left + 2 + kSwatchWidth, r.bottom - 2};
    UniqueBrush brush(CreateSolidBrush(ToColorRef(ItemColor(index))));
    FillRect(dc, &swatch, brush.Get());
    FrameRect(dc, &swatch, GetSysColorBrush(disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));

    std::wstring text = Widen(ComboItemText(combo_, index));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT textRect{swatch.right + 4, r.top, r.right, r.bottom};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_COMBOBOXEDIT))
        DrawFocusRect(dc, &r);
}
