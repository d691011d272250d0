#pragma once

#include <cstdint>
#include <vector>

// Writes into a picture kept row by row from the top, width x height pixels; what falls outside is clipped.
void SetPixelClipped(std::vector<uint32_t>& pixels, int width, int height, int x, int y, uint32_t color);
// Columns left..right-1 and rows top..bottom-1; an empty rectangle fills nothing.
void FillClipped(std::vector<uint32_t>& pixels,
                 int width,
                 int height,
                 int left,
                 int top,
                 int right,
                 int bottom,
                 uint32_t color);
