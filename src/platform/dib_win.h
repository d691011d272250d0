#pragma once

#include <windows.h>

#include "platform/unique_handle_win.h"

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
