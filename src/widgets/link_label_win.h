#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/unique_handle_win.h"
#include "platform/window_win.h"

class LinkLabel;
using LinkClickEvent = std::function<void(LinkLabel& sender, int link, const std::string& text)>;

// A one-line label whose caption may hold links in the mark-up "<link>text</link>": links are drawn underlined in
// the link colour, show the hand cursor, and raise OnLinkClick when clicked (or with Enter / Space when focused).
class LinkLabel : public Window {
  public:
    bool Create(HWND parent, int x, int y, int width, int height);
    void SetCaption(const std::string& caption);
    const std::string& Caption() const { return caption_; }
    // The colour of the plain text (a COLORREF).
    void SetFontColor(COLORREF color);
    COLORREF FontColor() const { return fontColor_; }
    void SetFont(HFONT font);
    // Where link number `link` is drawn, in client coordinates (empty when there is no such link).
    RECT LinkRect(int link) const;

    int Tag = 0;
    LinkClickEvent OnLinkClick;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    struct Piece {
        std::wstring Text;
        int Link;
        RECT Rect;
    };
    void Layout();
    void Measure(HDC dc);
    HGDIOBJ FontFor(int link) const;
    void Paint(HDC dc);
    int LinkAt(POINT p) const;
    void Click(int link);

    std::string caption_;
    std::vector<Piece> pieces_;
    COLORREF fontColor_ = RGB(0, 0, 0);
    HFONT font_ = nullptr;  // borrowed
    UniqueFont underlined_;
    int pressed_ = -1;
};
