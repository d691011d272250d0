#pragma once

#include <windows.h>

#include <string>

#include "platform/unique_handle_win.h"
#include "platform/window_win.h"

// The window that shows the licence agreement: the text read-only with a scroll bar, and "确定" to close it.
// Showing it again while it is open brings it to the front with the new text.
class LicenceViewer : public Window {
  public:
    void Show(HWND owner, const std::string& title, const std::string& text);
    HWND TextBox() const { return edit_; }
    HWND OkButton() const { return ok_; }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void LayoutChildren();

    HWND edit_ = nullptr;  // children, destroyed with the window
    HWND ok_ = nullptr;
    UniqueFont font_;
};
