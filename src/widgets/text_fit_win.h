#pragma once

#include <windows.h>

#include <vector>

#include "widgets/row_fit.h"

// Keeps a dialog page's controls sized to their texts: remembers the template's places once, and lays the controls
// out again from them whenever the texts or the DPI change.
class TextFitLayout {
  public:
    // The controls' places as the template made them, at the page's DPI.
    void Capture(HWND page, UINT dpi);
    // Sizes the labels, check boxes and buttons to their current texts at dpi; shrinks: texts may take less room
    // than the template gives them (the template was drawn for another language).
    void Fit(UINT dpi, bool shrinks);

  private:
    HWND page_ = nullptr;
    UINT dpi_ = 0;
    std::vector<HWND> controls_;
    std::vector<RowFitControl> places_;
};
