#include "tray/icon_mask.h"

std::vector<std::uint8_t> BuildIconMask(std::vector<std::uint32_t>& pixels,
                                        int width,
                                        int height,
                                        std::uint32_t maskColor) {
    const int stride = ((width + 15) / 16) * 2;
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(stride) * height, 0);
    bool hasAlpha = false;
    for (std::uint32_t p : pixels)
        hasAlpha = hasAlpha || (p >> 24) != 0;
    // The colour value is red in the low byte; a pixel is blue in the low byte.
    const std::uint32_t key = ((maskColor & 0xFF) << 16) | (maskColor & 0xFF00) | ((maskColor >> 16) & 0xFF);
    const bool masked = maskColor != kNoMaskColor;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t& p = pixels[static_cast<std::size_t>(y) * width + x];
            if (masked && (p & 0xFFFFFF) == key) {
                p = 0;
                mask[static_cast<std::size_t>(y) * stride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            } else if (!hasAlpha) {
                p |= 0xFF000000u;
            }
        }
    }
    return mask;
}
