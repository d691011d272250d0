#include "settings/settings_file.h"

#include <variant>

#include "platform/texts.h"
#include "settings/color_text.h"

namespace {
using Field = std::variant<bool TSettings::*, int32_t TSettings::*>;
struct Key {
    const char* Name;
    Field Member;
};

// "General" keys from "Warn" to "FollowTaskbarTheme", in the order they are written.
const Key kGeneralKeys[] = {
    {"Warn", &TSettings::Warn},
    {"WarnMsgBox", &TSettings::WarnMsgBox},
    {"HighlightProcessAbove", &TSettings::HighlightProcessAbove},
    {"ShowNameInsteadOfModule", &TSettings::ShowNameInsteadOfModule},
    {"ShowPage", &TSettings::ShowPage},
    {"ShowFree", &TSettings::ShowFree},
    {"NoBorder", &TSettings::NoBorder},
    {"ShowPercentage", &TSettings::ShowPercentage},
    {"ShowPercSign", &TSettings::ShowPercSign},
    {"InternalFont", &TSettings::InternalFont},
    {"HintWhatisDisplayed", &TSettings::HintWhatisDisplayed},
    {"StandardGauge", &TSettings::StandardGauge},
    {"BarBottom", &TSettings::BarBottom},
    {"TransBk", &TSettings::TransBk},
    {"MiniInternalFont", &TSettings::MiniInternalFont},
    {"RefreshRate", &TSettings::RefreshRate},
    {"FullBar", &TSettings::FullBar},
    {"RefreshHotkey", &TSettings::RefreshHotkey},
    {"ShowTopProcess", &TSettings::ShowTopProcess},
    {"TopProcessCount", &TSettings::TopProcessCount},
    {"ShowMemMenu", &TSettings::ShowMemMenu},
    {"OptimizeForGigabytes", &TSettings::OptimizeForGigabytes},
    {"DefragOnHighMemory", &TSettings::DefragOnHighMemory},
    {"DefragEveryActive", &TSettings::DefragEveryActive},
    {"DefragEvery", &TSettings::DefragEvery},
    {"DoubleClickAction", &TSettings::DoubleClickAction},
    {"SwitchOffMonitorOnLock", &TSettings::SwitchOffMonitorOnLock},
    {"ClickedDonation", &TSettings::ClickedDonation},
    {"NoWarningSwithOffMonMobile", &TSettings::NoWarningSwithOffMonMobile},
    {"FollowTaskbarTheme", &TSettings::FollowTaskbarTheme},
};

// Written after the font, as older files have them.
const Key kPercentKeys[] = {
    {"RedPercent", &TSettings::RedPercent},
    {"YellowPercent", &TSettings::YellowPercent},
};

struct ColorKey {
    const char* Name;
    TColor TSettings::*Member;
};
const ColorKey kColorKeys[] = {
    {"ProcMenuHightlightColor", &TSettings::ProcMenuHightlightColor},
    {"OpaqueBkColor", &TSettings::OpaqueBkColor},
    {"BarBorderColor", &TSettings::BarBorderColor},
    {"GreenColor", &TSettings::GreenColor},
    {"YellowColor", &TSettings::YellowColor},
    {"RedColor", &TSettings::RedColor},
    {"FullBarColor", &TSettings::FullBarColor},
};

constexpr char kAutomatic[] = "Automatic";
constexpr char kLanguageKey[] = "Language";
constexpr int32_t kFirstRunProbe = -101;
// Largest period in minutes whose milliseconds still fit a 32-bit timer interval.
constexpr int32_t kMaxDefragMinutes = 0x7FFFFFFF / 60000;
constexpr int32_t kMaxTopProcessCount = 100;

void ReadKey(IProfile& profile, const char* section, const Key& key, TSettings& s) {
    if (auto flag = std::get_if<bool TSettings::*>(&key.Member)) {
        s.** flag = ReadBool(profile, section, key.Name, s.**flag);
    } else {
        auto number = std::get<int32_t TSettings::*>(key.Member);
        s.*number = ReadInteger(profile, section, key.Name, s.*number);
    }
}

bool WriteKey(IProfile& profile, const char* section, const Key& key, const TSettings& s) {
    if (auto flag = std::get_if<bool TSettings::*>(&key.Member))
        return WriteBool(profile, section, key.Name, s.**flag);
    return WriteInteger(profile, section, key.Name, s.*std::get<int32_t TSettings::*>(key.Member));
}

// A hand-edited file must not make a timer fire continuously, overflow its interval or ask for more process rows
// than the menu offers; every other value loads as written.
void KeepTimersSafe(TSettings& s) {
    const TSettings defaults;
    if (s.RefreshRate <= 0)
        s.RefreshRate = defaults.RefreshRate;
    if (s.DefragEvery <= 0)
        s.DefragEvery = defaults.DefragEvery;
    if (s.DefragEvery > kMaxDefragMinutes)
        s.DefragEvery = kMaxDefragMinutes;
    if (s.TopProcessCount > kMaxTopProcessCount)
        s.TopProcessCount = kMaxTopProcessCount;
}
}  // namespace

TSettings DefaultSettings(bool isVistaOrLater) {
    TSettings s;
    s.ShowPage = !isVistaOrLater;
    return s;
}

TColor ReadColorSetting(IProfile& profile, const std::string& key) {
    std::string text = profile.ReadString(kSectionColors, key, kAutomatic);
    if (text.empty() || text == kAutomatic)
        return kAutomaticColor;
    return TextToColor(text);
}

void ApplyFontColor(TSettings& settings) {
    settings.Font.Color = settings.FontColor == kAutomaticColor ? AutomaticColors::Font : settings.FontColor;
}

LoadedSettings LoadSettings(IProfile& profile, bool isVistaOrLater, const FontSpec& currentFont) {
    LoadedSettings result;
    TSettings& s = result.Settings;
    s = DefaultSettings(isVistaOrLater);
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

bool SaveSettings(IProfile& profile, const TSettings& s) {
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
        TColor c = s.*key.Member;
        if (!profile.WriteString(kSectionColors, key.Name, c == kAutomaticColor ? kAutomatic : ColorToText(c))) {
            return false;
        }
    }
    // Added after the keys older files have, so that their order stays as it was.
    if (!profile.WriteString(kSectionGeneral, kLanguageKey, s.Language))
        return false;
    return profile.Commit();
}
