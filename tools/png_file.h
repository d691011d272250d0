#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes an 8-bit RGBA PNG (stored, uncompressed deflate blocks). argb holds width * height pixels as 0xAARRGGBB.
bool WritePng(const std::string& path, int width, int height, const std::vector<uint32_t>& argb);
