#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/unique_handle_win.h"

// COLORREF (0x00BBGGRR) and DIB pixels (0x00RRGGBB) swap red and blue.
inline uint32_t SwapRedBlue(uint32_t c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// A top-down 32-bit RGB bitmap header: row 0 is the top row, one DWORD (0x00RRGGBB) a pixel.
inline BITMAPINFO TopDownDibInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A DIB section of that layout; *bits points at its pixels while the bitmap lives.
inline UniqueBitmap CreateTopDownDib(int width, int height, void** bits) {
    BITMAPINFO info = TopDownDibInfo(width, height);
    return UniqueBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}
