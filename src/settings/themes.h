#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/texts.h"
#include "settings/profile.h"
#include "settings/settings.h"

inline constexpr char kThemeSection[] = "LumivexTheme";
inline constexpr char kThemeExtension[] = ".Lumivex Theme";
constexpr size_t kThemeExtensionLength = 14;
inline constexpr char kThemeVersion[] = "22";
inline constexpr char kAutomaticEntry[] = "-1";  // automatic, as theme files and the colour list write it
constexpr int kThemeColorCount = 7;

// The seven theme colours in the order of the colour list and of the theme file.
struct ThemeColorSlot {
    const char* Key;  // key in the theme file
    TextId Label;     // entry of the colour list
    ColorValue Settings::*Member;
    ColorValue Automatic;  // what the element shows while automatic
};
extern const std::array<ThemeColorSlot, kThemeColorCount> kThemeColorSlots;

// One colour text per slot: "-1" for automatic, else colour text (possibly unreadable, as a file had it).
using ThemeColorTexts = std::array<std::string, kThemeColorCount>;

struct ThemeFile {
    std::string Ver = kThemeVersion;
    ThemeColorTexts Colors;
    bool OpaqueBackground = false;
    bool BarOpaqueBackground = false;
    // "透明背景": a current ("22") file stores the opposite of TransBk, older ones TransBk itself.
    bool TransBk() const { return Ver == kThemeVersion ? !OpaqueBackground : OpaqueBackground; }
};

// A missing, empty or unreadable file reads as all automatic, version "22".
ThemeFile ReadThemeFile(IProfile& profile);
// Writes the theme keys in their order and commits them; false when a key or the commit failed.
bool WriteThemeFile(IProfile& profile,
                    const std::string& name,
                    const ThemeColorTexts& colors,
                    bool transBk,
                    bool fullBar);

std::string ColorEntryText(ColorValue color);
// "-1" is automatic; any other text is colour text, unreadable text black.
ColorValue ColorFromEntry(std::string_view text);
ThemeColorTexts ThemeColorsOf(const Settings& settings);
// Copies the seven entries into the record (FontColor included; the font itself follows with ApplyFontColor).
void StoreThemeColors(const ThemeColorTexts& colors, Settings& settings);

// The longest theme name whose file name ("<name>.Lumivex Theme") still fits a file-name component.
constexpr size_t kMaxThemeNameLength = 255 - kThemeExtensionLength;
// A typed theme name made fit for a file name: | < > " ? * : / \ and control characters become "_", a device name
// (CON, NUL, COM1...) gets a "_" appended, and the result is cut to maxLength UTF-16 units (never inside a
// character).
std::string MakeSafeFileName(std::string_view text, size_t maxLength = kMaxThemeNameLength);
// The theme name of a file name "<name>.Lumivex Theme"; empty when the name does not end that way.
std::string ThemeNameFromFileName(const std::string& fileName);
// A name that can only mean a file in the themes folder: not empty, not "." or "..", no character
// MakeSafeFileName replaces (so no "\\", "/" or ":"), and no device name.
bool IsPlainThemeName(std::string_view name);

// First run: which shipped theme matches the visual style. 0/1 Aero (composition on / "NormalColor"),
// 2-4 the Windows XP styles, 5 the system colours.
struct VisualStyle {
    bool VistaOrLater = false;
    bool XpOrLater = false;
    bool CompositionEnabled = false;
    std::string ColorScheme;  // GetCurrentThemeName's colour-scheme name
};
int DefaultThemeIndex(const VisualStyle& style);
constexpr int kSystemColorsTheme = 5;
// Where Windows tells whether the taskbar is light or dark: 6 "Windows 11 Light", 7 "Windows 11 Dark".
constexpr int kWindows11LightTheme = 6;
constexpr int kWindows11DarkTheme = 7;
int TaskbarThemeIndex(bool lightTaskbar);
std::string DefaultThemeFileName(int index);
// The colours and flags of a first-run theme file into the record: "-1" keeps the loaded colour; the Aero themes
// (0, 1) always get an opaque black background.
void ApplyThemeFileToSettings(IProfile& profile, int index, Settings& settings);
