#include "settings/settings_file.h"

#include <type_traits>

#include "platform/texts.h"
#include "settings/color_text.h"

namespace {
constexpr char kAutomatic[] = "Automatic";
constexpr const char* kSectionUnstored = nullptr;  // a field another row's keys hold (FontColor: the font's Color)
constexpr int32_t kFirstRunProbe = -101;
// Largest period in minutes whose milliseconds still fit a 32-bit timer interval.
constexpr int32_t kMaxFreeEveryMinutes = 0x7FFFFFFF / 60000;
constexpr int32_t kMaxTopProcessCount = 100;

// How each kind of setting reads (the value already in the record is the default) and writes.
void ReadSetting(SettingKinds::Flag, IProfile& profile, const char* section, const char* key, bool& value) {
    value = ReadBool(profile, section, key, value);
}
bool WriteSetting(SettingKinds::Flag, IProfile& profile, const char* section, const char* key, bool value) {
    return WriteBool(profile, section, key, value);
}

void ReadSetting(SettingKinds::Number, IProfile& profile, const char* section, const char* key, int32_t& value) {
    value = ReadInteger(profile, section, key, value);
}
bool WriteSetting(SettingKinds::Number, IProfile& profile, const char* section, const char* key, int32_t value) {
    return WriteInteger(profile, section, key, value);
}

void ReadSetting(SettingKinds::Color, IProfile& profile, const char* section, const char* key, ColorValue& value) {
    if (section)
        value = ReadColorSetting(profile, key);
}
bool WriteSetting(SettingKinds::Color, IProfile& profile, const char* section, const char* key, ColorValue value) {
    return !section || profile.WriteString(section, key, value == kAutomaticColor ? kAutomatic : ColorToText(value));
}

// The Font section's five keys; the display font as it stood before loading supplies the defaults.
void ReadSetting(SettingKinds::Font, IProfile& profile, const char* section, const char*, FontSpec& font) {
    font.Name = profile.ReadString(section, "Name", font.Name);
    font.CharSet = ReadInteger(profile, section, "CharSet", font.CharSet);
    font.Color = ReadInteger(profile, section, "Color", font.Color);
    font.Size = ReadInteger(profile, section, "Size", font.Size);
    font.Style = ReadInteger(profile, section, "Style", font.Style);
}
bool WriteSetting(SettingKinds::Font, IProfile& profile, const char* section, const char*, const FontSpec& font) {
    return profile.WriteString(section, "Name", font.Name) && WriteInteger(profile, section, "CharSet", font.CharSet) &&
           WriteInteger(profile, section, "Color", font.Color) && WriteInteger(profile, section, "Size", font.Size) &&
           WriteInteger(profile, section, "Style", font.Style);
}

// A language the program does not speak reads as the default.
void ReadSetting(SettingKinds::LanguageTag,
                 IProfile& profile,
                 const char* section,
                 const char* key,
                 std::string& language) {
    language = LanguageSetting(LanguageFromSetting(profile.ReadString(section, key, language)));
}
bool WriteSetting(SettingKinds::LanguageTag,
                  IProfile& profile,
                  const char* section,
                  const char* key,
                  const std::string& language) {
    return profile.WriteString(section, key, language);
}

// Whether the file has the keys a save of this kind of setting writes.
template <typename Kind>
bool HasKeys(Kind, IProfile& profile, const char* section, const char* key) {
    constexpr char kMissing[] = "\x01";
    if (!section)
        return true;
    if constexpr (std::is_same_v<Kind, SettingKinds::Font>) {
        for (const char* fontKey : {"Name", "CharSet", "Color", "Size", "Style"}) {
            if (profile.ReadString(section, fontKey, kMissing) == kMissing)
                return false;
        }
        return true;
    } else {
        return profile.ReadString(section, key, kMissing) != kMissing;
    }
}

// A hand-edited file must not make a timer fire continuously, overflow its interval, ask for more process rows
// than the menu offers or set a percentage outside 0-100; every other value loads as written.
void KeepTimersSafe(Settings& s) {
    const Settings defaults;
    if (s.RefreshRate <= 0)
        s.RefreshRate = defaults.RefreshRate;
    if (s.FreeEveryMinutes <= 0)
        s.FreeEveryMinutes = defaults.FreeEveryMinutes;
    if (s.FreeEveryMinutes > kMaxFreeEveryMinutes)
        s.FreeEveryMinutes = kMaxFreeEveryMinutes;
    if (s.TopProcessCount > kMaxTopProcessCount)
        s.TopProcessCount = kMaxTopProcessCount;
    // Percentages outside their range would warn on every tick or name every process: they read as the default.
    if (s.CommitRedPercent < 0 || s.CommitRedPercent > 100)
        s.CommitRedPercent = defaults.CommitRedPercent;
    if (s.HistoryGrowthShare < 1 || s.HistoryGrowthShare > 100)
        s.HistoryGrowthShare = defaults.HistoryGrowthShare;
}
}  // namespace

ColorValue ReadColorSetting(IProfile& profile, const std::string& key) {
    std::string text = profile.ReadString(kSectionColors, key, kAutomatic);
    if (text.empty() || text == kAutomatic)
        return kAutomaticColor;
    return TextToColor(text);
}

void ApplyFontColor(Settings& settings) {
    settings.Font.Color = settings.FontColor == kAutomaticColor ? AutomaticColors::kFont : settings.FontColor;
}

LoadedSettings LoadSettings(IProfile& profile, const FontSpec& currentFont) {
    LoadedSettings result;
    Settings& s = result.Values;
    s = Settings{};
    s.Font = currentFont;
    result.FirstRun = ReadInteger(profile, kSectionGeneral, "ShowPercentage", kFirstRunProbe) == kFirstRunProbe;
    result.EveryKey = true;
#define LUMIVEX_READ_SETTING(field, kind, defaultValue, section, key, ...)       \
    ReadSetting(SettingKinds::kind{}, profile, kSection##section, key, s.field); \
    result.EveryKey = result.EveryKey && HasKeys(SettingKinds::kind{}, profile, kSection##section, key);
    LUMIVEX_SETTINGS(LUMIVEX_READ_SETTING)
#undef LUMIVEX_READ_SETTING
    s.FontColor = s.Font.Color;
    ApplyFontColor(s);
    KeepTimersSafe(s);
    return result;
}

// In the rows' order, which is the file's: General keys, the font, the two thresholds, the colours, and the language
// last, added after the keys older files have so that their order stays as it was.
bool SaveSettings(IProfile& profile, const Settings& s) {
#define LUMIVEX_WRITE_SETTING(field, kind, defaultValue, section, key, ...)            \
    if (!WriteSetting(SettingKinds::kind{}, profile, kSection##section, key, s.field)) \
        return false;
    LUMIVEX_SETTINGS(LUMIVEX_WRITE_SETTING)
#undef LUMIVEX_WRITE_SETTING
    return profile.Commit();
}
