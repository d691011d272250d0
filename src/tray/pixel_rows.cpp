#include "tray/pixel_rows.h"

#include <algorithm>
#include <cstddef>

void SetPixelClipped(std::vector<uint32_t>& pixels, int width, int height, int x, int y, uint32_t color) {
    if (x >= 0 && x < width && y >= 0 && y < height)
        pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = color;
}

void FillClipped(std::vector<uint32_t>& pixels,
                 int width,
                 int height,
                 int left,
                 int top,
                 int right,
                 int bottom,
                 uint32_t color) {
    left = std::max(left, 0), top = std::max(top, 0);
    right = std::min(right, width), bottom = std::min(bottom, height);
    if (left >= right)
        return;
    for (int y = top; y < bottom; ++y) {
        uint32_t* row = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        std::fill(row + left, row + right, color);
    }
}
