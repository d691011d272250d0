#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "settings/settings.h"

// A list box (owner-drawn, LBS_HASSTRINGS) whose entries each carry a second, hidden text: the colour text of a
// theme colour ("-1" automatic), shown as a swatch beside the label. The dialog forwards WM_DRAWITEM.
class ColorTextListBox {
  public:
    void Attach(HWND listBox);
    HWND Handle() const { return list_; }
    void Clear();
    // automatic: what the entry's swatch shows while its text is "-1".
    void Add(const std::string& label, const std::string& text, ColorValue automatic);
    int Count() const { return static_cast<int>(texts_.size()); }
    std::string Label(int index) const;
    const std::string& Text(int index) const { return texts_.at(static_cast<size_t>(index)); }
    void SetText(int index, const std::string& text);
    int ItemIndex() const;
    void SetItemIndex(int index);
    void DrawItem(const DRAWITEMSTRUCT& item) const;

  private:
    HWND list_ = nullptr;
    std::vector<std::string> texts_;
    std::vector<ColorValue> automatic_;
};
