#include "tray/tray_picture_win.h"

#include "platform/dib_win.h"
#include "platform/text_win.h"
#include "tray/icon_mask.h"
#include "tray/tray_icon_win.h"
#include "widgets/font_dialog_win.h"

namespace {
// COLORREF (0x00BBGGRR) and DIB pixels (0x00RRGGBB) swap red and blue.
uint32_t SwapRedBlue(uint32_t c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
}  // namespace

UniqueFont CreateDisplayFont(const FontSpec& f) {
    WindowDc screen(nullptr);
    return CreateFontForDpi(f, GetDeviceCaps(screen.Get(), LOGPIXELSY));
}

UniqueFont CreateFontForDpi(const FontSpec& f, int dpi) {
    LOGFONTW lf = LogFontFromSpec(f, dpi);
    return UniqueFont(CreateFontIndirectW(&lf));
}

GdiTextPainter::GdiTextPainter(HFONT font) : font_(font) {
    dc_.Reset(CreateCompatibleDC(nullptr));
    void* bits = nullptr;
    dib_ = CreateTopDownDib(kTrayImageSize, kTrayImageSize, &bits);
    bits_ = static_cast<uint32_t*>(bits);
    // Both stay selected for the painter's life; the DC is deleted before the bitmap and the font.
    if (dib_)
        SelectObject(dc_.Get(), dib_.Get());
    SetBkMode(dc_.Get(), TRANSPARENT);
}

GdiTextPainter::GdiTextPainter(const FontSpec& font) : GdiTextPainter(static_cast<HFONT>(nullptr)) {
    ownFont_ = CreateDisplayFont(font);
    font_ = ownFont_.Get();
}

SIZE GdiTextPainter::Extent(const std::string& text) {
    std::wstring w = Widen(text);
    SIZE size{};
    SelectGuard font(dc_.Get(), font_);
    GetTextExtentPoint32W(dc_.Get(), w.c_str(), static_cast<int>(w.size()), &size);
    return size;
}

int GdiTextPainter::TextWidth(const std::string& text) {
    return Extent(text).cx;
}

int GdiTextPainter::TextHeight(const std::string& text) {
    return Extent(text).cy;
}

void GdiTextPainter::PaintText(TrayPicture& picture, int x, int y, const std::string& text, uint32_t color) {
    if (!bits_)
        return;
    for (size_t i = 0; i < picture.Pixels.size(); ++i)
        bits_[i] = SwapRedBlue(picture.Pixels[i]);
    std::wstring w = Widen(text);
    SelectGuard font(dc_.Get(), font_);
    SetTextColor(dc_.Get(), color);
    TextOutW(dc_.Get(), x, y, w.c_str(), static_cast<int>(w.size()));
    GdiFlush();
    for (size_t i = 0; i < picture.Pixels.size(); ++i)
        picture.Pixels[i] = SwapRedBlue(bits_[i] & 0xFFFFFF);
}

UniqueIcon PictureToIcon(const TrayPicture& picture, bool transparentKey) {
    std::vector<uint32_t> pixels(picture.Pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = SwapRedBlue(picture.Pixels[i]);
    return TTrayIcon::IconFromPixels(std::move(pixels), transparentKey ? kTransparentKey : kNoMaskColor, picture.Size);
}
