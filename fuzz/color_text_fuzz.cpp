// Colour text from settings and theme files: any text reads as some colour, and that colour's text reads back
// as the same colour.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/color_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    ColorValue color = TextToColor(text);
    if (TextToColor(ColorToText(color)) != color)
        std::abort();
    ColorToText(static_cast<ColorValue>(size >= 4 ? *reinterpret_cast<const uint32_t*>(data) : size));
    return 0;
}
