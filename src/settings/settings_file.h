#pragma once

#include <string>

#include "settings/profile.h"
#include "settings/settings.h"

inline constexpr char kSettingsFileName[] = "Lumivex.Settings";
inline constexpr char kSectionGeneral[] = "General";
inline constexpr char kSectionFont[] = "Font";
inline constexpr char kSectionColors[] = "Colors";
inline constexpr char kSectionCustomColors[] = "自定义颜色";

struct LoadedSettings {
    Settings Values;
    bool FirstRun = false;  // "General" "ShowPercentage" missing or not a number
    bool EveryKey = false;  // the file has every key a save writes
};

// Fills the record from the profile; every missing or unreadable value takes its default. currentFont is the
// display font as it stands before loading and supplies the "Font" defaults.
LoadedSettings LoadSettings(IProfile& profile, const FontSpec& currentFont);

// Writes every key in the file's order, then commits them in one step; false when a key or the commit failed.
bool SaveSettings(IProfile& profile, const Settings& settings);

// A "Colors" key: empty or "Automatic" is automatic (-1), anything else is colour text.
ColorValue ReadColorSetting(IProfile& profile, const std::string& key);

// The display font takes FontColor, black while it is automatic.
void ApplyFontColor(Settings& settings);
