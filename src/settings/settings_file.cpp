#include "settings/settings_file.h"

#include <variant>

#include "platform/texts.h"
#include "settings/color_text.h"

namespace {
using Field = std::variant<bool Settings::*, int32_t Settings::*>;
struct Key {
    const char* Name;
    Field Member;
};

// "General" keys from "Warn" to "FollowTaskbarTheme", in the order they are written.
const Key kGeneralKeys[] = {
    {"Warn", &Settings::Warn},
    {"WarnMsgBox", &Settings::WarnMsgBox},
    {"HighlightProcessAbove", &Settings::HighlightProcessAbove},
    {"ShowNameInsteadOfModule", &Settings::ShowNameInsteadOfModule},
    {"ShowPage", &Settings::ShowPage},
    {"ShowFree", &Settings::ShowFree},
    {"NoBorder", &Settings::NoBorder},
    {"ShowPercentage", &Settings::ShowPercentage},
    {"ShowPercSign", &Settings::ShowPercSign},
    {"InternalFont", &Settings::InternalFont},
    {"HintWhatisDisplayed", &Settings::HintWhatIsDisplayed},
    {"StandardGauge", &Settings::StandardGauge},
    {"BarBottom", &Settings::BarBottom},
    {"TransBk", &Settings::TransBk},
    {"MiniInternalFont", &Settings::MiniInternalFont},
    {"RefreshRate", &Settings::RefreshRate},
    {"FullBar", &Settings::FullBar},
    {"RefreshHotkey", &Settings::FreeMemoryHotKey},
    {"ShowTopProcess", &Settings::ShowTopProcess},
    {"TopProcessCount", &Settings::TopProcessCount},
    {"ShowMemMenu", &Settings::ShowMemMenu},
    {"OptimizeForGigabytes", &Settings::OptimizeForGigabytes},
    {"DefragOnHighMemory", &Settings::FreeOnHighMemory},
    {"DefragEveryActive", &Settings::FreeEveryActive},
    {"DefragEvery", &Settings::FreeEveryMinutes},
    {"DoubleClickAction", &Settings::DoubleClickAction},
    {"SwitchOffMonitorOnLock", &Settings::SwitchOffMonitorOnLock},
    {"ClickedDonation", &Settings::ClickedDonation},
    {"NoWarningSwithOffMonMobile", &Settings::NoMonitorOffWarningOnPortable},
    {"FollowTaskbarTheme", &Settings::FollowTaskbarTheme},
};

// Written after the font, as older files have them.
const Key kPercentKeys[] = {
    {"RedPercent", &Settings::RedPercent},
    {"YellowPercent", &Settings::YellowPercent},
};

struct ColorKey {
    const char* Name;
    ColorValue Settings::*Member;
};
const ColorKey kColorKeys[] = {
    {"ProcMenuHightlightColor", &Settings::ProcessHighlightColor},
    {"OpaqueBkColor", &Settings::OpaqueBkColor},
    {"BarBorderColor", &Settings::BarBorderColor},
    {"GreenColor", &Settings::GreenColor},
    {"YellowColor", &Settings::YellowColor},
    {"RedColor", &Settings::RedColor},
    {"FullBarColor", &Settings::FullBarColor},
};

constexpr char kAutomatic[] = "Automatic";
constexpr char kLanguageKey[] = "Language";
constexpr int32_t kFirstRunProbe = -101;
// Largest period in minutes whose milliseconds still fit a 32-bit timer interval.
constexpr int32_t kMaxDefragMinutes = 0x7FFFFFFF / 60000;
constexpr int32_t kMaxTopProcessCount = 100;

void ReadKey(IProfile& profile, const char* section, const Key& key, Settings& s) {
    if (auto flag = std::get_if<bool Settings::*>(&key.Member)) {
        s.** flag = ReadBool(profile, section, key.Name, s.**flag);
    } else {
        auto number = std::get<int32_t Settings::*>(key.Member);
        s.*number = ReadInteger(profile, section, key.Name, s.*number);
    }
}

bool WriteKey(IProfile& profile, const char* section, const Key& key, const Settings& s) {
    if (auto flag = std::get_if<bool Settings::*>(&key.Member))
        return WriteBool(profile, section, key.Name, s.**flag);
    return WriteInteger(profile, section, key.Name, s.*std::get<int32_t Settings::*>(key.Member));
}

// A hand-edited file must not make a timer fire continuously, overflow its interval or ask for more process rows
// than the menu offers; every other value loads as written.
void KeepTimersSafe(Settings& s) {
    const Settings defaults;
    if (s.RefreshRate <= 0)
        s.RefreshRate = defaults.RefreshRate;
    if (s.FreeEveryMinutes <= 0)
        s.FreeEveryMinutes = defaults.FreeEveryMinutes;
    if (s.FreeEveryMinutes > kMaxDefragMinutes)
        s.FreeEveryMinutes = kMaxDefragMinutes;
    if (s.TopProcessCount > kMaxTopProcessCount)
        s.TopProcessCount = kMaxTopProcessCount;
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

    for (const Key& key : kGeneralKeys)
        ReadKey(profile, kSectionGeneral, key, s);
    for (const Key& key : kPercentKeys)
        ReadKey(profile, kSectionGeneral, key, s);
    // A language the program does not speak reads as the default.
    s.Language = LanguageSetting(LanguageFromSetting(profile.ReadString(kSectionGeneral, kLanguageKey, s.Language)));
    for (const ColorKey& key : kColorKeys)
        s.*key.Member = ReadColorSetting(profile, key.Name);

    s.Font.Name = profile.ReadString(kSectionFont, "Name", currentFont.Name);
    s.Font.CharSet = ReadInteger(profile, kSectionFont, "CharSet", currentFont.CharSet);
    s.Font.Color = ReadInteger(profile, kSectionFont, "Color", currentFont.Color);
    s.Font.Size = ReadInteger(profile, kSectionFont, "Size", currentFont.Size);
    s.Font.Style = ReadInteger(profile, kSectionFont, "Style", currentFont.Style);
    s.FontColor = s.Font.Color;
    ApplyFontColor(s);

    KeepTimersSafe(s);
    return result;
}

bool SaveSettings(IProfile& profile, const Settings& s) {
    for (const Key& key : kGeneralKeys) {
        if (!WriteKey(profile, kSectionGeneral, key, s))
            return false;
    }
    if (!profile.WriteString(kSectionFont, "Name", s.Font.Name) ||
        !WriteInteger(profile, kSectionFont, "CharSet", s.Font.CharSet) ||
        !WriteInteger(profile, kSectionFont, "Color", s.Font.Color) ||
        !WriteInteger(profile, kSectionFont, "Size", s.Font.Size) ||
        !WriteInteger(profile, kSectionFont, "Style", s.Font.Style)) {
        return false;
    }
    for (const Key& key : kPercentKeys) {
        if (!WriteKey(profile, kSectionGeneral, key, s))
            return false;
    }
    for (const ColorKey& key : kColorKeys) {
        ColorValue c = s.*key.Member;
        if (!profile.WriteString(kSectionColors, key.Name, c == kAutomaticColor ? kAutomatic : ColorToText(c))) {
            return false;
        }
    }
    // Added after the keys older files have, so that their order stays as it was.
    if (!profile.WriteString(kSectionGeneral, kLanguageKey, s.Language))
        return false;
    return profile.Commit();
}
