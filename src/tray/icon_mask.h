#pragma once

#include <cstdint>
#include <vector>

// "No transparent colour": every pixel of the picture is shown.
constexpr std::uint32_t kNoMaskColor = 0x1FFFFFFF;

// Prepares a picture for an icon. pixels: width x height top-down 0xAARRGGBB values, changed in place; maskColor
// is a colour value 0x00BBGGRR. Pixels of the mask colour become transparent (all zero); when the picture carries
// no alpha at all, the others become opaque. Returns the monochrome AND mask, rows padded to 16 bits, 1 for
// transparent.
std::vector<std::uint8_t> BuildIconMask(std::vector<std::uint32_t>& pixels,
                                        int width,
                                        int height,
                                        std::uint32_t maskColor);
