#include "tray/tray_picture_win.h"

#include <cstring>

#include "platform/dib_win.h"
#include "platform/text_win.h"
#include "tray/icon_mask.h"
#include "tray/tray_icon_win.h"
#include "widgets/font_dialog_win.h"

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
    UseDib(kTrayImageSize);
    SetBkMode(dc_.Get(), TRANSPARENT);
}

// The DIB stays selected until a picture of another size replaces it; the DC is deleted before the bitmap.
bool GdiTextPainter::UseDib(int size) {
    if (dib_ && dibSize_ == size)
        return true;
    void* bits = nullptr;
    UniqueBitmap dib = CreateTopDownDib(size, size, &bits);
    if (!dib)
        return false;
    SelectObject(dc_.Get(), dib.Get());
    dib_ = std::move(dib);
    bits_ = static_cast<uint32_t*>(bits);
    dibSize_ = size;
    return true;
}

// The borrowed font may be replaced between uses, so the scaled copy is made again whenever the font it came
// from describes another font (a handle alone could be reused for a new font).
HFONT GdiTextPainter::FontFor(int pictureSize) {
    if (pictureSize <= kTrayImageSize || !font_)
        return font_;
    LOGFONTW lf{};
    if (GetObjectW(font_, sizeof lf, &lf) != sizeof lf)
        return font_;
    if (!scaledFont_ || scaledSize_ != pictureSize || std::memcmp(&lf, &scaledFrom_, sizeof lf) != 0) {
        LOGFONTW scaled = lf;
        scaled.lfHeight = MulDiv(lf.lfHeight, pictureSize, kTrayImageSize);
        scaled.lfWidth = MulDiv(lf.lfWidth, pictureSize, kTrayImageSize);
        scaledFont_.Reset(CreateFontIndirectW(&scaled));
        scaledFrom_ = lf;
        scaledSize_ = pictureSize;
    }
    return scaledFont_ ? scaledFont_.Get() : font_;
}

GdiTextPainter::GdiTextPainter(const FontSpec& font) : GdiTextPainter(static_cast<HFONT>(nullptr)) {
    ownFont_ = CreateDisplayFont(font);
    font_ = ownFont_.Get();
}

SIZE GdiTextPainter::Extent(const std::string& text, int pictureSize) {
    std::wstring w = Widen(text);
    SIZE size{};
    SelectGuard font(dc_.Get(), FontFor(pictureSize));
    GetTextExtentPoint32W(dc_.Get(), w.c_str(), static_cast<int>(w.size()), &size);
    return size;
}

int GdiTextPainter::TextWidth(const std::string& text, int pictureSize) {
    return Extent(text, pictureSize).cx;
}

int GdiTextPainter::TextHeight(const std::string& text, int pictureSize) {
    return Extent(text, pictureSize).cy;
}

void GdiTextPainter::PaintText(TrayPicture& picture, int x, int y, const std::string& text, uint32_t color) {
    if (picture.Size <= 0 || !UseDib(picture.Size))
        return;
    for (size_t i = 0; i < picture.Pixels.size(); ++i)
        bits_[i] = SwapRedBlue(picture.Pixels[i]);
    std::wstring w = Widen(text);
    SelectGuard font(dc_.Get(), FontFor(picture.Size));
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
    return TrayIcon::IconFromPixels(std::move(pixels), transparentKey ? kTransparentKey : kNoMaskColor, picture.Size);
}
