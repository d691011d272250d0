#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "settings/settings.h"

class IProfile;

// The screen colour of a colour value: system colours as Windows paints them now; automatic has none (black).
COLORREF ToColorRef(ColorValue color);

// A drop-down list of colours (an owner-drawn CBS_DROPDOWNLIST combo box of a dialog): the default item, which shows
// a colour set by the program, the 16 basic colours, the 25 system colours and a custom item that opens the colour
// dialog. The dialog forwards WM_DRAWITEM and CBN_SELCHANGE of the combo box.
class ColorComboBox {
  public:
    static constexpr int kDefaultItem = 0;

    void Attach(HWND combo);
    HWND Handle() const { return combo_; }
    // Where the colour dialog's 16 custom colours live ("自定义颜色" of the settings file); none: not kept.
    void SetCustomColorsStorage(std::function<std::unique_ptr<IProfile>()> open) { openStorage_ = std::move(open); }

    void SetDefaultColor(ColorValue color);
    ColorValue DefaultColor() const { return defaultColor_; }
    void SetCustomItemVisible(bool visible);
    // Selects the basic or system colour item of that value; any other colour goes to the custom item (which then
    // shows it) or, while the custom item is hidden, selects nothing.
    void SetColor(ColorValue color);
    ColorValue Color() const;
    int ItemIndex() const;
    void SetItemIndex(int index);
    // Names the entries again in the chosen language, keeping the selection.
    void SetTexts();
    int CustomItemIndex() const;
    void SetEnabled(bool enabled) { EnableWindow(combo_, enabled); }

    void DrawItem(const DRAWITEMSTRUCT& item) const;
    // CBN_SELCHANGE: the custom item asks for its colour first; a cancelled colour dialog restores the selection.
    void SelectionChanged();

    std::function<void()> OnChange;
    // Tests answer the colour dialog; it returns false when cancelled.
    std::function<bool(HWND owner, COLORREF& color, COLORREF* customColors)> ChooseColorHook;

  private:
    ColorValue ItemColor(int index) const;
    void Fill();

    HWND combo_ = nullptr;
    ColorValue defaultColor_ = 0;
    ColorValue customColor_ = Rgb(255, 255, 255);
    bool customVisible_ = true;
    int lastIndex_ = -1;
    std::function<std::unique_ptr<IProfile>()> openStorage_;
};
