#pragma once

#include <windows.h>

#include "platform/unique_handle_win.h"
#include "settings/settings.h"
#include "tray/tray_renderer.h"

// The system's colour table.
class GdiSystemColors : public ISystemColors {
  public:
    uint32_t SysColor(int index) const override { return GetSysColor(index); }
};

// Draws the picture's figures in the display font with GDI, on a DIB of the picture's size kept between ticks;
// pictures larger than 16 pixels take the font scaled by size / 16.
class GdiTextPainter : public ITrayTextPainter {
  public:
    // Borrows the font, which must outlive each use; it is selected only while measuring or drawing, so the
    // owner may replace and delete it between uses (SetFont).
    explicit GdiTextPainter(HFONT font);
    // Makes and owns a font from the settings.
    explicit GdiTextPainter(const FontSpec& font);
    void SetFont(HFONT font) { font_ = font; }
    int TextWidth(const std::string& text, int pictureSize) override;
    int TextHeight(const std::string& text, int pictureSize) override;
    void PaintText(TrayPicture& picture, int x, int y, const std::string& text, uint32_t color) override;

  private:
    SIZE Extent(const std::string& text, int pictureSize);
    HFONT FontFor(int pictureSize);
    bool UseDib(int size);
    UniqueFont ownFont_;
    HFONT font_;
    UniqueFont scaledFont_;
    LOGFONTW scaledFrom_{};
    int scaledSize_ = 0;
    UniqueBitmap dib_;
    int dibSize_ = 0;
    uint32_t* bits_ = nullptr;
    UniqueMemoryDc dc_;  // deleted first, so the bitmap it holds can be deleted after it
};

// The display font as the settings describe it (face, character set, size in points, style bits).
UniqueFont CreateDisplayFont(const FontSpec& font);
// The same font for a screen of that DPI (96: the tray picture's, which the painter scales with the picture).
UniqueFont CreateFontForDpi(const FontSpec& font, int dpi);

// The picture as an icon; with transparentKey every 0x030303 pixel is transparent.
UniqueIcon PictureToIcon(const TrayPicture& picture, bool transparentKey);
