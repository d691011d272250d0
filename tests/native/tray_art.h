#pragma once

#include <initializer_list>
#include <map>
#include <string>

#include "tray/tray_renderer.h"

// Pictures written down as rows of text, one letter per colour, for the renderer's tables.
namespace TrayArt {
constexpr uint32_t kFullBar = 0x800000;
constexpr uint32_t kMagenta = 0xFF00FF;

inline char Letter(uint32_t color) {
    static const std::map<uint32_t, char> letters = {
        {0xFFFFFF, '.'}, {kTransparentKey, 'T'}, {0xA0A0A0, 'b'}, {0x00FF00, 'g'}, {0x00FFFF, 'y'},
        {0x0000FF, 'r'}, {kFullBar, 'f'},        {0x000000, '#'}, {kMagenta, 'm'},
    };
    auto it = letters.find(color);
    return it == letters.end() ? '?' : it->second;
}

inline std::string Art(const TrayPicture& picture) {
    std::string art;
    for (int y = 0; y < picture.Size; ++y) {
        for (int x = 0; x < picture.Size; ++x)
            art += Letter(picture.At(x, y));
        art += '\n';
    }
    return art;
}

inline std::string Rows(std::initializer_list<const char*> rows) {
    std::string art;
    for (const char* row : rows)
        art += std::string(row) + '\n';
    return art;
}
}  // namespace TrayArt
