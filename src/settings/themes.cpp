#include "settings/themes.h"

#include <algorithm>
#include <cctype>

#include "platform/utf_text.h"
#include "settings/color_text.h"

const std::array<ThemeColorSlot, kThemeColorCount> kThemeColorSlots = {{
    {"FontColor", TextId::SlotText, &Settings::FontColor, AutomaticColors::kFont},
    {"BackgroundColor", TextId::SlotBackground, &Settings::OpaqueBkColor, AutomaticColors::kOpaqueBk},
    {"BarColor", TextId::SlotBar, &Settings::FullBarColor, AutomaticColors::kFullBar},
    {"BarBorderColor", TextId::SlotBarBorder, &Settings::BarBorderColor, AutomaticColors::kBarBorder},
    {"GreenColor", TextId::SlotGreen, &Settings::GreenColor, AutomaticColors::kGreen},
    {"YellowColor", TextId::SlotYellow, &Settings::YellowColor, AutomaticColors::kYellow},
    {"RedColor", TextId::SlotRed, &Settings::RedColor, AutomaticColors::kRed},
}};

namespace {
const char* const kDefaultThemeFiles[] = {"Windows Aero",
                                          "Windows Aero",
                                          "Windows XP Style (Blue)",
                                          "Windows XP Style (Olive Green)",
                                          "Windows XP Style (Silver)",
                                          "System Colors",
                                          "Windows 11 Light",
                                          "Windows 11 Dark"};

bool IsForbiddenFileNameChar(unsigned char c) {
    return c < 0x20 || c == '|' || c == '<' || c == '>' || c == '"' || c == '?' || c == '*' || c == ':' || c == '/' ||
           c == '\\';
}

// Windows opens the device, not a file, for these names whatever extension follows.
bool IsDeviceName(std::string_view name) {
    std::string upper;
    for (char c : name)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    while (!upper.empty() && (upper.back() == ' ' || upper.back() == '.'))
        upper.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (upper == device)
            return true;
    }
    return upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
           upper[3] >= '1' && upper[3] <= '9';
}

}  // namespace

ThemeFile ReadThemeFile(IProfile& profile) {
    ThemeFile theme;
    theme.Ver = profile.ReadString(kThemeSection, "Ver", kThemeVersion);
    for (int i = 0; i < kThemeColorCount; ++i) {
        theme.Colors[static_cast<size_t>(i)] =
            profile.ReadString(kThemeSection, kThemeColorSlots[static_cast<size_t>(i)].Key, kAutomaticEntry);
    }
    theme.OpaqueBackground = ReadBool(profile, kThemeSection, "OpaqueBackground", false);
    theme.BarOpaqueBackground = ReadBool(profile, kThemeSection, "BarOpaqueBackground", false);
    return theme;
}

bool WriteThemeFile(IProfile& profile,
                    const std::string& name,
                    const ThemeColorTexts& colors,
                    bool transBk,
                    bool fullBar) {
    if (!profile.WriteString(kThemeSection, "Ver", kThemeVersion))
        return false;
    if (!profile.WriteString(kThemeSection, "Name", name))
        return false;
    for (size_t i = 0; i < colors.size(); ++i) {
        if (!profile.WriteString(kThemeSection, kThemeColorSlots[i].Key, colors[i]))
            return false;
    }
    return WriteBool(profile, kThemeSection, "OpaqueBackground", !transBk) &&
           WriteBool(profile, kThemeSection, "BarOpaqueBackground", fullBar) && profile.Commit();
}

std::string ColorEntryText(ColorValue color) {
    return color == kAutomaticColor ? kAutomaticEntry : ColorToText(color);
}

ColorValue ColorFromEntry(std::string_view text) {
    return text == kAutomaticEntry ? kAutomaticColor : TextToColor(text);
}

ThemeColorTexts ThemeColorsOf(const Settings& settings) {
    ThemeColorTexts colors;
    for (size_t i = 0; i < colors.size(); ++i)
        colors[i] = ColorEntryText(settings.*kThemeColorSlots[i].Member);
    return colors;
}

void StoreThemeColors(const ThemeColorTexts& colors, Settings& settings) {
    for (size_t i = 0; i < colors.size(); ++i)
        settings.*kThemeColorSlots[i].Member = ColorFromEntry(colors[i]);
}

std::string MakeSafeFileName(std::string_view text, size_t maxLength) {
    std::string result;
    size_t units = 0;
    for (size_t i = 0; i < text.size();) {
        auto c = static_cast<unsigned char>(text[i]);
        size_t length = Utf8SequenceLength(text, i);
        size_t width = length == 4 ? 2 : 1;  // characters beyond the BMP take two UTF-16 units
        if (units + width > maxLength)
            break;
        if (length == 0 || (length == 1 && IsForbiddenFileNameChar(c))) {
            result += '_';  // a byte that is no character of its own does not take the next ones with it
            length = 1;
        } else {
            result.append(text.substr(i, length));
        }
        units += width;
        i += length;
    }
    if (IsDeviceName(result)) {
        if (units + 1 > maxLength)
            result.pop_back();
        result += '_';
    }
    return result;
}

std::string ThemeNameFromFileName(const std::string& fileName) {
    if (fileName.size() <= kThemeExtensionLength)
        return {};
    std::string tail = fileName.substr(fileName.size() - kThemeExtensionLength);
    std::string lowerTail, lowerExt;
    for (char c : tail)
        lowerTail += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* p = kThemeExtension; *p; ++p)
        lowerExt += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    if (lowerTail != lowerExt)
        return {};
    return fileName.substr(0, fileName.size() - kThemeExtensionLength);
}

bool IsPlainThemeName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && MakeSafeFileName(name, std::string_view::npos) == name;
}

int DefaultThemeIndex(const VisualStyle& style) {
    if (style.VistaOrLater) {
        if (style.CompositionEnabled)
            return 0;
        std::string scheme = style.ColorScheme;
        auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
        while (!scheme.empty() && blank(scheme.back()))
            scheme.pop_back();
        scheme.erase(scheme.begin(), std::find_if_not(scheme.begin(), scheme.end(), blank));
        return scheme == "NormalColor" ? 1 : kSystemColorsTheme;
    }
    if (style.XpOrLater) {
        if (style.ColorScheme == "NormalColor")
            return 2;
        if (style.ColorScheme == "HomeStead")
            return 3;
        if (style.ColorScheme == "Metallic")
            return 4;
    }
    return kSystemColorsTheme;
}

int TaskbarThemeIndex(bool lightTaskbar) {
    return lightTaskbar ? kWindows11LightTheme : kWindows11DarkTheme;
}

std::string DefaultThemeFileName(int index) {
    if (index < 0 || index > kWindows11DarkTheme)
        index = kSystemColorsTheme;
    return std::string(kDefaultThemeFiles[index]) + kThemeExtension;
}

void ApplyThemeFileToSettings(IProfile& profile, int index, Settings& settings) {
    ThemeFile theme = ReadThemeFile(profile);
    for (size_t i = 0; i < theme.Colors.size(); ++i) {
        if (theme.Colors[i] != kAutomaticEntry)
            settings.*kThemeColorSlots[i].Member = TextToColor(theme.Colors[i]);
    }
    // A first run takes "OpaqueBackground" as a current file means it, whatever its "Ver".
    settings.TransBk = !theme.OpaqueBackground;
    settings.FullBar = theme.BarOpaqueBackground;
    if (index == 0 || index == 1) {
        settings.TransBk = false;
        settings.OpaqueBkColor = Rgb(0, 0, 0);
    }
}
