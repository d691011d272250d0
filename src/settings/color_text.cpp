#include "settings/color_text.h"

#include <array>

#include "platform/fixed_text.h"
#include "platform/texts.h"

namespace {
constexpr std::array<const char*, kSystemColorCount> kNames = {
    "ScrollBar",       "Background",       "ActiveCaption",   "InactiveCaption", "Menu",
    "Window",          "WindowFrame",      "MenuText",        "WindowText",      "CaptionText",
    "ActiveBorder",    "InactiveBorder",   "AppWorkSpace",    "Highlight",       "HighlightText",
    "ThreeDFace",      "ButtonShadow",     "GrayText",        "ButtonText",      "InactiveCaptionText",
    "ButtonHighlight", "ThreeDDarkShadow", "ThreeDHighlight", "InfoText",        "InfoBackground"};

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One colour component: up to two hexadecimal digits; -1 when empty or not hexadecimal.
int ReadPart(std::string_view text, size_t from) {
    if (from >= text.size())
        return -1;
    std::string_view part = text.substr(from, 2);
    int value = 0;
    for (char c : part) {
        int d = HexDigit(c);
        if (d < 0)
            return -1;
        value = value * 16 + d;
    }
    return value;
}
}  // namespace

std::string SystemColorName(int index) {
    return index >= 0 && index < kSystemColorCount ? kNames[static_cast<size_t>(index)] : "";
}

// The names files store are the system's; people read a name of their own language, in the same order.
std::string SystemColorTitle(int index) {
    static_assert(
        static_cast<int>(TextId::SystemColorInfoBackground) - static_cast<int>(TextId::SystemColorScrollBar) + 1 ==
            kSystemColorCount,
        "one title per system colour");
    if (index < 0 || index >= kSystemColorCount)
        return "";
    return Text(static_cast<TextId>(static_cast<int>(TextId::SystemColorScrollBar) + index));
}

bool IsSystemColor(ColorValue color) {
    return (static_cast<uint32_t>(color) & 0xFF000000u) == 0xFF000000u && SystemColorIndex(color) < kSystemColorCount &&
           (static_cast<uint32_t>(color) & 0x00FFFF00u) == 0;
}

int SystemColorIndex(ColorValue color) {
    return static_cast<int>(static_cast<uint32_t>(color) & 0xFFu);
}

std::string ColorToText(ColorValue color) {
    if (IsSystemColor(color))
        return SystemColorName(SystemColorIndex(color));
    uint32_t v = static_cast<uint32_t>(color);
    char buf[8];
    FixedText(buf, sizeof buf).Hex(v & 0xFFu, 2).Hex((v >> 8) & 0xFFu, 2).Hex((v >> 16) & 0xFFu, 2);
    return buf;
}

ColorValue TextToColor(std::string_view text) {
    if (!text.empty() && text.front() == '#')
        text.remove_prefix(1);
    for (int i = 0; i < kSystemColorCount; ++i) {
        if (text == kNames[static_cast<size_t>(i)])
            return SystemColor(i);
    }
    int r = ReadPart(text, 0), g = ReadPart(text, 2), b = ReadPart(text, 4);
    if (r < 0 || g < 0 || b < 0)
        return 0;
    return Rgb(r, g, b);
}
