#include "tray/tray_picture_win.h"

#include "platform/text_win.h"
#include "widgets/font_dialog_win.h"

namespace {
BITMAPINFO TopDownDib32() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kTrayImageSize;
    info.bmiHeader.biHeight = -kTrayImageSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// COLORREF (0x00BBGGRR) and DIB pixels (0x00RRGGBB) swap red and blue.
uint32_t SwapRedBlue(uint32_t c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
}  // namespace

UniqueFont CreateDisplayFont(const FontSpec& f) {
    WindowDc screen(nullptr);
    LOGFONTW lf = LogFontFromSpec(f, GetDeviceCaps(screen.Get(), LOGPIXELSY));
    return UniqueFont(CreateFontIndirectW(&lf));
}

GdiTextPainter::GdiTextPainter(HFONT font) : font_(font) {
    dc_.Reset(CreateCompatibleDC(nullptr));
    BITMAPINFO info = TopDownDib32();
    void* bits = nullptr;
    dib_.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<uint32_t*>(bits);
    // Both stay selected for the painter's life; the DC is deleted before the bitmap and the font.
    if (dib_)
        SelectObject(dc_.Get(), dib_.Get());
    if (font_)
        SelectObject(dc_.Get(), font_);
    SetBkMode(dc_.Get(), TRANSPARENT);
}

GdiTextPainter::GdiTextPainter(const FontSpec& font) : GdiTextPainter(static_cast<HFONT>(nullptr)) {
    ownFont_ = CreateDisplayFont(font);
    font_ = ownFont_.Get();
    if (font_)
        SelectObject(dc_.Get(), font_);
}

SIZE GdiTextPainter::Extent(const std::string& text) {
    std::wstring w = Widen(text);
    SIZE size{};
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
    SetTextColor(dc_.Get(), color);
    TextOutW(dc_.Get(), x, y, w.c_str(), static_cast<int>(w.size()));
    GdiFlush();
    for (size_t i = 0; i < picture.Pixels.size(); ++i)
        picture.Pixels[i] = SwapRedBlue(bits_[i] & 0xFFFFFF);
}

UniqueIcon PictureToIcon(const TrayPicture& picture, bool transparentKey) {
    BITMAPINFO info = TopDownDib32();
    void* bits = nullptr;
    UniqueBitmap color(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!color)
        return UniqueIcon();
    // The mask: one bit per pixel, rows padded to 16 bits, 1 = transparent.
    WORD mask[kTrayImageSize] = {};
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < kTrayImageSize; ++y) {
        for (int x = 0; x < kTrayImageSize; ++x) {
            const uint32_t c = picture.At(x, y);
            const size_t i = static_cast<size_t>(y * kTrayImageSize + x);
            if (transparentKey && c == kTransparentKey) {
                pixels[i] = 0;  // black under a set mask bit leaves the screen as it is
                // Mask bytes run left to right with the most significant bit first.
                reinterpret_cast<BYTE*>(&mask[y])[x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
            } else {
                pixels[i] = 0xFF000000u | SwapRedBlue(c);
            }
        }
    }
    UniqueBitmap maskBitmap(CreateBitmap(kTrayImageSize, kTrayImageSize, 1, 1, mask));
    if (!maskBitmap)
        return UniqueIcon();
    ICONINFO icon{};
    icon.fIcon = TRUE;
    icon.hbmMask = maskBitmap.Get();
    icon.hbmColor = color.Get();
    return UniqueIcon(CreateIconIndirect(&icon));
}
