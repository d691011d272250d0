#pragma once

#include <cstdint>
#include <string>

#include "settings/settings_table.h"

// A colour value: RGB with red in the low byte, a system colour (0xFF in the top byte, index in the low byte) or
// kAutomaticColor, which each element resolves to its own default.
using ColorValue = int32_t;
constexpr ColorValue kAutomaticColor = -1;
constexpr ColorValue kSystemColorFlag = static_cast<ColorValue>(0xFF000000u);
constexpr ColorValue SystemColor(int index) {
    return static_cast<ColorValue>(0xFF000000u | static_cast<uint32_t>(index));
}
constexpr ColorValue kClWindowText = SystemColor(8);
constexpr ColorValue kClButtonShadow = SystemColor(16);
constexpr ColorValue Rgb(int r, int g, int b) {
    return static_cast<ColorValue>(static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) |
                                   (static_cast<uint32_t>(b) << 16));
}

// The display font: face name, character set, colour, size in points and style bits (1 bold, 2 italic,
// 4 underline, 8 strike-out).
struct FontSpec {
    std::string Name = "Tahoma";
    int CharSet = 1;
    ColorValue Color = kClWindowText;
    int Size = 6;
    int Style = 0;
    bool operator==(const FontSpec& o) const {
        return Name == o.Name && CharSet == o.CharSet && Color == o.Color && Size == o.Size && Style == o.Style;
    }
    bool operator!=(const FontSpec& o) const { return !(*this == o); }
};

// What a setting holds and how the settings file writes it: the Kind column of LUMIVEX_SETTINGS.
namespace SettingKinds {
struct Flag {
    using Value = bool;
};
struct Number {
    using Value = int32_t;
};
struct Color {
    using Value = ColorValue;
};
struct Font {
    using Value = FontSpec;
};
struct LanguageTag {
    using Value = std::string;  // "zh" or "en": the language of every text shown
};
}  // namespace SettingKinds

// Every user setting: one field per row of LUMIVEX_SETTINGS, with its default.
struct Settings {
#define LUMIVEX_SETTING_FIELD(field, kind, defaultValue, ...) SettingKinds::kind::Value field = defaultValue;
    LUMIVEX_SETTINGS(LUMIVEX_SETTING_FIELD)
#undef LUMIVEX_SETTING_FIELD
};

inline bool operator==(const Settings& a, const Settings& b) {
#define LUMIVEX_SAME_SETTING(field, ...) &&a.field == b.field
    return true LUMIVEX_SETTINGS(LUMIVEX_SAME_SETTING);
#undef LUMIVEX_SAME_SETTING
}
inline bool operator!=(const Settings& a, const Settings& b) {
    return !(a == b);
}

// The colours that automatic (-1) stands for, element by element.
namespace AutomaticColors {
constexpr ColorValue kFont = Rgb(0, 0, 0);
constexpr ColorValue kOpaqueBk = Rgb(255, 255, 255);
constexpr ColorValue kBarBorder = kClButtonShadow;
constexpr ColorValue kFullBar = kClButtonShadow;
constexpr ColorValue kGreen = Rgb(0, 255, 0);
constexpr ColorValue kYellow = Rgb(255, 255, 0);
constexpr ColorValue kRed = Rgb(255, 0, 0);
constexpr ColorValue kProcessHighlight = Rgb(251, 225, 225);
}  // namespace AutomaticColors

// The colour an element shows: its own default while the setting is automatic.
constexpr ColorValue ResolveAutomatic(ColorValue value, ColorValue automatic) {
    return value == kAutomaticColor ? automatic : value;
}
