#pragma once

#include <windows.h>

#include <string>

#include "platform/system_library_win.h"
#include "platform/unique_handle_win.h"
#include "processes/menu_item_ex_win.h"

// What drawing an item needs besides the item: the two shared icons and the colour of heavy process rows.
struct MenuDrawContext {
    HICON DefaultProgramIcon = nullptr;
    HICON TaskManagerIcon = nullptr;
    COLORREF Highlight = RGB(251, 225, 225);
};

struct MenuItemState {
    bool Selected = false;
    bool Enabled = true;
    bool Checked = false;
    bool Default = false;
    bool ShowAccessKeys = false;  // underline the access key (the keyboard opened the menu, or cues are always on)
};

// Measures and paints the tray menu's items in the system's menu font at the menu's DPI: a 26-pixel (at 96 dpi) icon
// column, bold default item,
// right-aligned figures and shortcuts, highlighted heavy processes; through the "MENU" visual style when the
// application is themed, in the classic look otherwise.
class MenuPainter {
  public:
    MenuPainter();
    ~MenuPainter();
    MenuPainter(const MenuPainter&) = delete;
    MenuPainter& operator=(const MenuPainter&) = delete;

    // The window whose visual style is used (may be null).
    void SetWindow(HWND window) { window_ = window; }
    // Forgets the opened style and fonts (after a theme or settings change); the next use opens them anew.
    void Reset();
    void SetForceClassic(bool value) { forceClassic_ = value; }
    // The DPI of the monitor where the menu opens (96 at first); true when it changed, and the fonts with it.
    bool SetDpi(UINT dpi);
    UINT Dpi() const { return dpi_; }
    // The width of the work area of the monitor where the menu opens (0: no limit); true when it changed. No item is
    // measured wider than the menu can be there: captions are cut with "…", figures and shortcuts stay whole.
    bool SetWorkAreaWidth(int width);
    int MaxItemWidth() const;
    bool Themed();

    // text: the item's text, with a shortcut after a tab where it has one.
    void MeasureItem(const MenuItemEx& item, const std::string& text, bool isDefault, UINT& width, UINT& height);
    void DrawItem(HDC dc,
                  const RECT& rect,
                  const MenuItemEx& item,
                  const std::string& text,
                  MenuItemState state,
                  const MenuDrawContext& context);
    int LastMenuTextHeight() const { return lastMenuTextHeight_; }
    HFONT Font(bool bold);

  private:
    struct UxTheme;
    void* Theme();
    void DrawThemePart(HDC dc, int part, int state, const RECT& rect);
    void DrawCheck(HDC dc, const RECT& r, int y, bool themed, bool enabled);
    int Scaled(int value) const;
    // The caption as drawn (its "&" prefixes taken out), cut to room pixels in the font selected into dc.
    static std::wstring ShownCaption(HDC dc, const std::string& caption, int room);

    HWND window_ = nullptr;
    bool forceClassic_ = false;
    UINT dpi_ = 96;
    int workAreaWidth_ = 0;
    void* theme_ = nullptr;
    bool themeOpened_ = false;
    int lastMenuTextHeight_ = 0;
    UniqueFont font_, boldFont_;
};
